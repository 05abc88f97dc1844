#include "engine/isothermal_curve.h"

#include <algorithm>
#include <array>

#include "engine/birch_murnaghan_powers.h"

namespace quorvane::engine {
namespace {

// Volumes taken at a time: small enough for the stack, long enough that the
// powers run four abreast.
constexpr std::size_t kBlock = 256;

}  // namespace

void IsothermalCurve::Pressures(const double* V, std::size_t n, double* P) const {
  if (type_ != EosType::BirchMurnaghan) {
    for (std::size_t i = 0; i < n; ++i) P[i] = Pressure(V[i]);
    return;
  }
  std::array<double, kBlock> x;
  std::array<double, kBlock> p7;
  std::array<double, kBlock> p5;
  std::array<double, kBlock> p2;
  for (std::size_t start = 0; start < n; start += kBlock) {
    const std::size_t count = std::min(kBlock, n - start);
    for (std::size_t i = 0; i < count; ++i) x[i] = VT0_ / V[start + i];
    BirchMurnaghanPowers(x.data(), count, p7.data(), p5.data(), p2.data());
    for (std::size_t i = 0; i < count; ++i) {
      P[start + i] = BirchMurnaghanFromPowers(p7[i], p5[i], p2[i]);
    }
  }
}

}  // namespace quorvane::engine
