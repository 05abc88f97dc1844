#pragma once

#include <cstddef>

namespace quorvane::engine {

// x^kE7, x^kE5 and x^kE2 (the Birch-Murnaghan exponents of IsothermalCurve)
// for n ratios x, each the very double std::pow(x, e) gives. Where the
// processor allows, four at a time by a cube root in double-double
// arithmetic, keeping a result only where it provably is the C library's
// double; every other power is std::pow's own.
void BirchMurnaghanPowers(const double* x, std::size_t n, double* p7, double* p5, double* p2);

}  // namespace quorvane::engine
