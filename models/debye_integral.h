#pragma once

#include "models/scalar_functions.h"

namespace quorvane::models {

// D(x) = integral from 0 to x of t^3 / (e^t - 1) dt, within a few ulp for every
// x >= 0; pi^4/15 beyond where the rest is below half an ulp. Not a number for
// x < 0 or x not a number.
double DebyeIntegral(double x);

// Its slope is the integrand itself.
template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> DebyeIntegral(const Eigen::AutoDiffScalar<Derivatives>& x) {
  const double v = x.value();
  const double slope = v == 0.0 ? 0.0 : v * v * v / std::expm1(v);
  return Chained(x, DebyeIntegral(v), slope);
}

}  // namespace quorvane::models
