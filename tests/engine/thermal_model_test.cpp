#include "engine/thermal_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::engine {
namespace {

EosParameters WithExpansion(double alpha0, double alpha1) {
  EosParameters p;
  p.alpha0 = alpha0;
  p.alpha1 = alpha1;
  return p;
}

TEST(ZeroPressureVolume, IsV0AtTheReferenceTemperature) {
  EXPECT_EQ(ZeroPressureVolume(EosParameters{}, 298.0), 10.0);
  EXPECT_EQ(ZeroPressureVolume(WithExpansion(7.0, -4.0), 298.0), 10.0);
}

TEST(ZeroPressureVolume, IntegratesTheLinearExpansionCoefficient) {
  EXPECT_EQ(ZeroPressureVolume(EosParameters{}, 1298.0), 10.202013400267557);
  EXPECT_EQ(ZeroPressureVolume(WithExpansion(2.0, 3.0), 1500.0), 10.580821109307305);
  EXPECT_EQ(ZeroPressureVolume(WithExpansion(2.0, 3.0), -200.0), 9.893648968972599);
}

TEST(ZeroPressureVolume, WithoutExpansionIsV0AtEveryTemperature) {
  EXPECT_EQ(ZeroPressureVolume(WithExpansion(0.0, 0.0), 1000.0), 10.0);
}

TEST(ThermalBulkModulus, FallsLinearlyWithTemperature) {
  EXPECT_EQ(ThermalBulkModulus(EosParameters{}, 298.0), 100.0);
  EXPECT_EQ(ThermalBulkModulus(EosParameters{}, 1298.0), 80.00000044703484);
}

struct InverseCase {
  const char* name;
  double alpha1;
  double VT0;
  double T;
};

// alpha0 = 2, Tref = 298, V0 = 10. The threshold between the branches is
// alpha1 = 9.999999747378752e-06 as typed.
const InverseCase kInverseCases[] = {
    {"LinearAtV0", 0.0, 10.0, 298.0},
    {"LinearExpanded", 0.0, 10.5, 2737.5082084716023},
    {"LinearContracted", 0.0, 9.6, -1743.099726012758},
    {"JustBelowThresholdIsLinear", 9.9999997e-06, 10.5, 2737.5082084716023},
    {"ThresholdItselfIsQuadratic", 9.999999747378752e-06, 10.5, 2737.4896958523886},
    {"ThresholdAtV0OnlyNearTref", 9.999999747378752e-06, 10.0, 297.99999999478126},
    {"AboveThresholdIsQuadratic", 1e-5, 10.5, 2737.4896958493523},
    {"QuadraticExpanded", 3.0, 10.5, 1378.635117685278},
    {"QuadraticBelowTheMinimumClampsToIt", 3.0, 9.6, -666.6666666666667},
    {"NegativeQuadraticAboveTheMaximumClampsToIt", -3.0, 12.0, 666.6666666666667},
    {"NegativeQuadraticContracted", -3.0, 9.6, -1023.7124069323455},
};

class TemperatureFromZeroPressureVolumeBranches : public testing::TestWithParam<InverseCase> {};

TEST_P(TemperatureFromZeroPressureVolumeBranches, GiveTheTemperature) {
  const InverseCase& c = GetParam();
  EXPECT_EQ(TemperatureFromZeroPressureVolume(WithExpansion(2.0, c.alpha1), c.VT0), c.T);
}

INSTANTIATE_TEST_SUITE_P(LinearAndQuadratic, TemperatureFromZeroPressureVolumeBranches,
                         testing::ValuesIn(kInverseCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TemperatureFromZeroPressureVolume, TakesTheOtherRootWhereExpansionIsNegativeAtTref) {
  // a0 + a1 Tref < 0: the root returned is -2 a0 / a1 - Tref.
  EXPECT_EQ(TemperatureFromZeroPressureVolume(WithExpansion(-1.0, 2.0), 10.0), 702.0);
}

TEST(TemperatureFromZeroPressureVolume, RoundTripsOnTheQuadraticBranchOnly) {
  const EosParameters quadratic = WithExpansion(2.0, 2.0);
  EXPECT_EQ(TemperatureFromZeroPressureVolume(quadratic, ZeroPressureVolume(quadratic, 1000.0)),
            1000.0000000000017);
  // Below the threshold the inverse ignores alpha1 while V(T,0) still uses it.
  const EosParameters tiny = WithExpansion(2.0, 5e-6);
  EXPECT_EQ(TemperatureFromZeroPressureVolume(tiny, ZeroPressureVolume(tiny, 1000.0)),
            1000.0011389949976);
}

TEST(TemperatureFromZeroPressureVolume, WithoutExpansionIsNotFinite) {
  const EosParameters none = WithExpansion(0.0, 0.0);
  EXPECT_TRUE(std::isnan(TemperatureFromZeroPressureVolume(none, 10.0)));
  EXPECT_EQ(TemperatureFromZeroPressureVolume(none, 11.0), INFINITY);
  EXPECT_EQ(TemperatureFromZeroPressureVolume(none, 9.0), -INFINITY);
}

}  // namespace
}  // namespace quorvane::engine
