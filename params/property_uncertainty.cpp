#include "params/property_uncertainty.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "models/model_pressure.h"
#include "models/thermodynamic_properties.h"

namespace quorvane::params {
namespace {

using Gradient = models::PropertyGradients::Gradient;
constexpr int kVolumeSlot = models::kParameterCount;

double Propagate(const ParameterCovariance& covariance, const Gradient& g) {
  const std::size_t m = covariance.refined.size();
  double variance = 0.0;
  for (std::size_t i = 0; i < m; ++i) {
    const double gi = g[models::Index(covariance.refined[i])];
    for (std::size_t j = 0; j < m; ++j) {
      variance += gi * covariance.matrix[i][j] * g[models::Index(covariance.refined[j])];
    }
  }
  // A covariance semi-definite within rounding may leave a variance a
  // rounding below zero.
  return std::sqrt(std::max(variance, 0.0));
}

// The derivatives at the pressure held: each parameter moves V by dV.
Gradient AtPressureHeld(const Gradient& g, const Gradient& dV) {
  Gradient total = g;
  for (int i = 0; i < models::kParameterCount; ++i) total[i] += g[kVolumeSlot] * dV[i];
  return total;
}

Gradient Combined(double a, const Gradient& x, double b, const Gradient& y) {
  Gradient r{};
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = a * x[i] + b * y[i];
  return r;
}

}  // namespace

PropertyUncertainties PropertyUncertaintiesAt(const models::Model& model,
                                              const ParameterCovariance& covariance, double V,
                                              double T, bool pressureHeld,
                                              std::optional<double> molarMass,
                                              std::optional<double> einsteinAtoms) {
  models::PropertyGradients g = models::PropertyGradientsAt(model, V, T, einsteinAtoms);
  Gradient dV{};
  dV[kVolumeSlot] = 1.0;
  if (pressureHeld) {
    const models::PressureGradient P = models::PressureWithGradient(model, V, T);
    for (int i = 0; i < models::kParameterCount; ++i) dV[i] = -P.dP[i] / P.dPdV;
    for (Gradient* x : {&g.KT, &g.Kp, &g.alpha, &g.dKdT, &g.Pth, &g.CV, &g.gamma, &g.CP, &g.KS}) {
      *x = AtPressureHeld(*x, dV);
    }
  }
  PropertyUncertainties s;
  s.KT = Propagate(covariance, g.KT);
  s.Kp = Propagate(covariance, g.Kp);
  s.alpha = Propagate(covariance, g.alpha);
  s.dKdT = Propagate(covariance, g.dKdT);
  s.Pth = Propagate(covariance, g.Pth);
  s.CV = Propagate(covariance, g.CV);
  s.gamma = Propagate(covariance, g.gamma);
  s.CP = Propagate(covariance, g.CP);
  s.KS = Propagate(covariance, g.KS);
  if (!molarMass) return s;
  // rho = M / V moves with V alone; Vphi = sqrt(K_S / rho).
  const models::ThermodynamicProperties p = models::PropertiesAt(model, V, T, einsteinAtoms);
  const double rho = *molarMass / (V * models::MolarVolumeFactor(model));
  const Gradient rhoGradient = Combined(-rho / V, dV, 0.0, dV);
  const double Vphi = std::sqrt(p.KS / rho);
  s.rho = Propagate(covariance, rhoGradient);
  s.Vphi = Propagate(covariance, Combined(0.5 * Vphi / p.KS, g.KS, -0.5 * Vphi / rho, rhoGradient));
  return s;
}

}  // namespace quorvane::params
