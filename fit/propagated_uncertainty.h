#pragma once

#include <vector>

#include "engine/eos_parameters.h"
#include "models/model.h"

namespace quorvane::fit {

// The covariance of refined parameters, rows in the order of refined.
struct ParameterCovariance {
  std::vector<models::Parameter> refined;
  std::vector<std::vector<double>> matrix;
};

// The standard deviation of P(V, T) that the parameters' covariance implies,
// sqrt(g' C g) with g = dP/d(parameter).
double PressureUncertainty(const engine::EosParameters& parameters,
                           const ParameterCovariance& covariance, double V, double T);

// The standard deviation of the volume at a known pressure and temperature;
// V is that volume. Along the isotherm dV = (V / K_T) dP.
double VolumeUncertainty(const engine::EosParameters& parameters,
                         const ParameterCovariance& covariance, double V, double T);

}  // namespace quorvane::fit
