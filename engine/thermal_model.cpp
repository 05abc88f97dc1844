#include "engine/thermal_model.h"

#include <cmath>

namespace quorvane::engine {
namespace {

// alpha0 is typed in units of 1e-5 and alpha1 in units of 1e-8.
double LinearExpansion(const EosParameters& p) {
  return p.alpha0 / 100000.0;
}
double QuadraticExpansion(const EosParameters& p) {
  return p.alpha1 / 10000.0 / 10000.0;
}

// 1e-5 held in single precision, compared with alpha1 as typed.
constexpr double kLinearBranchLimit = 9.999999747378752e-06;

}  // namespace

double ThermalBulkModulus(const EosParameters& parameters, double T) {
  return parameters.K0 + parameters.dKdT * (T - parameters.Tref);
}

double ZeroPressureVolume(const EosParameters& parameters, double T) {
  const double a0 = LinearExpansion(parameters);
  const double a1 = QuadraticExpansion(parameters);
  const double Tref = parameters.Tref;
  return parameters.V0 * std::exp(a0 * (T - Tref) + 0.5 * a1 * (T * T - Tref * Tref));
}

double TemperatureFromZeroPressureVolume(const EosParameters& parameters, double VT0) {
  const double a0 = LinearExpansion(parameters);
  const double a1 = QuadraticExpansion(parameters);
  const double Tref = parameters.Tref;
  const double lnRatio = std::log(VT0 / parameters.V0);
  if (std::fabs(parameters.alpha1) < kLinearBranchLimit) return lnRatio / a0 + Tref;

  const double c = a0 * Tref + 0.5 * a1 * (Tref * Tref);
  const double Q = lnRatio + c;
  double disc = a0 * a0 + 2.0 * a1 * Q;
  // Beyond the extremum of V(T,0) take the temperature of the extremum itself.
  if (disc < 0.0) disc = 0.0;
  return (std::sqrt(disc) - a0) / a1;
}

}  // namespace quorvane::engine
