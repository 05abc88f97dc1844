#include "engine/state_point.h"

#include <gtest/gtest.h>

namespace quorvane::engine {
namespace {

EosParameters StartUp() {
  EosParameters p;
  UpdateImpliedCoefficients(p);
  return p;
}

void ExpectPoint(const WorkingPoint& got, const WorkingPoint& want) {
  EXPECT_EQ(got.P, want.P);
  EXPECT_EQ(got.T, want.T);
  EXPECT_EQ(got.V, want.V);
  EXPECT_EQ(got.VoverV00, want.VoverV00);
  EXPECT_EQ(got.VT0, want.VT0);
  EXPECT_EQ(got.VoverVT0, want.VoverVT0);
}

TEST(StateFromPressure, KeepsPressureAndTemperatureAsGiven) {
  ExpectPoint(
      StateFromPressure(StartUp(), 10.0, 900.0),
      {10.0, 900.0, 9.21163678905759, 0.9211636789057589, 10.12112772567301, 0.9101393677397799});
}

TEST(SolveStateFromPressure, ReportsASearchThatGaveUp) {
  const SolvedState s = SolveStateFromPressure(StartUp(), -30.0, 298.0);
  ExpectPoint(s.point, {-30.0, 298.0, 10.0, 1.0, 10.0, 1.0});
  EXPECT_FALSE(s.solution.converged);
  EXPECT_EQ(s.solution.evaluations, 10002);
}

TEST(StateFromVolume, DerivesPressureAndRatios) {
  ExpectPoint(StateFromVolume(StartUp(), 9.0, 900.0),
              {13.062876857672794, 900.0, 9.0, 0.9, 10.12112772567301, 0.8892289717054767});
}

TEST(StateFromVolumeOverV00, ScalesV0) {
  ExpectPoint(StateFromVolumeOverV00(StartUp(), 0.9, 298.0),
              {13.010144336152795, 298.0, 9.0, 0.9, 10.0, 0.9});
}

TEST(StateFromVolumeOverVT0, ScalesTheZeroPressureVolumeOfTheTemperature) {
  ExpectPoint(StateFromVolumeOverVT0(StartUp(), 1.0, 900.0),
              {0.0, 900.0, 10.12112772567301, 1.012112772567301, 10.12112772567301, 1.0});
}

TEST(StateFromZeroPressureVolume, DerivesTheTemperatureAndHoldsTheVolume) {
  ExpectPoint(StateFromZeroPressureVolume(StartUp(), 10.5, 9.0),
              {10.749381559724746, 2737.5082084716023, 9.0, 0.9, 10.5, 0.8571428571428571});
}

}  // namespace
}  // namespace quorvane::engine
