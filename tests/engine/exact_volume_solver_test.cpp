#include "engine/exact_volume_solver.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/isothermal_curve.h"
#include "engine/isothermal_eos.h"
#include "engine/nearest_double_walk.h"
#include "engine/thermal_model.h"
#include "engine/volume_solver.h"

namespace quorvane::engine {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Isotherm {
  std::string name;
  EosParameters parameters;
  double T;
};

EosParameters With(EosType type, EosOrder order, double Kp0, double K0 = 100.0) {
  EosParameters p;
  p.type = type;
  p.order = order;
  p.K0 = K0;
  p.Kp0 = Kp0;
  UpdateImpliedCoefficients(p);
  return p;
}

// Every type at every order, with K'0 below, at and above 4 so that each term
// of each formula is live somewhere, at Tref and at a temperature where both
// V(T,0) and K(T) have moved.
std::vector<Isotherm> EveryTypeAndOrder() {
  std::vector<Isotherm> isotherms;
  const char* names[] = {"", "Murnaghan", "BirchMurnaghan", "Vinet", "NaturalStrain"};
  for (int type = 1; type <= 4; ++type) {
    for (EosOrder order = 2; order <= 4; ++order) {
      for (double Kp0 : {3.5, 4.0, 5.5}) {
        for (double T : {298.0, 1500.0}) {
          EosParameters p = With(static_cast<EosType>(type), order, Kp0, 160.0);
          if (order == 4) p.Kpp0 *= 1.5;
          p.alpha1 = 1.0;
          isotherms.push_back({std::string(names[type]) + "Order" + std::to_string(order) + "Kp" +
                                   std::to_string(static_cast<int>(Kp0 * 10)) + "T" +
                                   std::to_string(static_cast<int>(T)),
                               p, T});
        }
      }
    }
  }
  return isotherms;
}

double Residual(const Isotherm& iso, double V, double P) {
  return std::fabs(PressureFromVolume(iso.parameters, V, iso.T) - P);
}

// Targets from well into expansion to twenty times K0, denser near zero.
std::vector<double> DenseTargets() {
  std::vector<double> targets;
  for (int i = -400; i <= 400; ++i) targets.push_back(i * 0.0375);
  for (int i = 1; i <= 400; ++i) targets.push_back(15.0 * std::pow(1.01, i));
  return targets;
}

class ExactInversion : public testing::TestWithParam<Isotherm> {};

TEST_P(ExactInversion, NoNeighbouringDoubleComesCloserAndTheSearchAgrees) {
  const Isotherm& iso = GetParam();
  int reached = 0;
  for (double P : DenseTargets()) {
    const VolumeSolution exact = SolveVolumeExactly(iso.parameters, P, iso.T);
    const VolumeSolution form = SolveVolumeFromPressure(iso.parameters, P, iso.T);
    // Where the form's search converges on the branch, so does the exact
    // inversion, to the same volume within the search's tolerance.
    if (form.converged &&
        std::fabs(PressureFromVolume(iso.parameters, form.V, iso.T) - P) <= 1e-5 * std::fabs(P)) {
      ASSERT_TRUE(exact.converged) << "P = " << P;
      EXPECT_NEAR(exact.V, form.V, 1e-4 * form.V) << "P = " << P;
    }
    if (!exact.converged) {
      EXPECT_EQ(exact.V, ZeroPressureVolume(iso.parameters, iso.T)) << "P = " << P;
      continue;
    }
    ++reached;
    const double here = Residual(iso, exact.V, P);
    ASSERT_LE(here, Residual(iso, std::nextafter(exact.V, 0.0), P)) << "P = " << P;
    ASSERT_LE(here, Residual(iso, std::nextafter(exact.V, kInfinity), P)) << "P = " << P;
  }
  EXPECT_GT(reached, 700);
}

TEST_P(ExactInversion, PressureWithModulusIsThePressureAndItsDerivatives) {
  const Isotherm& iso = GetParam();
  const IsothermalCurve curve(iso.parameters, iso.T);
  const double VT0 = curve.ReferenceVolume();
  for (int i = 1; i <= 300; ++i) {
    const double V = VT0 * (0.3 + i * 0.004);
    const IsothermalCurve::PressureAndModulus at = curve.PressureWithModulus(V);
    ASSERT_EQ(at.P, PressureFromVolume(iso.parameters, V, iso.T)) << "V = " << V;
    const double h = V * 1e-6;
    const double slope = (curve.Pressure(V + h) - curve.Pressure(V - h)) / (2.0 * h);
    EXPECT_NEAR(at.K, -V * slope, 1e-6 * std::fabs(curve.BulkModulus()) + 1e-6 * std::fabs(at.K))
        << "V = " << V;
    const double dKdV =
        (curve.PressureWithModulus(V + h).K - curve.PressureWithModulus(V - h).K) / (2.0 * h);
    EXPECT_NEAR(at.dK, -V * dKdV, 1e-5 * std::fabs(curve.BulkModulus()) + 1e-5 * std::fabs(at.dK))
        << "V = " << V;
  }
}

// The batch must give every point the single call's solution to the last bit,
// evaluation count and flag, reached or not, whatever its neighbours in the
// batch do.
TEST_P(ExactInversion, TheBatchGivesEachPointTheSingleCallsSolution) {
  const Isotherm& iso = GetParam();
  const IsothermalCurve curve(iso.parameters, iso.T);
  std::vector<double> targets = DenseTargets();
  targets.insert(targets.end(), {0.0, -0.0, 1e-300, -40.0, 1e300, kInfinity,
                                 std::numeric_limits<double>::quiet_NaN()});
  std::vector<VolumeSolution> batch(targets.size());
  SolveVolumesExactly(curve, targets.data(), targets.size(), batch.data());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const VolumeSolution single = SolveVolumeExactly(curve, targets[i]);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(batch[i].V), std::bit_cast<std::uint64_t>(single.V))
        << "P = " << targets[i];
    ASSERT_EQ(batch[i].evaluations, single.evaluations) << "P = " << targets[i];
    ASSERT_EQ(batch[i].converged, single.converged) << "P = " << targets[i];
  }
}

INSTANTIATE_TEST_SUITE_P(EveryTypeAndOrder, ExactInversion, testing::ValuesIn(EveryTypeAndOrder()),
                         [](const auto& row) { return row.param.name; });

struct UnreachedCase {
  const char* name;
  EosType type;
  double P;
};

// Below the lowest pressure each curve reaches on expansion, beyond the
// Murnaghan asymptote -K0/K'0, and targets that are no numbers.
const UnreachedCase kUnreachedCases[] = {
    {"BirchMurnaghanBelowItsMinimum", EosType::BirchMurnaghan, -30.0},
    {"VinetBelowItsMinimum", EosType::Vinet, -30.0},
    {"NaturalStrainBelowItsMinimum", EosType::NaturalStrain, -30.0},
    {"MurnaghanBeyondItsAsymptote", EosType::Murnaghan, -40.0},
    {"NotANumber", EosType::BirchMurnaghan, std::numeric_limits<double>::quiet_NaN()},
    {"Infinite", EosType::Vinet, kInfinity},
    {"MinusInfinite", EosType::Murnaghan, -kInfinity},
};

class UnreachedTarget : public testing::TestWithParam<UnreachedCase> {};

TEST_P(UnreachedTarget, IsNotConvergedAndGivesTheZeroPressureVolume) {
  const UnreachedCase& c = GetParam();
  const VolumeSolution s = SolveVolumeExactly(With(c.type, 3, 4.0), c.P, 298.0);
  EXPECT_FALSE(s.converged);
  EXPECT_EQ(s.V, 10.0);
  EXPECT_LT(s.evaluations, 200);
}

INSTANTIATE_TEST_SUITE_P(StartUpParameters, UnreachedTarget, testing::ValuesIn(kUnreachedCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ExactVolumeSolver, ZeroPressureIsTheZeroPressureVolumeItself) {
  const EosParameters p = With(EosType::Vinet, 3, 4.0);
  const VolumeSolution s = SolveVolumeExactly(p, 0.0, 700.0);
  EXPECT_TRUE(s.converged);
  EXPECT_EQ(s.V, ZeroPressureVolume(p, 700.0));
}

// K(T) K''0 overflows, so the 4th-order term is not a number even at V(T,0).
TEST(ExactVolumeSolver, ZeroPressureIsNotReachedWhereThePressureIsNoNumber) {
  EosParameters p = With(EosType::BirchMurnaghan, 4, 4.0);
  p.Kpp0 = 1e308;
  const VolumeSolution s = SolveVolumeExactly(p, 0.0, 298.0);
  EXPECT_FALSE(s.converged);
  EXPECT_EQ(s.V, 10.0);
}

// A few steps to the root, then the walk's window and at most a move: about
// 7 evaluations on average, where the form's search takes 24.
TEST(ExactVolumeSolver, NeedsFarFewerEvaluationsThanTheSearchAcrossAnIsotherm) {
  constexpr int kMostEvaluations = 4 + NearestDoubleWalk::kWindow + 1;
  for (int type = 1; type <= 4; ++type) {
    const EosParameters p = With(static_cast<EosType>(type), 3, 4.0, 160.0);
    for (int i = 1; i <= 100; ++i) {
      const VolumeSolution s = SolveVolumeExactly(p, i * 1.0, 298.0);
      ASSERT_TRUE(s.converged);
      EXPECT_LE(s.evaluations, kMostEvaluations) << "type " << type << ", P = " << i;
    }
  }
}

// A uniform draw from [low, high) that is the same on every platform, unlike
// the standard distributions.
class Draw {
 public:
  explicit Draw(std::uint64_t seed) : bits_(seed) {}
  double Between(double low, double high) {
    return low + (high - low) * static_cast<double>(bits_() >> 11) * 0x1p-53;
  }

 private:
  std::mt19937_64 bits_;
};

// An isotherm of the type and order with drawn parameters: stiff and soft,
// K'0 from 2.5 to 8, K''0 at 4th order off its implied value, at a drawn
// temperature.
Isotherm DrawnIsotherm(Draw& draw, EosType type, EosOrder order) {
  EosParameters p = With(type, order == 4 ? 3 : order, draw.Between(2.5, 8.0),
                         std::exp(draw.Between(std::log(5.0), std::log(500.0))));
  p.order = order;
  if (order == 4) p.Kpp0 *= draw.Between(0.5, 2.0);
  p.V0 = std::exp(draw.Between(0.0, std::log(200.0)));
  p.alpha1 = draw.Between(0.0, 2.0);
  return {"", p, draw.Between(100.0, 2000.0)};
}

// Targets mostly under compression up to twice K(T), some in tension, a few
// within the rounding of the pressure at V(T,0).
std::vector<double> DrawnTargets(Draw& draw, double K, int count) {
  std::vector<double> targets;
  for (int i = 0; i < count; ++i) {
    const int kind = i % 20;
    if (kind == 0) {
      targets.push_back(draw.Between(-1.0, 1.0) * 1e-14 * K);
    } else if (kind < 4) {
      targets.push_back(draw.Between(-0.08, 0.0) * K);
    } else {
      targets.push_back(draw.Between(0.0, 2.0) * K);
    }
  }
  return targets;
}

double Stepped(double V, int steps) {
  for (; steps < 0; ++steps) V = std::nextafter(V, 0.0);
  for (; steps > 0; --steps) V = std::nextafter(V, kInfinity);
  return V;
}

// The promise of the exact inversion, over many isotherms of every type and
// order the form offers: no double within the walk's reach on either side of
// the volume returned gives a pressure strictly nearer the target, and the
// batch returns the very same volume.
TEST(ExactVolumeSolver, NoDoubleWithinReachGivesAPressureNearerTheTarget) {
  constexpr int kReach = NearestDoubleWalk::kReach;
  constexpr int kIsothermsPerCurve = 40;
  constexpr int kTargetsPerIsotherm = 300;
  const struct {
    EosType type;
    EosOrder order;
  } kCurves[] = {
      {EosType::Murnaghan, 3},      {EosType::BirchMurnaghan, 2}, {EosType::BirchMurnaghan, 3},
      {EosType::BirchMurnaghan, 4}, {EosType::Vinet, 2},          {EosType::Vinet, 3},
      {EosType::NaturalStrain, 2},  {EosType::NaturalStrain, 3},  {EosType::NaturalStrain, 4}};
  Draw draw(20240611);
  int reached = 0;
  for (const auto& curve : kCurves) {
    for (int n = 0; n < kIsothermsPerCurve; ++n) {
      const Isotherm iso = DrawnIsotherm(draw, curve.type, curve.order);
      const IsothermalCurve isotherm(iso.parameters, iso.T);
      const std::vector<double> targets =
          DrawnTargets(draw, isotherm.BulkModulus(), kTargetsPerIsotherm);
      std::vector<VolumeSolution> batch(targets.size());
      SolveVolumesExactly(isotherm, targets.data(), targets.size(), batch.data());
      for (std::size_t i = 0; i < targets.size(); ++i) {
        const double P = targets[i];
        SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(curve.type) << " order "
                                        << curve.order << " isotherm " << n << " P = " << P);
        const VolumeSolution s = SolveVolumeExactly(isotherm, P);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(batch[i].V), std::bit_cast<std::uint64_t>(s.V));
        if (!s.converged) continue;
        ++reached;
        const double here = Residual(iso, s.V, P);
        for (int k = -kReach; k <= kReach; ++k) {
          ASSERT_LE(here, Residual(iso, Stepped(s.V, k), P)) << k << " doubles from V = " << s.V;
        }
      }
    }
  }
  EXPECT_GE(reached, 100000);
}

// Extreme but reachable targets, far from where the first guess lands.
TEST(ExactVolumeSolver, ReachesExtremeCompressions) {
  for (int type = 1; type <= 4; ++type) {
    const EosParameters p = With(static_cast<EosType>(type), 3, 4.0);
    for (double P : {1e6, 1e12, 1e30}) {
      const VolumeSolution s = SolveVolumeExactly(p, P, 298.0);
      ASSERT_TRUE(s.converged) << "type " << type << ", P = " << P;
      EXPECT_LE(std::fabs(PressureFromVolume(p, s.V, 298.0) - P), 1e-12 * P);
    }
  }
}

}  // namespace
}  // namespace quorvane::engine
