#pragma once

#include "engine/eos_parameters.h"
#include "engine/volume_solver.h"

// The whole state point from the quantities a user can hold fixed. The
// calculator's handlers and quorvane-eos compute along these same paths.
namespace quorvane::engine {

// From pressure and temperature: V by the solver, V(T,0) from T, the ratios.
// P and T are returned as given.
WorkingPoint StateFromPressure(const EosParameters& parameters, double P, double T);

// The same, with the solver's outcome, so a caller can tell a volume found
// from the V(T,0) of a search that gave up.
struct SolvedState {
  WorkingPoint point;
  VolumeSolution solution;
};
SolvedState SolveStateFromPressure(const EosParameters& parameters, double P, double T);

// The same with the exact inversion: the volume whose pressure is nearest P.
SolvedState SolveStateExactlyFromPressure(const EosParameters& parameters, double P, double T);

// Whether a solver's volume can be a state point's: it converged on a finite
// volume above zero. The form's closed-form Murnaghan inverse says converged
// where its power underflows to V = 0 (a tiny K'0 and a huge P), and the form
// shows that zero; a table or an array of states says it is no volume.
bool IsVolumeFound(const VolumeSolution& solution);

// From volume and temperature: P from the equation of state, V(T,0) from T,
// the ratios.
WorkingPoint StateFromVolume(const EosParameters& parameters, double V, double T);

// The other held quantities, each turned into a volume and temperature first:
// V = V/V(0,0) x V0; T from V(T,0) with the volume held; V = V(T,0) x V/V(T,0).
WorkingPoint StateFromVolumeOverV00(const EosParameters& parameters, double VoverV00, double T);
WorkingPoint StateFromZeroPressureVolume(const EosParameters& parameters, double VT0, double V);
WorkingPoint StateFromVolumeOverVT0(const EosParameters& parameters, double VoverVT0, double T);

}  // namespace quorvane::engine
