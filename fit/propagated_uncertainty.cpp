#include "fit/propagated_uncertainty.h"

#include <algorithm>
#include <cmath>

#include "models/calculator_parameters.h"
#include "models/model_pressure.h"

namespace quorvane::fit {
namespace {

models::PressureGradient GradientAt(const engine::EosParameters& parameters, double V, double T) {
  return models::PressureWithGradient(models::FromCalculatorParameters(parameters), V, T);
}

double Propagate(const ParameterCovariance& covariance, const models::PressureGradient& point,
                 double scale) {
  const std::size_t m = covariance.refined.size();
  double variance = 0.0;
  for (std::size_t i = 0; i < m; ++i) {
    const double gi = point.dP[models::Index(covariance.refined[i])] * scale;
    for (std::size_t j = 0; j < m; ++j) {
      const double gj = point.dP[models::Index(covariance.refined[j])] * scale;
      variance += gi * covariance.matrix[i][j] * gj;
    }
  }
  // A covariance is accepted as semi-definite within rounding, which may leave
  // a variance a rounding below zero.
  return std::sqrt(std::max(variance, 0.0));
}

}  // namespace

double PressureUncertainty(const engine::EosParameters& parameters,
                           const ParameterCovariance& covariance, double V, double T) {
  return Propagate(covariance, GradientAt(parameters, V, T), 1.0);
}

double VolumeUncertainty(const engine::EosParameters& parameters,
                         const ParameterCovariance& covariance, double V, double T) {
  const models::PressureGradient point = GradientAt(parameters, V, T);
  // V / K_T, with K_T = -V dP/dV.
  return Propagate(covariance, point, -1.0 / point.dPdV);
}

}  // namespace quorvane::fit
