#include "engine/state_point.h"

#include <cmath>

#include "engine/exact_volume_solver.h"
#include "engine/isothermal_eos.h"
#include "engine/thermal_model.h"

namespace quorvane::engine {

namespace {

SolvedState StateFromSolution(const EosParameters& parameters, double P, double T,
                              const VolumeSolution& solution) {
  WorkingPoint point;
  point.P = P;
  point.T = T;
  point.V = solution.V;
  point.VT0 = ZeroPressureVolume(parameters, T);
  point.VoverV00 = point.V / parameters.V0;
  point.VoverVT0 = point.V / point.VT0;
  return {point, solution};
}

}  // namespace

SolvedState SolveStateFromPressure(const EosParameters& parameters, double P, double T) {
  return StateFromSolution(parameters, P, T, SolveVolumeFromPressure(parameters, P, T));
}

SolvedState SolveStateExactlyFromPressure(const EosParameters& parameters, double P, double T) {
  return StateFromSolution(parameters, P, T, SolveVolumeExactly(parameters, P, T));
}

bool IsVolumeFound(const VolumeSolution& solution) {
  return solution.converged && solution.V > 0.0 && std::isfinite(solution.V);
}

WorkingPoint StateFromPressure(const EosParameters& parameters, double P, double T) {
  return SolveStateFromPressure(parameters, P, T).point;
}

WorkingPoint StateFromVolume(const EosParameters& parameters, double V, double T) {
  WorkingPoint point;
  point.P = PressureFromVolume(parameters, V, T);
  point.T = T;
  point.V = V;
  point.VT0 = ZeroPressureVolume(parameters, T);
  point.VoverV00 = V / parameters.V0;
  point.VoverVT0 = V / point.VT0;
  return point;
}

WorkingPoint StateFromVolumeOverV00(const EosParameters& parameters, double VoverV00, double T) {
  return StateFromVolume(parameters, VoverV00 * parameters.V0, T);
}

WorkingPoint StateFromZeroPressureVolume(const EosParameters& parameters, double VT0, double V) {
  return StateFromVolume(parameters, V, TemperatureFromZeroPressureVolume(parameters, VT0));
}

WorkingPoint StateFromVolumeOverVT0(const EosParameters& parameters, double VoverVT0, double T) {
  return StateFromVolume(parameters, ZeroPressureVolume(parameters, T) * VoverVT0, T);
}

}  // namespace quorvane::engine
