#include "models/isentrope.h"

#include <Eigen/Core>
#include <cmath>
#include <unsupported/Eigen/AutoDiff>

#include "models/model_pressure.h"
#include "models/thermal_equations.h"

namespace quorvane::models {
namespace {

using Slope = Eigen::Matrix<double, 1, 1>;
using Dual = Eigen::AutoDiffScalar<Slope>;

// Newton's steps end where a step moves V by no more than this fraction of
// it: a few ulp, the pressure's own rounding.
constexpr double kVolumeTolerance = 1e-15;
constexpr int kMostSteps = 100;
// A step that leaves the model's domain is halved at most this often.
constexpr int kMostHalvings = 60;

// P along the isentrope at V, with its slope there.
Dual PressureOnIsentrope(const Model& model, double ratio, double V) {
  ParameterArray<Dual> p;
  for (int i = 0; i < kParameterCount; ++i) p[i] = Dual(model.values[i], Slope::Zero());
  const Dual volume(V, Slope::Ones());
  const Dual T = DebyeStateAt(p, volume).theta * ratio;
  return ModelPressure(model, p, volume, T);
}

double TemperatureAt(const Model& model, double ratio, double V) {
  return DebyeStateAt(model.values, V).theta * ratio;
}

}  // namespace

bool HasClosedFormIsentrope(const Model& model) {
  return model.thermal == Thermal::MieGruneisenDebye;
}

IsentropePoint IsentropeAt(const Model& model, double V0, double T0, double P, double guess) {
  if (!HasClosedFormIsentrope(model) || !HasPressure(model, V0, T0)) return {};
  // T / theta(V), the same all along.
  const double ratio = T0 / DebyeStateAt(model.values, V0).theta;
  double V = guess > 0.0 ? guess : V0;
  for (int step = 0; step < kMostSteps; ++step) {
    const Dual at = PressureOnIsentrope(model, ratio, V);
    const double residual = at.value() - P;
    if (residual == 0.0) return {TemperatureAt(model, ratio, V), V, true};
    double move = -residual / at.derivatives()[0];
    if (!std::isfinite(move)) return {};
    for (int halving = 0; halving < kMostHalvings && !(V + move > 0.0); ++halving) move /= 2.0;
    V += move;
    if (std::fabs(move) <= kVolumeTolerance * V) return {TemperatureAt(model, ratio, V), V, true};
  }
  return {};
}

}  // namespace quorvane::models
