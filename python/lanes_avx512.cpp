// Built with -mavx512f -mfma (every processor with AVX-512 has FMA, and the
// build contracts no multiply-add): called only where the processor has AVX-512.
#include <sleef.h>

#include "python/lane_pressures.h"
#include "python/lane_vector.h"

namespace quorvane::python {
namespace {

// SLEEF's 1-ulp functions, but the cube root of its 3.5-ulp bound: the 1-ulp
// one took twice the time, half of all a Birch-Murnaghan pressure costs,
// and gave no pressure nearer the scalar formula's over the models' tests.
struct Avx512 {
  using Native = __m512d;
  static constexpr int kCount = 8;
  static Native Exp(Native x) { return Sleef_expd8_u10(x); }
  static Native Log(Native x) { return Sleef_logd8_u10(x); }
  static Native Sinh(Native x) { return Sleef_sinhd8_u10(x); }
  static Native Expm1(Native x) { return Sleef_expm1d8_u10(x); }
  static Native Log1p(Native x) { return Sleef_log1pd8_u10(x); }
  static Native Cbrt(Native x) { return Sleef_cbrtd8_u35(x); }
  static Native Pow(Native x, Native e) { return Sleef_powd8_u10(x, e); }
};

}  // namespace

void Avx512Pressures(const models::Model& shape, const double* values, const double* V,
                     const double* T, std::size_t stride, std::size_t n, double* out) {
  PressuresInLanes<Avx512>(shape, values, V, T, stride, n, out);
}

}  // namespace quorvane::python
