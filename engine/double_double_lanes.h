#pragma once

// Double-double arithmetic four lanes at a time, for results that must be the
// C library's own doubles: a lane keeps its result only where the library's
// documented error bound leaves it no other answer. Only with the GNU C
// library on x86-64; elsewhere QUORVANE_FAST_LANES stays undefined.
#if defined(__GLIBC__) && defined(__x86_64__)
#include <immintrin.h>
#define QUORVANE_FAST_LANES 1
#endif

#ifdef QUORVANE_FAST_LANES

namespace quorvane::engine::lanes {

// The ratios x = V(T,0)/V the lanes take: a volume from half to twice V(T,0).
inline constexpr double kLowest = 0.5;
inline constexpr double kHighest = 2.0;

// x^(-1/3) on [0.5, 2] to 7.5e-4 (a fit in the Chebyshev sense); two Newton
// steps take it to 3e-12, and the double-double step squares that.
inline constexpr double kStart[] = {1.9875127076627745,  -2.3748310176641945, 2.4820511476137126,
                                    -1.5241134690304527, 0.4948627929600439,  -0.06555416391609836};

// The C library documents pow within 0.509 ULP (0.511 without fused
// multiply-add) plus 1024 ln2 * 1.5 2^-68 2^53 ULP at most for its logarithm,
// below 1e-4 ULP for the arguments here. A result of ours within 0.48 ULP of
// the true value (ours is off by less than 1e-5 ULP) leaves every other
// double more than 0.519 ULP away: the library must return ours.
inline constexpr double kSafeFraction = 0.48;

struct Pair {
  __m256d hi;
  __m256d lo;
};

__attribute__((target("avx2,fma"))) inline __m256d Splat(double v) {
  return _mm256_set1_pd(v);
}

__attribute__((target("avx2,fma"))) inline __m256d InRange(__m256d x) {
  return _mm256_and_pd(_mm256_cmp_pd(x, Splat(kLowest), _CMP_GE_OQ),
                       _mm256_cmp_pd(x, Splat(kHighest), _CMP_LE_OQ));
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

// The pair times e^z = 1 + z + z^2/2 (z below 6e-8, so z^3/6 is below 2^-73).
__attribute__((target("avx2,fma"))) inline Pair Grown(Pair p, __m256d z) {
  const __m256d growth = _mm256_fmadd_pd(_mm256_mul_pd(z, z), Splat(0.5), z);
  return {p.hi, _mm256_fmadd_pd(p.hi, growth, p.lo)};
}

// Stores the pair rounded to the nearest double and gives the lanes (as bits)
// where that double is safely the nearest one: usable, not a power of two,
// and the rest short of half a unit by a margin.
__attribute__((target("avx2,fma"))) inline int StoreRounded(Pair p, __m256d usable, double* out) {
  const __m256d result = _mm256_add_pd(p.hi, p.lo);
  const __m256d rest = _mm256_add_pd(_mm256_sub_pd(p.hi, result), p.lo);
  const __m256d exponentBits = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7ff0000000000000LL));
  const __m256d mantissaBits = _mm256_castsi256_pd(_mm256_set1_epi64x(0x000fffffffffffffLL));
  const __m256d unit = _mm256_mul_pd(_mm256_and_pd(result, exponentBits), Splat(0x1p-52));
  const __m256d magnitude = _mm256_andnot_pd(Splat(-0.0), rest);
  const __m256d limit = _mm256_mul_pd(unit, Splat(kSafeFraction));
  const __m256d nearest = _mm256_cmp_pd(magnitude, limit, _CMP_LT_OQ);
  const __m256d mantissa = _mm256_and_pd(result, mantissaBits);
  const __m256d notPowerOfTwo = _mm256_cmp_pd(mantissa, _mm256_setzero_pd(), _CMP_NEQ_OQ);
  _mm256_storeu_pd(out, result);
  return _mm256_movemask_pd(_mm256_and_pd(usable, _mm256_and_pd(nearest, notPowerOfTwo)));
}

inline bool HasVectorUnit() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return has;
}

}  // namespace quorvane::engine::lanes

#endif
