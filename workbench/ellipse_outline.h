#pragma once

#include <utility>
#include <vector>

namespace quorvane::workbench {

// The joint confidence region of two parameters: the points x with
// (x - centre)' C^-1 (x - centre) = level, for a 2x2 covariance C
// (cxx, cxy, cyy). Empty when C is not positive definite. Kept to this one
// function so that the fit library's own outline can take its place.
std::vector<std::pair<double, double>> EllipseOutline(double cx, double cy, double cxx, double cxy,
                                                      double cyy, double level, int points);

// Delta chi^2 of the 68.3 % joint region of two parameters, -2 ln(1 - 0.683).
inline constexpr double kTwoParameterLevel = 2.2957;

}  // namespace quorvane::workbench
