#pragma once

#include <cstdint>

#include "engine/eos_parameters.h"

namespace quorvane::engine {

// The whole outcome of one volume search.
struct VolumeSolution {
  double V = 0.0;
  // Pressure evaluations made, the one at the starting volume included
  // (0 for the closed-form Murnaghan inverse).
  std::int32_t evaluations = 0;
  // False when no volume meets the target, and V is then V(T,0): the search
  // gave up after its last trial, or a trial volume was not greater than zero
  // or gave a pressure that is not a number. For the closed-form Murnaghan
  // inverse, false when it has no finite value (V is infinite or not a
  // number).
  bool converged = true;
};

VolumeSolution SolveVolumeFromPressure(const EosParameters& parameters, double P, double T);

// The volume at which the equation of state gives pressure P at temperature T;
// V(T,0) when the search does not converge.
double VolumeFromPressure(const EosParameters& parameters, double P, double T);

}  // namespace quorvane::engine
