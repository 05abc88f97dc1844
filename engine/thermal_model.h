#pragma once

#include "engine/eos_parameters.h"

namespace quorvane::engine {

// K(T) = K0 + dKdT (T - Tref).
double ThermalBulkModulus(const EosParameters& parameters, double T);

// V(T,0): the zero-pressure volume at temperature T.
double ZeroPressureVolume(const EosParameters& parameters, double T);

// The temperature at which the zero-pressure volume is VT0.
double TemperatureFromZeroPressureVolume(const EosParameters& parameters, double VT0);

}  // namespace quorvane::engine
