#pragma once

#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/fit_data.h"

namespace quorvane::fit {

// A crystal axis is fitted in the "linearised" form: its cube stands for the
// volume in any equation and thermal model, so L^3 = V, and the axis' own
// modulus M = -L dP/dL is 3K of that fit (M0 = 3K0, M'0 = 3K'0, M''0 = 3K''0,
// dM/dT = 3 dK/dT) while its expansion is a third of the cube's.
struct AxialValue {
  // "L0", "M0", "Mp0" ...: the key in JSON and in Python.
  const char* name;
  // "L0", "M'0" ...: the symbol a reader expects.
  const char* symbol;
  double value;
  // The esd under the scaling applied; NaN for a parameter held on a bound,
  // 0 for one held fixed.
  double esd;
  bool refined;
};

struct AxialParameters {
  std::string axis;
  // L0, M0 and M'0 always; M''0 and the thermal ones where they were refined.
  std::vector<AxialValue> values;
};

// The axis' own parameters from a converged fit of its cube.
AxialParameters AxialFromCubed(const std::string& axis, const FitResult& result);

// A point of an axis L (any length unit, cubed to give V) with its standard
// deviation; 0 stays "none known".
Observation CubedAxisPoint(double P, double L, double T, double sigP, double sigL, double sigT);

// Whether the cube of a positive edge, or of its nonzero sigma sigL, is lost
// in doubles: an edge of 1e200 cubes to infinity, one of 1e-200 to zero.
bool CubeLost(const Observation& cubed, double sigL);

}  // namespace quorvane::fit
