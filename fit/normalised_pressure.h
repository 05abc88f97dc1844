#pragma once

#include <cstddef>
#include <vector>

#include "fit/fit_data.h"

namespace quorvane::fit {

// One point of the F-f plot: Eulerian strain f = ((V0/V)^(2/3) - 1)/2 and
// normalised pressure F = P / (3 f (1 + 2f)^(5/2)), with standard deviations
// propagated from sigP, sigV and the esd of V0 (0 where none were given).
struct StrainPoint {
  double f = 0.0;
  double F = 0.0;
  double sigf = 0.0;
  double sigF = 0.0;
  // The index in the data of the observation it is of.
  std::size_t point = 0;
};

// The points of an isothermal data set; points at P = 0 or f = 0, where F is
// 0/0 or says nothing, are left out.
std::vector<StrainPoint> EulerianStrainPoints(const FitData& data, double V0, double sigV0);

// The straight line F = intercept + slope f, weighted by 1/sigF^2 when every
// point has a sigF and unweighted otherwise. Points whose f, F or sigF is not
// finite (a volume so large that f is -1/2) are left out and counted. For 3rd-order Birch-Murnaghan
// the intercept is K0 and the slope 3 K0 (K'0 - 4) / 2. The esds are unscaled
// for a weighted line and scaled by the scatter for an unweighted one.
struct StrainLine {
  double intercept = 0.0;
  double slope = 0.0;
  double esdIntercept = 0.0;
  double esdSlope = 0.0;
  bool weighted = false;
  int points = 0;
  int leftOut = 0;
  // K'0 the line implies, 4 + 2 slope / (3 intercept).
  double ImpliedKp0() const { return 4.0 + 2.0 * slope / (3.0 * intercept); }
};

// Needs two points with different strains; otherwise points is below 2 and
// the numbers are not numbers.
StrainLine FitStrainLine(const std::vector<StrainPoint>& points);

}  // namespace quorvane::fit
