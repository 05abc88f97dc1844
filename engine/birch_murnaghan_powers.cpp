#include "engine/birch_murnaghan_powers.h"

#include <algorithm>
#include <cmath>

#include "engine/double_double_lanes.h"
#include "engine/isothermal_curve.h"

namespace quorvane::engine {
namespace {

constexpr double kE7 = IsothermalCurve::kE7;
constexpr double kE5 = IsothermalCurve::kE5;
constexpr double kE2 = IsothermalCurve::kE2;

void LibraryPowers(const double* x, std::size_t n, double* p7, double* p5, double* p2) {
  for (std::size_t i = 0; i < n; ++i) {
    p7[i] = std::pow(x[i], kE7);
    p5[i] = std::pow(x[i], kE5);
    p2[i] = std::pow(x[i], kE2);
  }
}

#ifdef QUORVANE_FAST_LANES
using namespace lanes;

// Each exponent is k/3 + d with d below 1e-7: x^e = (x^(1/3))^k e^(d ln x).
// 3e - k is exact in double, so d carries only its own rounding.
constexpr double kD7 = (3.0 * kE7 - 7.0) / 3.0;
constexpr double kD5 = (3.0 * kE5 - 5.0) / 3.0;
constexpr double kD2 = (3.0 * kE2 - 2.0) / 3.0;

// The power of the pair grown by e^(d ln x) into out; lanes it cannot vouch
// for get the C library's power.
__attribute__((target("avx2,fma"))) inline void Finish(Pair p, __m256d z, __m256d usable,
                                                       const double* x, double exponent,
                                                       double* out) {
  const int safe = StoreRounded(Grown(p, z), usable, out);
  if (safe == 0xf) return;
  for (int lane = 0; lane < 4; ++lane) {
    if (((safe >> lane) & 1) == 0) out[lane] = std::pow(x[lane], exponent);
  }
}

// Four ratios at once; the caller pads a short group.
__attribute__((target("avx2,fma"))) void FourPowers(const double* x, double* p7, double* p5,
                                                    double* p2) {
  const __m256d given = _mm256_loadu_pd(x);
  const __m256d inRange = InRange(given);
  // Lanes out of range (or not numbers) compute on 1 and take pow's result.
  const __m256d v = _mm256_blendv_pd(Splat(1.0), given, inRange);
  const Pair root = CubeRoot(v);
  const __m256d L = LogFromCubeRoot(root.hi);
  const Pair twoThirds = TimesPair(root, root);
  const Pair fiveThirds = TimesDouble(twoThirds, v);
  const Pair sevenThirds = TimesPair(fiveThirds, twoThirds);
  Finish(sevenThirds, _mm256_mul_pd(Splat(kD7), L), inRange, x, kE7, p7);
  Finish(fiveThirds, _mm256_mul_pd(Splat(kD5), L), inRange, x, kE5, p5);
  Finish(twoThirds, _mm256_mul_pd(Splat(kD2), L), inRange, x, kE2, p2);
}

void VectorPowers(const double* x, std::size_t n, double* p7, double* p5, double* p2) {
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) FourPowers(x + i, p7 + i, p5 + i, p2 + i);
  const std::size_t rest = n - i;
  if (rest == 0) return;
  // The last few ratios run as a padded group.
  double group[4] = {1.0, 1.0, 1.0, 1.0};
  double q7[4];
  double q5[4];
  double q2[4];
  std::copy(x + i, x + n, group);
  FourPowers(group, q7, q5, q2);
  std::copy(q7, q7 + rest, p7 + i);
  std::copy(q5, q5 + rest, p5 + i);
  std::copy(q2, q2 + rest, p2 + i);
}

#endif

}  // namespace

void BirchMurnaghanPowers(const double* x, std::size_t n, double* p7, double* p5, double* p2) {
#ifdef QUORVANE_FAST_LANES
  if (HasVectorUnit()) {
    VectorPowers(x, n, p7, p5, p2);
    return;
  }
#endif
  LibraryPowers(x, n, p7, p5, p2);
}

}  // namespace quorvane::engine
