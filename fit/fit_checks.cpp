#include "fit/fit_checks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "fit/eos_fit.h"

namespace quorvane::fit {
namespace {

std::string PointText(std::size_t index) {
  return "point " + std::to_string(index + 1);
}

std::string NumberText(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x > 0.0 ? "inf" : "-inf";
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, x);
  return std::string(text, written.ptr);
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

// V0 and K0 share the floor; a negative K0 means the volume grows with pressure.
std::string BelowFloor(const char* name, double value) {
  const std::string text = std::string(name) + " = " + NumberText(value);
  if (value < 0.0) return text + " is negative";
  return text + " is below the floor " + NumberText(engine::kParameterFloor);
}

}  // namespace

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

void CheckTemperatures(const FitData& data, double Tref) {
  if (!InTemperatureRange(Tref))
    throw FitError("T(ref) = " + NumberText(Tref) + TemperatureRange());
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const double T = data.points[i].T;
    if (!InTemperatureRange(T)) {
      throw FitError(PointText(i) + ": T = " + NumberText(T) + TemperatureRange());
    }
  }
}

void CheckRefined(const engine::EosParameters& p, const std::vector<RefinedParameter>& refined,
                  std::size_t points) {
  if (refined.empty()) throw FitError("no parameter to refine");
  for (std::size_t i = 0; i < refined.size(); ++i) {
    const RefinedParameter parameter = refined[i];
    if (std::find(refined.begin(), refined.begin() + static_cast<long>(i), parameter) !=
        refined.begin() + static_cast<long>(i)) {
      throw FitError(std::string(ParameterSymbol(parameter)) + " is named twice");
    }
    if (!IsFree(p, parameter)) {
      throw FitError(std::string(ParameterSymbol(parameter)) + " is implied by " + EosName(p.type) +
                     " at order " + std::to_string(p.order) + " and cannot be refined");
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
    return "no standard deviation (give sigP, or sigV and sigT, for every point)";
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

std::string DomainProblem(const engine::EosParameters& p) {
  for (RefinedParameter parameter : kAllParameters) {
    if (!std::isfinite(ParameterValue(p, parameter))) {
      return std::string(ParameterSymbol(parameter)) + " is not a finite number";
    }
  }
  if (p.K0 < 0.0) return BelowFloor("K0", p.K0) + " (the volume grows with pressure)";
  if (p.V0 < engine::kParameterFloor) return BelowFloor("V0", p.V0);
  if (p.K0 < engine::kParameterFloor) return BelowFloor("K0", p.K0);
  if (std::fabs(p.Kp0) < engine::kParameterFloor) {
    return "|K'0| = " + NumberText(std::fabs(p.Kp0)) + " is below the floor " +
           NumberText(engine::kParameterFloor);
  }
  return "";
}

}  // namespace quorvane::fit
