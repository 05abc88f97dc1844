#include "fit/normalised_pressure.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit/synthetic_data.h"

namespace quorvane::fit {
namespace {

engine::EosParameters BirchMurnaghan3(double K0, double Kp0) {
  engine::EosParameters p;
  p.V0 = 74.7;
  p.K0 = K0;
  p.Kp0 = Kp0;
  engine::UpdateImpliedCoefficients(p);
  return p;
}

// On a 3rd-order Birch-Murnaghan isotherm F is a straight line in f with
// intercept K0 and slope 3 K0 (K'0 - 4)/2, up to the engine's single-precision
// exponents. The f = 0 point is left out rather than giving 0/0.
TEST(NormalisedPressure, StraightLineOfBirchMurnaghanGivesK0AndKp0) {
  for (double Kp0 : {3.2, 4.0, 6.5}) {
    const engine::EosParameters p = BirchMurnaghan3(160.0, Kp0);
    const FitData data = testing::SyntheticData(p, {p.Tref}, 15);
    const std::vector<StrainPoint> points = EulerianStrainPoints(data, p.V0, 0.0);
    ASSERT_EQ(points.size(), 14u);
    const StrainLine line = FitStrainLine(points);
    EXPECT_FALSE(line.weighted);
    EXPECT_NEAR(line.intercept, 160.0, 1e-4) << Kp0;
    EXPECT_NEAR(line.ImpliedKp0(), Kp0, 1e-5) << Kp0;
  }
}

// A volume so large that f is -1/2 gives an infinite F: the line is the one
// through the other points, and says how many it left out.
TEST(NormalisedPressure, LineLeavesOutPointsWithoutAFiniteF) {
  const engine::EosParameters p = BirchMurnaghan3(160.0, 4.5);
  FitData data = testing::SyntheticData(p, {p.Tref}, 15);
  const StrainLine expected = FitStrainLine(EulerianStrainPoints(data, p.V0, 0.0));
  Observation huge = data.points.back();
  huge.V = 1e308;
  data.points.push_back(huge);
  const StrainLine line = FitStrainLine(EulerianStrainPoints(data, p.V0, 0.0));
  EXPECT_EQ(line.leftOut, 1);
  EXPECT_EQ(line.points, expected.points);
  EXPECT_EQ(line.intercept, expected.intercept);
  EXPECT_EQ(line.slope, expected.slope);
}

double Normalised(double P, double V, double V0) {
  const double f = 0.5 * (std::pow(V0 / V, 2.0 / 3.0) - 1.0);
  return P / (3.0 * f * std::pow(1.0 + 2.0 * f, 2.5));
}

// The propagated sigF against moving P, V and V0 by their standard
// deviations one at a time, at small strain where the terms are largest.
TEST(NormalisedPressure, PropagatesSigmasOfPressureVolumeAndV0) {
  for (double ratio : {0.995, 0.95, 0.8}) {
    const double V0 = 74.7, sigV0 = 0.01;
    Observation obs;
    obs.V = ratio * V0;
    obs.P = 9.0 * (1.0 - ratio) * 160.0;
    obs.sigP = 0.05;
    obs.sigV = 0.02;
    FitData data;
    data.points = {obs};
    const StrainPoint point = EulerianStrainPoints(data, V0, sigV0).front();
    const double F = Normalised(obs.P, obs.V, V0);
    const double h = 1e-6;
    const double byP = (Normalised(obs.P + h, obs.V, V0) - F) / h * obs.sigP;
    const double byV = (Normalised(obs.P, obs.V + h, V0) - F) / h * obs.sigV;
    const double byV0 = (Normalised(obs.P, obs.V, V0 + h) - F) / h * sigV0;
    EXPECT_NEAR(point.F, F, 1e-12 * std::fabs(F));
    EXPECT_NEAR(point.sigF, std::sqrt(byP * byP + byV * byV + byV0 * byV0), 1e-4 * point.sigF)
        << ratio;
  }
}

}  // namespace
}  // namespace quorvane::fit
