#include "fit/fit_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/eos_parameters.h"
#include "fit/eos_fit.h"
#include "models/model_catalogue.h"
#include "numtext/double_text.h"

namespace quorvane::fit {
namespace {

using models::Info;
using models::Parameter;
using models::Role;

std::string PointText(std::size_t index) {
  return "point " + std::to_string(index + 1);
}

std::string NumberText(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x > 0.0 ? "inf" : "-inf";
  return numtext::ShortestText(x);
}

std::string Rounded(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", x);
  return text;
}

std::string Plural(std::size_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

bool InTemperatureRange(double T) {
  return std::fabs(T) < kLargestTemperature;
}

std::string TemperatureRange() {
  return " is out of range: the thermal model squares temperatures, which must stay below " +
         NumberText(kLargestTemperature) + " in magnitude";
}

std::string NotAboveZero(const models::Model& model) {
  return std::string(" must be above zero for the ") + Info(model.thermal).name + " thermal model";
}

std::string Symbol(Parameter parameter) {
  return Info(parameter).symbol;
}

// V0 and K0 share the floor; a negative K0 means the volume grows with pressure.
std::string BelowFloor(const char* name, double value) {
  const std::string text = std::string(name) + " = " + NumberText(value);
  if (value < 0.0) return text + " is negative";
  return text + " is below the floor " + NumberText(engine::kParameterFloor);
}

}  // namespace

void CheckModel(const models::Model& model) {
  const std::string problem = models::ValidationError(model);
  if (!problem.empty()) throw FitError(problem);
}

void CheckPoints(const FitData& data) {
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const Observation& point = data.points[i];
    if (!std::isfinite(point.P) || !std::isfinite(point.V) || !std::isfinite(point.T)) {
      throw FitError(PointText(i) + ": P, V and T must be finite numbers");
    }
    if (!(point.V > 0.0)) throw FitError(PointText(i) + ": V must be greater than zero");
    for (double sigma : {point.sigP, point.sigV, point.sigT}) {
      if (!(sigma >= 0.0) || !std::isfinite(sigma)) {
        throw FitError(PointText(i) + ": standard deviations must be finite and positive");
      }
    }
  }
}

void CheckTemperatures(const FitData& data, const models::Model& model) {
  const double Tref = model[Parameter::Tref];
  if (!InTemperatureRange(Tref))
    throw FitError("T(ref) = " + NumberText(Tref) + TemperatureRange());
  if (models::NeedsPositiveTemperature(model) && !(Tref > 0.0))
    throw FitError("T(ref) = " + NumberText(Tref) + NotAboveZero(model));
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const double T = data.points[i].T;
    if (!InTemperatureRange(T)) {
      throw FitError(PointText(i) + ": T = " + NumberText(T) + TemperatureRange());
    }
    const std::string problem = models::TemperatureError(model, T);
    if (!problem.empty()) throw FitError(PointText(i) + ": " + problem);
  }
}

void CheckRefined(const models::Model& model, const std::vector<Parameter>& refined,
                  std::size_t points) {
  if (refined.empty()) throw FitError("no parameter to refine");
  for (auto it = refined.begin(); it != refined.end(); ++it) {
    const std::string symbol = Symbol(*it);
    if (std::find(refined.begin(), it, *it) != it) throw FitError(symbol + " is named twice");
    if (*it == Parameter::Tref) {
      throw FitError(symbol +
                     " is the temperature the other parameters refer to and cannot be "
                     "refined");
    }
    const Role role = models::ListedRole(model, *it);
    if (role == Role::Implied) {
      throw FitError(symbol + " is implied by " + Info(model.equation).name + " at order " +
                     std::to_string(model.order) + " and cannot be refined");
    }
    if (role == Role::Unused) {
      throw FitError(symbol + " is not a parameter of " + Info(model.equation).name + " with the " +
                     Info(model.thermal).name + " thermal model");
    }
  }
  if (points < refined.size()) {
    throw FitError(std::to_string(points) + " data points cannot determine " +
                   std::to_string(refined.size()) + " refined parameters");
  }
}

void CheckStates(const FitData& data, std::size_t refined) {
  std::vector<std::pair<double, double>> states;
  for (const Observation& point : data.points) states.emplace_back(point.P, point.T);
  std::sort(states.begin(), states.end());
  const std::size_t distinct =
      static_cast<std::size_t>(std::unique(states.begin(), states.end()) - states.begin());
  if (distinct >= refined) return;
  const std::string state =
      IsIsothermal(data) ? "distinct pressure" : "distinct pressure and temperature";
  throw FitError(std::to_string(data.points.size()) + " data points at " + Plural(distinct, state) +
                 " cannot determine " + std::to_string(refined) + " refined parameters");
}

std::string SigmaProblem(const Observation& point, double sigma) {
  if (sigma >= kSmallestSigma && sigma <= kLargestSigma) return "";
  if (point.sigP == 0.0 && point.sigV == 0.0 && point.sigT == 0.0) {
    return "its effective standard deviation is zero: sigP, sigV and sigT give it none";
  }
  if (std::isnan(sigma)) {
    return "the starting values give no finite K_T or dP/dT for the effective standard deviation";
  }
  const bool small = sigma < kSmallestSigma;
  std::string given;
  for (const auto& [name, value] :
       {std::pair{"sigP", point.sigP}, {"sigV", point.sigV}, {"sigT", point.sigT}}) {
    if (value > 0.0)
      given += (given.empty() ? "" : ", ") + std::string(name) + " = " + Rounded(value);
  }
  return "its standard deviations (" + given + ") are too " + (small ? "small" : "large") +
         " to weight by: the square of the effective one " + (small ? "underflows" : "overflows") +
         " (keep it between " + NumberText(kSmallestSigma) + " and " + NumberText(kLargestSigma) +
         ")";
}

std::string DomainProblem(const models::Model& model) {
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (models::ListedRole(model, parameter) == Role::Unused) continue;
    if (!std::isfinite(model[parameter])) return Symbol(parameter) + " is not a finite number";
  }
  const double V0 = model[Parameter::V0], K0 = model[Parameter::K0];
  if (K0 < 0.0) return BelowFloor("K0", K0) + " (the volume grows with pressure)";
  if (V0 < engine::kParameterFloor) return BelowFloor("V0", V0);
  if (K0 < engine::kParameterFloor) return BelowFloor("K0", K0);
  const double Kp0 = std::fabs(model[Parameter::Kp0]);
  if (Kp0 < engine::kParameterFloor) {
    return "|K'0| = " + NumberText(Kp0) + " is below the floor " +
           NumberText(engine::kParameterFloor);
  }
  return models::ValidationError(model);
}

}  // namespace quorvane::fit
