#include "engine/isothermal_curve.h"

#include <algorithm>
#include <array>

#include "engine/birch_murnaghan_powers.h"

namespace quorvane::engine {
namespace {

// Volumes taken at a time: small enough for the stack, long enough that the
// powers run four abreast.
constexpr std::size_t kBlock = 256;

// Calls combine(i, p7, p5, p2) with the Birch-Murnaghan powers of VT0 / V[i].
template <typename Combine>
void ForEachPowers(double VT0, const double* V, std::size_t n, Combine combine) {
  std::array<double, kBlock> x;
  std::array<double, kBlock> p7;
  std::array<double, kBlock> p5;
  std::array<double, kBlock> p2;
  for (std::size_t start = 0; start < n; start += kBlock) {
    const std::size_t count = std::min(kBlock, n - start);
    for (std::size_t i = 0; i < count; ++i) x[i] = VT0 / V[start + i];
    BirchMurnaghanPowers(x.data(), count, p7.data(), p5.data(), p2.data());
    for (std::size_t i = 0; i < count; ++i) combine(start + i, p7[i], p5[i], p2[i]);
  }
}

}  // namespace

void IsothermalCurve::Pressures(const double* V, std::size_t n, double* P) const {
  if (type_ != EosType::BirchMurnaghan) {
    for (std::size_t i = 0; i < n; ++i) P[i] = Pressure(V[i]);
    return;
  }
  ForEachPowers(VT0_, V, n, [&](std::size_t i, double p7, double p5, double p2) {
    P[i] = BirchMurnaghanFromPowers(p7, p5, p2);
  });
}

void IsothermalCurve::PressuresWithModulus(const double* V, std::size_t n,
                                           PressureAndModulus* at) const {
  if (type_ != EosType::BirchMurnaghan) {
    for (std::size_t i = 0; i < n; ++i) at[i] = PressureWithModulus(V[i]);
    return;
  }
  ForEachPowers(VT0_, V, n, [&](std::size_t i, double p7, double p5, double p2) {
    at[i] = BirchMurnaghanWithModulusFromPowers(p7, p5, p2);
  });
}

}  // namespace quorvane::engine
