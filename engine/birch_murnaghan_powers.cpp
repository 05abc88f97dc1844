#include "engine/birch_murnaghan_powers.h"

#include <algorithm>
#include <cmath>

#include "engine/isothermal_curve.h"

// The shortcut relies on the GNU C library's documented accuracy of pow; with
// another library the results are pow's own throughout.
#if defined(__GLIBC__) && defined(__x86_64__)
#include <immintrin.h>
#define QUORVANE_FAST_POWERS 1
#endif

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

#ifdef QUORVANE_FAST_POWERS

// Each exponent is k/3 + d with d below 1e-7: x^e = (x^(1/3))^k e^(d ln x).
// 3e - k is exact in double, so d carries only its own rounding.
constexpr double kD7 = (3.0 * kE7 - 7.0) / 3.0;
constexpr double kD5 = (3.0 * kE5 - 5.0) / 3.0;
constexpr double kD2 = (3.0 * kE2 - 2.0) / 3.0;

// The ratios the shortcut takes: a volume from half to twice V(T,0).
constexpr double kLowest = 0.5;
constexpr double kHighest = 2.0;

// x^(-1/3) on [0.5, 2] to 7.5e-4 (a fit in the Chebyshev sense); two Newton
// steps take it to 3e-12, and the double-double step squares that.
constexpr double kStart[] = {1.9875127076627745,  -2.3748310176641945, 2.4820511476137126,
                             -1.5241134690304527, 0.4948627929600439,  -0.06555416391609836};

// The C library's pow is within 0.509 ULP (0.511 without fused multiply-add)
// of x^e, plus 1024 ln2 * 1.5 2^-68 2^53 ULP at most for the logarithm, which
// for |e ln x| below 2 is below 1e-4 ULP. A result of ours within 0.48 ULP of
// the true power (ours is off by less than 1e-5 ULP) leaves every other
// double more than 0.519 ULP away: pow must return ours.
constexpr double kSafeFraction = 0.48;

struct Pair {
  __m256d hi;
  __m256d lo;
};

__attribute__((target("avx2,fma"))) inline __m256d Splat(double v) {
  return _mm256_set1_pd(v);
}

__attribute__((target("avx2,fma"))) inline Pair TimesDouble(Pair a, __m256d b) {
  const __m256d hi = _mm256_mul_pd(a.hi, b);
  const __m256d error = _mm256_fmsub_pd(a.hi, b, hi);
  return {hi, _mm256_fmadd_pd(a.lo, b, error)};
}

__attribute__((target("avx2,fma"))) inline Pair TimesPair(Pair a, Pair b) {
  const __m256d hi = _mm256_mul_pd(a.hi, b.hi);
  const __m256d error = _mm256_fmsub_pd(a.hi, b.hi, hi);
  const __m256d cross = _mm256_fmadd_pd(a.hi, b.lo, _mm256_mul_pd(a.lo, b.hi));
  return {hi, _mm256_add_pd(error, cross)};
}

// The cube root of x as a double-double pair.
__attribute__((target("avx2,fma"))) inline Pair CubeRoot(__m256d x) {
  __m256d y = Splat(kStart[5]);
  for (int k = 4; k >= 0; --k) y = _mm256_fmadd_pd(y, x, Splat(kStart[k]));
  for (int step = 0; step < 2; ++step) {
    const __m256d cube = _mm256_mul_pd(_mm256_mul_pd(y, y), y);
    y = _mm256_mul_pd(_mm256_mul_pd(y, _mm256_fnmadd_pd(x, cube, Splat(4.0))), Splat(1.0 / 3.0));
  }
  const __m256d t = _mm256_mul_pd(x, _mm256_mul_pd(y, y));
  // t^3 in double-double; x - t^3 then is exact to well below t's own error.
  const __m256d square = _mm256_mul_pd(t, t);
  const __m256d squareError = _mm256_fmsub_pd(t, t, square);
  const __m256d cube = _mm256_mul_pd(square, t);
  const __m256d cubeError = _mm256_fmadd_pd(squareError, t, _mm256_fmsub_pd(square, t, cube));
  const __m256d residual = _mm256_sub_pd(_mm256_sub_pd(x, cube), cubeError);
  // Newton's correction residual / (3 t^2), with 1/t^2 = y^2 to ample digits.
  const __m256d correction =
      _mm256_mul_pd(residual, _mm256_mul_pd(_mm256_mul_pd(y, y), Splat(1.0 / 3.0)));
  return {t, correction};
}

// ln x = 3 ln t = 6 atanh((t - 1) / (t + 1)); with t within [0.79, 1.26] the
// series to s^11 is off by less than 1e-12, and e^(d ln x) needs ln x to 1e-11.
__attribute__((target("avx2,fma"))) inline __m256d LogFromCubeRoot(__m256d t) {
  const __m256d s = _mm256_div_pd(_mm256_sub_pd(t, Splat(1.0)), _mm256_add_pd(t, Splat(1.0)));
  const __m256d s2 = _mm256_mul_pd(s, s);
  __m256d series = Splat(1.0 / 11.0);
  series = _mm256_fmadd_pd(series, s2, Splat(1.0 / 9.0));
  series = _mm256_fmadd_pd(series, s2, Splat(1.0 / 7.0));
  series = _mm256_fmadd_pd(series, s2, Splat(1.0 / 5.0));
  series = _mm256_fmadd_pd(series, s2, Splat(1.0 / 3.0));
  series = _mm256_fmadd_pd(series, s2, Splat(1.0));
  return _mm256_mul_pd(Splat(6.0), _mm256_mul_pd(s, series));
}

// The pair times e^z = 1 + z + z^2/2 (z below 6e-8, so z^3/6 is below 2^-73),
// rounded to the nearest double, where that double is safely the nearest one:
// not a power of two, and the rest short of half a unit by a margin. The other
// lanes of a usable result get the C library's power.
__attribute__((target("avx2,fma"))) inline void Finish(Pair p, __m256d z, __m256d usable,
                                                       const double* x, double exponent,
                                                       double* out) {
  const __m256d growth = _mm256_fmadd_pd(_mm256_mul_pd(z, z), Splat(0.5), z);
  const __m256d tail = _mm256_fmadd_pd(p.hi, growth, p.lo);
  const __m256d result = _mm256_add_pd(p.hi, tail);
  const __m256d rest = _mm256_add_pd(_mm256_sub_pd(p.hi, result), tail);
  const __m256d exponentBits = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7ff0000000000000LL));
  const __m256d mantissaBits = _mm256_castsi256_pd(_mm256_set1_epi64x(0x000fffffffffffffLL));
  const __m256d unit = _mm256_mul_pd(_mm256_and_pd(result, exponentBits), Splat(0x1p-52));
  const __m256d magnitude = _mm256_andnot_pd(Splat(-0.0), rest);
  const __m256d limit = _mm256_mul_pd(unit, Splat(kSafeFraction));
  const __m256d nearest = _mm256_cmp_pd(magnitude, limit, _CMP_LT_OQ);
  const __m256d mantissa = _mm256_and_pd(result, mantissaBits);
  const __m256d notPowerOfTwo = _mm256_cmp_pd(mantissa, _mm256_setzero_pd(), _CMP_NEQ_OQ);
  _mm256_storeu_pd(out, result);
  const int safe = _mm256_movemask_pd(_mm256_and_pd(usable, _mm256_and_pd(nearest, notPowerOfTwo)));
  if (safe == 0xf) return;
  for (int lane = 0; lane < 4; ++lane) {
    if (((safe >> lane) & 1) == 0) out[lane] = std::pow(x[lane], exponent);
  }
}

// Four ratios at once; the caller pads a short group.
__attribute__((target("avx2,fma"))) void FourPowers(const double* x, double* p7, double* p5,
                                                    double* p2) {
  const __m256d given = _mm256_loadu_pd(x);
  const __m256d inRange = _mm256_and_pd(_mm256_cmp_pd(given, Splat(kLowest), _CMP_GE_OQ),
                                        _mm256_cmp_pd(given, Splat(kHighest), _CMP_LE_OQ));
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

bool HasVectorUnit() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}

#endif

}  // namespace

void BirchMurnaghanPowers(const double* x, std::size_t n, double* p7, double* p5, double* p2) {
#ifdef QUORVANE_FAST_POWERS
  if (HasVectorUnit()) {
    VectorPowers(x, n, p7, p5, p2);
    return;
  }
#endif
  LibraryPowers(x, n, p7, p5, p2);
}

}  // namespace quorvane::engine
