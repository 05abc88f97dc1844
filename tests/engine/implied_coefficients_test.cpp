#include <gtest/gtest.h>

#include "engine/eos_parameters.h"

namespace quorvane::engine {
namespace {

struct ImpliedCase {
  const char* name;
  EosType type;
  EosOrder order;
  double Kp0;
  double Kpp0;
};

// Every case starts from K0 = 80, K'0 = 5.5 and a user K''0 of 0.25.
const ImpliedCase kImpliedCases[] = {
    {"MurnaghanClearsKpp0AtOrder2", EosType::Murnaghan, 2, 5.5, 0.0},
    {"MurnaghanClearsKpp0AtOrder3", EosType::Murnaghan, 3, 5.5, 0.0},
    {"MurnaghanClearsKpp0AtOrder4", EosType::Murnaghan, 4, 5.5, 0.0},
    {"BirchMurnaghanOrder2SetsKp0Then", EosType::BirchMurnaghan, 2, 4.0, -0.04861111044883728},
    {"BirchMurnaghanOrder3", EosType::BirchMurnaghan, 3, 5.5, -0.09548611044883729},
    {"BirchMurnaghanOrder4KeepsUserValues", EosType::BirchMurnaghan, 4, 5.5, 0.25},
    {"BirchMurnaghanUnknownOrder1Keeps", EosType::BirchMurnaghan, 1, 5.5, 0.25},
    {"BirchMurnaghanUnknownOrder5Keeps", EosType::BirchMurnaghan, 5, 5.5, 0.25},
    {"VinetOrder2SetsKp0Then", EosType::Vinet, 2, 1.0, -0.00277777761220932},
    {"VinetOrder3", EosType::Vinet, 3, 5.5, -0.12230902761220933},
    {"VinetOrder4StillImplied", EosType::Vinet, 4, 5.5, -0.12230902761220933},
    {"VinetUnknownOrderStillImplied", EosType::Vinet, 5, 5.5, -0.12230902761220933},
    {"NaturalStrainOrder2SetsKp0Then", EosType::NaturalStrain, 2, 2.0, -0.0125},
    {"NaturalStrainOrder3", EosType::NaturalStrain, 3, 5.5, -0.209375},
    {"NaturalStrainOrder4KeepsUserValues", EosType::NaturalStrain, 4, 5.5, 0.25},
    {"NaturalStrainUnknownOrderKeeps", EosType::NaturalStrain, 1, 5.5, 0.25},
    {"TypeZeroClearsKpp0", static_cast<EosType>(0), 2, 5.5, 0.0},
    {"TypeFiveClearsKpp0", static_cast<EosType>(5), 4, 5.5, 0.0},
    {"NegativeTypeClearsKpp0", static_cast<EosType>(-3), 3, 5.5, 0.0},
};

class ImpliedCoefficients : public testing::TestWithParam<ImpliedCase> {};

TEST_P(ImpliedCoefficients, MatchTheTypeAndOrder) {
  const ImpliedCase& c = GetParam();
  EosParameters p;
  p.type = c.type;
  p.order = c.order;
  p.K0 = 80.0;
  p.Kp0 = 5.5;
  p.Kpp0 = 0.25;
  UpdateImpliedCoefficients(p);
  EXPECT_EQ(p.Kp0, c.Kp0);
  EXPECT_EQ(p.Kpp0, c.Kpp0);
}

INSTANTIATE_TEST_SUITE_P(EveryTypeAndOrder, ImpliedCoefficients, testing::ValuesIn(kImpliedCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ImpliedCoefficients, StartUpSetGivesTheSinglePrecisionBirchValue) {
  EosParameters p;
  UpdateImpliedCoefficients(p);
  EXPECT_EQ(p.Kp0, 4.0);
  EXPECT_EQ(p.Kpp0, -0.038888888359069826);
}

TEST(ImpliedCoefficients, Order2OverwriteOfKp0SurvivesTheReturnToOrder3) {
  EosParameters p;
  p.Kp0 = 6.0;
  p.order = 2;
  UpdateImpliedCoefficients(p);
  p.order = 3;
  UpdateImpliedCoefficients(p);
  EXPECT_EQ(p.Kp0, 4.0);
  EXPECT_EQ(p.Kpp0, -0.038888888359069826);
}

TEST(ImpliedCoefficients, DoNotTouchTheOtherParameters) {
  EosParameters p;
  p.type = EosType::Vinet;
  p.order = 2;
  UpdateImpliedCoefficients(p);
  const EosParameters defaults;
  EXPECT_EQ(p.V0, defaults.V0);
  EXPECT_EQ(p.K0, defaults.K0);
  EXPECT_EQ(p.alpha0, defaults.alpha0);
  EXPECT_EQ(p.alpha1, defaults.alpha1);
  EXPECT_EQ(p.dKdT, defaults.dKdT);
  EXPECT_EQ(p.Tref, defaults.Tref);
  EXPECT_EQ(p.precision, defaults.precision);
  EXPECT_EQ(p.order, 2);
}

}  // namespace
}  // namespace quorvane::engine
