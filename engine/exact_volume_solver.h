#pragma once

#include <cstddef>

#include "engine/eos_parameters.h"
#include "engine/isothermal_curve.h"
#include "engine/volume_solver.h"

namespace quorvane::engine {

// The volume whose pressure, as PressureFromVolume computes it, lies nearest
// the target P at temperature T among the doubles around it: none of the
// NearestDoubleWalk::kReach doubles on either side gives a strictly smaller
// residual (of equal ones, the first the search reaches). The computed
// pressure is noisier than one step of the volume, so a double farther away
// can still come a few units in its last place nearer. The root is sought on
// the branch through V(T,0) along which the pressure changes monotonically; a
// target that branch never reaches is not converged and gives V(T,0), as the
// calculator's search does. Evaluations count every pressure computed, with
// or without its derivative.
VolumeSolution SolveVolumeExactly(const EosParameters& parameters, double P, double T);

// The same on an isotherm built once for many pressures.
VolumeSolution SolveVolumeExactly(const IsothermalCurve& isotherm, double P);

// Where the search starts on an isotherm it knows only through an evaluator:
// a volume on the branch the root is sought on, its pressure and modulus
// K = -V dP/dV, and K' for the first guess, which is the root itself where
// guessIsRoot (the Murnaghan equation), and whether the evaluator gives the
// modulus' change -V dK/dV (curvature): without it the search takes Newton's
// steps instead of Halley's, and more of them.
struct SearchOrigin {
  double V = 0.0;
  double P = 0.0;
  double K = 0.0;
  double Kp = 4.0;
  bool guessIsRoot = false;
  bool curvature = false;
};

// The pressure at V with K and -V dK/dV (0 without curvature).
using PressureEvaluator = IsothermalCurve::PressureAndModulus (*)(const void* context, double V);

// The same search and promise for any equation of state: a target not reached
// gives the origin's volume, not converged.
VolumeSolution SolveVolumeExactly(const SearchOrigin& origin, double P, PressureEvaluator evaluate,
                                  const void* context);

// SolveVolumeExactly(isotherm, P[i]) into solutions[i] for n pressures, each
// the very same solution, found several at a time so that their evaluations
// overlap.
void SolveVolumesExactly(const IsothermalCurve& isotherm, const double* P, std::size_t n,
                         VolumeSolution* solutions);

}  // namespace quorvane::engine
