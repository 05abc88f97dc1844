// Built with -mavx: called only where the processor has AVX. SLEEF's
// functions for four lanes choose their own code for AVX2 and FMA at run time.
#include <sleef.h>

#include "python/lane_pressures.h"
#include "python/lane_vector.h"

namespace quorvane::python {
namespace {

// The functions of Avx512 (python/lanes_avx512.cpp), four lanes wide.
struct Avx {
  using Native = __m256d;
  static constexpr int kCount = 4;
  static Native Exp(Native x) { return Sleef_expd4_u10(x); }
  static Native Log(Native x) { return Sleef_logd4_u10(x); }
  static Native Sinh(Native x) { return Sleef_sinhd4_u10(x); }
  static Native Expm1(Native x) { return Sleef_expm1d4_u10(x); }
  static Native Log1p(Native x) { return Sleef_log1pd4_u10(x); }
  static Native Cbrt(Native x) { return Sleef_cbrtd4_u35(x); }
  static Native Pow(Native x, Native e) { return Sleef_powd4_u10(x, e); }
};

}  // namespace

void AvxPressures(const models::Model& shape, const double* values, const double* V,
                  const double* T, std::size_t stride, std::size_t n, double* out) {
  PressuresInLanes<Avx>(shape, values, V, T, stride, n, out);
}

}  // namespace quorvane::python
