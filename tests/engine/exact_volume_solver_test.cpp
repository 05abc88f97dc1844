#include "engine/exact_volume_solver.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/isothermal_curve.h"
#include "engine/isothermal_eos.h"
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

TEST(ExactVolumeSolver, NeedsFarFewerEvaluationsThanTheSearchAcrossAnIsotherm) {
  for (int type = 1; type <= 4; ++type) {
    const EosParameters p = With(static_cast<EosType>(type), 3, 4.0, 160.0);
    for (int i = 1; i <= 100; ++i) {
      const VolumeSolution s = SolveVolumeExactly(p, i * 1.0, 298.0);
      ASSERT_TRUE(s.converged);
      EXPECT_LE(s.evaluations, 8) << "type " << type << ", P = " << i;
    }
  }
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
