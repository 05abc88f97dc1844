#pragma once

#include "engine/eos_parameters.h"
#include "models/model.h"
#include "params/parameter_covariance.h"

namespace quorvane::params {

// The standard deviation of P(V, T) that the parameters' covariance implies,
// sqrt(g' C g) with g = dP/d(parameter).
double PressureUncertainty(const models::Model& model, const ParameterCovariance& covariance,
                           double V, double T);

// The standard deviation of the volume at a known pressure and temperature;
// V is that volume. Along the isotherm dV = (V / K_T) dP.
double VolumeUncertainty(const models::Model& model, const ParameterCovariance& covariance,
                         double V, double T);

// The same for the calculator's own parameter set.
double PressureUncertainty(const engine::EosParameters& parameters,
                           const ParameterCovariance& covariance, double V, double T);
double VolumeUncertainty(const engine::EosParameters& parameters,
                         const ParameterCovariance& covariance, double V, double T);

}  // namespace quorvane::params
