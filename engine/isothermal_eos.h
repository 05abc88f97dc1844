#pragma once

#include "engine/eos_parameters.h"

namespace quorvane::engine {

// The pressure at volume V and temperature T for the chosen equation of state.
double PressureFromVolume(const EosParameters& parameters, double V, double T);

}  // namespace quorvane::engine
