#include "engine/volume_solver.h"

#include <cmath>
#include <limits>

#include "engine/isothermal_curve.h"

namespace quorvane::engine {
namespace {

// Single-precision roundings of 0.95, 0.01 and 1e-5.
constexpr double kStartFactor = 0.949999988079071;
constexpr double kStepFactor = 0.009999999776482582;
constexpr double kRelativeTolerance = 9.999999747378752e-06;
constexpr std::int32_t kIterationCap = 10000;

// The closed-form inverse. A base below zero has no real power; pow would
// still return a finite (even negative) volume when -1/K' is a whole number.
VolumeSolution SolveMurnaghan(const EosParameters& parameters, double P, double T) {
  const IsothermalCurve curve(parameters, T);
  const double Kp = parameters.Kp0;
  const double base = (Kp * P) / curve.BulkModulus() + 1.0;
  if (base < 0.0) return {std::numeric_limits<double>::quiet_NaN(), 0, false};
  const double V = curve.ReferenceVolume() * std::pow(base, -(1.0 / Kp));
  return {V, 0, std::isfinite(V)};
}

// Marches from just below V(T,0) with a fixed step, reversing when the residual
// grows and interpolating when it changes sign.
VolumeSolution SearchVolume(const EosParameters& parameters, double P, double T) {
  const IsothermalCurve curve(parameters, T);
  const double VT0 = curve.ReferenceVolume();
  const double tolerance = kRelativeTolerance * std::fabs(P);
  double V = kStartFactor * VT0;
  double step = kStepFactor * VT0;
  double previous = P - curve.Pressure(V);
  // n counts the trial volumes after the start; the search tries 10001 of them.
  for (std::int32_t n = 0; n <= kIterationCap;) {
    V = V + step;
    const double residual = P - curve.Pressure(V);
    ++n;
    // A volume at or below zero is no answer, even where some power of it
    // gives a finite pressure near the target, and a residual that is not a
    // number leads nowhere: both end the search as if it had given up.
    if (!(V > 0.0) || std::isnan(residual)) return {VT0, n + 1, false};
    if (previous * residual < 0.0) {
      step = -step * (1.0 + previous / std::fabs(previous - residual));
    } else if (std::fabs(residual) > std::fabs(previous)) {
      step = -step;
    }
    previous = residual;
    if (std::fabs(residual) <= tolerance) return {V, n + 1, true};
  }
  return {VT0, kIterationCap + 2, false};
}

}  // namespace

VolumeSolution SolveVolumeFromPressure(const EosParameters& parameters, double P, double T) {
  if (parameters.type == EosType::Murnaghan) return SolveMurnaghan(parameters, P, T);
  return SearchVolume(parameters, P, T);
}

double VolumeFromPressure(const EosParameters& parameters, double P, double T) {
  return SolveVolumeFromPressure(parameters, P, T).V;
}

}  // namespace quorvane::engine
