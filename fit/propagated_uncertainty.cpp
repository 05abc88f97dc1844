#include "fit/propagated_uncertainty.h"

#include <algorithm>
#include <cmath>

#include "fit/pressure_derivatives.h"

namespace quorvane::fit {
namespace {

double Propagate(const ParameterCovariance& covariance, const PressurePoint& point, double scale) {
  const std::size_t m = covariance.refined.size();
  double variance = 0.0;
  for (std::size_t i = 0; i < m; ++i) {
    const double gi = point.dP[static_cast<std::size_t>(covariance.refined[i])] * scale;
    for (std::size_t j = 0; j < m; ++j) {
      const double gj = point.dP[static_cast<std::size_t>(covariance.refined[j])] * scale;
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
  return Propagate(covariance, IsothermDerivatives(parameters, T).Evaluate(V), 1.0);
}

double VolumeUncertainty(const engine::EosParameters& parameters,
                         const ParameterCovariance& covariance, double V, double T) {
  const PressurePoint point = IsothermDerivatives(parameters, T).Evaluate(V);
  return Propagate(covariance, point, V / point.KT);
}

}  // namespace quorvane::fit
