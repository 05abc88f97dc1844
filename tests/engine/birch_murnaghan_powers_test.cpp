#include "engine/birch_murnaghan_powers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine/isothermal_curve.h"

namespace quorvane::engine {
namespace {

// Bit patterns, so that a NaN matches a NaN and -0 does not match +0.
std::uint64_t Bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

std::vector<double> Uniform(double low, double high, int count, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> draw(low, high);
  std::vector<double> x(count);
  for (double& v : x) v = draw(rng);
  return x;
}

std::vector<double> Specials() {
  const double inf = std::numeric_limits<double>::infinity();
  return {0.5,
          2.0,
          1.0,
          std::nextafter(0.5, 0.0),
          std::nextafter(2.0, 3.0),
          std::nextafter(1.0, 0.0),
          std::nextafter(1.0, 2.0),
          0.0,
          -0.0,
          -1.0,
          -0.75,
          std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::max(),
          inf,
          -inf,
          std::numeric_limits<double>::quiet_NaN(),
          0.125,
          8.0,
          1e-300,
          1e300};
}

// Every power must be the C library's own double: the fast route may only
// answer where it has proved that, on lanes in and out of its range alike.
TEST(BirchMurnaghanPowers, EveryPowerIsTheLibrarysDouble) {
  const struct {
    const char* name;
    std::vector<double> x;
  } cases[] = {
      {"volumes from half to twice V(T,0)", Uniform(0.5, 2.0, 400000, 1)},
      {"the compressions of most tables", Uniform(1.0, 1.4, 200000, 2)},
      {"ratios far outside", Uniform(1e-3, 1e3, 50000, 3)},
      {"edges, zeros, infinities and NaN", Specials()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t n = c.x.size();
    std::vector<double> p7(n), p5(n), p2(n);
    BirchMurnaghanPowers(c.x.data(), n, p7.data(), p5.data(), p2.data());
    int wrong = 0;
    for (std::size_t i = 0; i < n && wrong < 5; ++i) {
      const double x = c.x[i];
      const bool same = Bits(p7[i]) == Bits(std::pow(x, IsothermalCurve::kE7)) &&
                        Bits(p5[i]) == Bits(std::pow(x, IsothermalCurve::kE5)) &&
                        Bits(p2[i]) == Bits(std::pow(x, IsothermalCurve::kE2));
      if (!same) {
        ++wrong;
        ADD_FAILURE() << "x = " << std::hexfloat << x;
      }
    }
  }
}

// An isotherm's batch gives each volume the pressure a single call gives, for
// every type and order, at lengths that leave partial groups and blocks.
TEST(IsothermalCurvePressures, EachIsTheSingleCallsDouble) {
  const std::vector<double> V = Uniform(4.0, 13.0, 1031, 4);
  for (int type = 1; type <= 4; ++type) {
    for (EosOrder order = 2; order <= 4; ++order) {
      EosParameters p;
      p.type = static_cast<EosType>(type);
      p.order = order;
      p.V0 = 11.24;
      p.K0 = 160.0;
      p.Kp0 = 4.7;
      UpdateImpliedCoefficients(p);
      const IsothermalCurve curve(p, 1000.0);
      for (std::size_t n : {std::size_t{0}, std::size_t{3}, std::size_t{257}, V.size()}) {
        std::vector<double> P(n);
        curve.Pressures(V.data(), n, P.data());
        for (std::size_t i = 0; i < n; ++i) {
          ASSERT_EQ(Bits(P[i]), Bits(curve.Pressure(V[i])))
              << "type " << type << " order " << order << " V " << V[i];
        }
      }
    }
  }
}

}  // namespace
}  // namespace quorvane::engine
