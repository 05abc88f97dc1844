#include "fit/axial_parameters.h"

#include <cmath>

namespace quorvane::fit {
namespace {

using models::Parameter;

// How a parameter of the cubed axis becomes the axis' own: scaled by factor,
// or, for L0, the cube root of V0.
struct AxialMapping {
  Parameter parameter;
  const char* name;
  const char* symbol;
  double factor;
  // Shown whether refined or not.
  bool always;
};

constexpr double kModulusFactor = 3.0;
constexpr double kExpansionFactor = 1.0 / 3.0;

constexpr AxialMapping kMappings[] = {
    {Parameter::V0, "L0", "L0", 0.0, true},
    {Parameter::K0, "M0", "M0", kModulusFactor, true},
    {Parameter::Kp0, "Mp0", "M'0", kModulusFactor, true},
    {Parameter::Kpp0, "Mpp0", "M''0", kModulusFactor, false},
    {Parameter::alpha0, "alpha0", "alpha0", kExpansionFactor, false},
    {Parameter::alpha1, "alpha1", "alpha1", kExpansionFactor, false},
    {Parameter::alpha2, "alpha2", "alpha2", kExpansionFactor, false},
    {Parameter::dKdT, "dMdT", "dM/dT", kModulusFactor, false},
};

// The esd of the refined parameter, or 0 for one held fixed.
double EsdOf(const FitResult& result, Parameter parameter, bool& refined) {
  for (std::size_t i = 0; i < result.refined.size(); ++i) {
    if (result.refined[i] != parameter) continue;
    refined = true;
    return result.esdReported[i];
  }
  refined = false;
  return 0.0;
}

}  // namespace

AxialParameters AxialFromCubed(const std::string& axis, const FitResult& result) {
  AxialParameters axial{axis, {}};
  for (const AxialMapping& mapping : kMappings) {
    bool refined = false;
    const double esd = EsdOf(result, mapping.parameter, refined);
    if (!mapping.always && !refined) continue;
    const double value = result.model[mapping.parameter];
    if (mapping.parameter == Parameter::V0) {
      const double L0 = std::cbrt(value);
      axial.values.push_back({mapping.name, mapping.symbol, L0, esd * L0 / (3.0 * value), refined});
      continue;
    }
    axial.values.push_back(
        {mapping.name, mapping.symbol, mapping.factor * value, mapping.factor * esd, refined});
  }
  return axial;
}

Observation CubedAxisPoint(double P, double L, double T, double sigP, double sigL, double sigT) {
  return {P, L * L * L, T, sigP, 3.0 * L * L * sigL, sigT};
}

bool CubeLost(const Observation& cubed, double sigL) {
  return !std::isfinite(cubed.V) || !(cubed.V > 0.0) || !std::isfinite(cubed.sigV) ||
         (sigL > 0.0 && !(cubed.sigV > 0.0));
}

}  // namespace quorvane::fit
