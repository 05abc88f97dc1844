#include "fit/fit_constraints.h"

#include <algorithm>
#include <cmath>

#include "fit/eos_fit.h"
#include "models/model_catalogue.h"
#include "numtext/double_text.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

// A start moved inside its limits lands this fraction of the range inside:
// on the limit itself the bounded solver could not move it.
constexpr double kStartInside = 0.01;

std::string Symbol(Parameter parameter) {
  return models::Info(parameter).symbol;
}

std::string Number(double x) {
  if (!std::isfinite(x)) return std::isnan(x) ? "nan" : (x > 0 ? "inf" : "-inf");
  return numtext::ShortestText(x);
}

bool Contains(const std::vector<Parameter>& list, Parameter parameter) {
  return std::find(list.begin(), list.end(), parameter) != list.end();
}

template <typename Constraint>
void CheckNamed(const std::vector<Constraint>& constraints, const std::vector<Parameter>& refined,
                const std::string& kind) {
  for (auto it = constraints.begin(); it != constraints.end(); ++it) {
    const std::string what = kind + " on " + Symbol(it->parameter);
    if (!Contains(refined, it->parameter)) throw FitError(what + ": it is not refined");
    const bool twice = std::any_of(constraints.begin(), it, [&](const Constraint& other) {
      return other.parameter == it->parameter;
    });
    if (twice) throw FitError(what + ": given twice");
  }
}

}  // namespace

const char* EsdScalingName(EsdScaling scaling) {
  switch (scaling) {
    case EsdScaling::Always:
      return "always";
    case EsdScaling::Never:
      return "never";
    default:
      return "auto";
  }
}

std::optional<EsdScaling> EsdScalingFromName(const std::string& name) {
  for (EsdScaling scaling : {EsdScaling::Auto, EsdScaling::Always, EsdScaling::Never}) {
    if (name == EsdScalingName(scaling)) return scaling;
  }
  return std::nullopt;
}

void CheckConstraints(const std::vector<Prior>& priors, const std::vector<Bound>& bounds,
                      const std::vector<Parameter>& refined) {
  CheckNamed(priors, refined, "the constraint");
  CheckNamed(bounds, refined, "the bounds");
  for (const Prior& prior : priors) {
    const std::string what = "the constraint on " + Symbol(prior.parameter);
    if (!std::isfinite(prior.mean)) throw FitError(what + ": the value is not a finite number");
    if (!(prior.sigma > 0.0) || !std::isfinite(prior.sigma)) {
      throw FitError(what + ": sigma = " + Number(prior.sigma) +
                     " must be a finite number above zero");
    }
  }
  for (const Bound& bound : bounds) {
    const std::string what = "the bounds on " + Symbol(bound.parameter);
    if (!std::isfinite(bound.lower) || !std::isfinite(bound.upper)) {
      throw FitError(what + ": the limits must be finite numbers");
    }
    if (!(bound.lower < bound.upper)) {
      throw FitError(what + ": the lower limit " + Number(bound.lower) +
                     " is not below the upper " + Number(bound.upper));
    }
    // The fit maps the range onto a sine; a range wider than the largest
    // double has no such map.
    if (!std::isfinite(bound.upper - bound.lower)) {
      throw FitError(what + ": the limits " + Number(bound.lower) + " and " + Number(bound.upper) +
                     " are farther apart than a double holds");
    }
  }
}

void PlaceStartWithinBounds(const std::vector<Bound>& bounds, const std::vector<Parameter>& given,
                            models::Model& start) {
  for (const Bound& bound : bounds) {
    double& value = start[bound.parameter];
    if (value > bound.lower && value < bound.upper) continue;
    if (Contains(given, bound.parameter)) {
      throw FitError("the start " + Symbol(bound.parameter) + " = " + Number(value) +
                     " is not inside its bounds " + BoundText(bound));
    }
    const double inside = kStartInside * (bound.upper - bound.lower);
    value = value <= bound.lower ? bound.lower + inside : bound.upper - inside;
  }
}

std::string PriorText(const Prior& prior) {
  return Symbol(prior.parameter) + " ~ " + Number(prior.mean) + " +- " + Number(prior.sigma);
}

std::string BoundText(const Bound& bound) {
  return Number(bound.lower) + " <= " + Symbol(bound.parameter) + " <= " + Number(bound.upper);
}

}  // namespace quorvane::fit
