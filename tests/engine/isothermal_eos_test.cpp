#include "engine/isothermal_eos.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::engine {
namespace {

struct PressureCase {
  const char* name;
  EosType type;
  EosOrder order;
  double P;
};

EosParameters StartUpWith(EosType type, EosOrder order) {
  EosParameters p;
  p.type = type;
  p.order = order;
  UpdateImpliedCoefficients(p);
  return p;
}

// The start-up parameters with the implied coefficients, V = 9, T = Tref.
const PressureCase kStartUpCases[] = {
    {"Murnaghan", EosType::Murnaghan, 3, 13.103947568968149},
    {"BirchMurnaghanOrder2", EosType::BirchMurnaghan, 2, 13.010144336152795},
    {"BirchMurnaghanOrder3", EosType::BirchMurnaghan, 3, 13.010144336152795},
    {"BirchMurnaghanOrder4", EosType::BirchMurnaghan, 4, 13.110604929350357},
    {"VinetOrder2", EosType::Vinet, 2, 11.106544621629402},
    {"VinetOrder3", EosType::Vinet, 3, 12.97250754589492},
    {"NaturalStrainOrder2", EosType::NaturalStrain, 2, 11.706723961980705},
    {"NaturalStrainOrder3", EosType::NaturalStrain, 3, 12.940150435278825},
    {"NaturalStrainOrder4", EosType::NaturalStrain, 4, 13.091763959406979},
    {"UnknownTypeComputesAsMurnaghan", static_cast<EosType>(9), 3, 13.103947568968149},
};

class StartUpPressure : public testing::TestWithParam<PressureCase> {};

TEST_P(StartUpPressure, AtNineTenthsOfV0) {
  const PressureCase& c = GetParam();
  EXPECT_EQ(PressureFromVolume(StartUpWith(c.type, c.order), 9.0, 298.0), c.P);
}

INSTANTIATE_TEST_SUITE_P(EveryType, StartUpPressure, testing::ValuesIn(kStartUpCases),
                         [](const auto& row) { return std::string(row.param.name); });

// V0 = 8, K0 = 160, K'0 = 5.2, K''0 = -0.04 (used as given), alpha1 = 1.5,
// dKdT = -0.03, at V = 7.5 and T = 1200: every term of every formula is active.
const PressureCase kHotCases[] = {
    {"Murnaghan", EosType::Murnaghan, 3, 15.837237996641099},
    {"BirchMurnaghanOrder2", EosType::BirchMurnaghan, 2, 14.838570729177126},
    {"BirchMurnaghanOrder3", EosType::BirchMurnaghan, 3, 15.690046356123226},
    {"BirchMurnaghanOrder4", EosType::BirchMurnaghan, 4, 15.71744608933902},
    {"VinetOrder2", EosType::Vinet, 2, 15.638884832284802},
    {"VinetOrder3", EosType::Vinet, 3, 15.638884832284802},
    {"NaturalStrainOrder2", EosType::NaturalStrain, 2, 13.522545401567822},
    {"NaturalStrainOrder3", EosType::NaturalStrain, 3, 15.528479594688239},
    {"NaturalStrainOrder4", EosType::NaturalStrain, 4, 15.70520248677438},
};

class HotPressure : public testing::TestWithParam<PressureCase> {};

TEST_P(HotPressure, UsesTheThermalModulusAndVolume) {
  const PressureCase& c = GetParam();
  EosParameters p;
  p.type = c.type;
  p.order = c.order;
  p.V0 = 8.0;
  p.K0 = 160.0;
  p.Kp0 = 5.2;
  p.Kpp0 = -0.04;
  p.alpha1 = 1.5;
  p.dKdT = -0.03;
  EXPECT_EQ(PressureFromVolume(p, 7.5, 1200.0), c.P);
}

INSTANTIATE_TEST_SUITE_P(EveryType, HotPressure, testing::ValuesIn(kHotCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PressureFromVolume, IsExactlyZeroAtTheZeroPressureVolumeForEveryTypeAndOrder) {
  for (int type = 0; type <= 5; ++type) {
    for (EosOrder order = 1; order <= 5; ++order) {
      EosParameters p;
      p.type = static_cast<EosType>(type);
      p.order = order;
      p.Kp0 = 5.3;
      p.Kpp0 = -0.07;
      p.alpha1 = 2.5;
      const double T = 1234.5;
      const double VT0 = 10.37350460342825;  // V(T,0) of this set at T
      EXPECT_EQ(PressureFromVolume(p, VT0, T), 0.0) << "type " << type << " order " << order;
    }
  }
}

TEST(PressureFromVolume, HeatingAtFixedVolumeRaisesThePressure) {
  const EosParameters p = StartUpWith(EosType::BirchMurnaghan, 3);
  EXPECT_EQ(PressureFromVolume(p, 9.0, 298.0), 13.010144336152795);
  EXPECT_EQ(PressureFromVolume(p, 9.0, 900.0), 13.062876857672794);
}

TEST(PressureFromVolume, NonPositiveVolumesGiveNonFinitePressures) {
  for (int type = 1; type <= 4; ++type) {
    const EosParameters p = StartUpWith(static_cast<EosType>(type), 3);
    // -1 matters for Murnaghan: with K' = 4 the power of a negative x is finite.
    for (double V : {0.0, -1.0, -0.0}) {
      const double P = PressureFromVolume(p, V, 298.0);
      EXPECT_FALSE(std::isfinite(P)) << "type " << type << " V " << V << " P " << P;
    }
  }
}

struct ExtremeCase {
  const char* name;
  EosOrder order;
  double Kp0;
  double V;
  double P;  // NAN: not a number
};

// Far outside any real compression the powers overflow; with and without the
// higher-order bracket the result must be what the full formula gives.
const ExtremeCase kExtremeCases[] = {
    {"Order2Huge", 2, 4.0, 1e-120, 3.231580480097596e+284},
    {"Order3Huge", 3, 4.0, 1e-120, 3.231580480097596e+284},
    {"Order3BracketOverflows", 3, 4.5, 1e-120, INFINITY},
    {"Order2FirstPowerOverflows", 2, 4.0, 1e-140, INFINITY},
    {"Order4FirstPowerOverflows", 4, 4.5, 1e-140, INFINITY},
    {"Order2BothPowersOverflow", 2, 4.0, 1e-200, NAN},
    {"Order3BothPowersOverflow", 3, 4.5, 1e-240, NAN},
    {"Order3FarExpanded", 3, 4.0, 1e300, 0.0},
};

class ExtremeBirchMurnaghan : public testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeBirchMurnaghan, OverflowsAsTheFullFormulaDoes) {
  const ExtremeCase& c = GetParam();
  EosParameters p;
  p.order = c.order;
  p.Kp0 = c.Kp0;
  UpdateImpliedCoefficients(p);
  const double P = PressureFromVolume(p, c.V, 298.0);
  if (std::isnan(c.P)) {
    EXPECT_TRUE(std::isnan(P)) << P;
  } else {
    EXPECT_EQ(P, c.P);
  }
}

INSTANTIATE_TEST_SUITE_P(BirchMurnaghan, ExtremeBirchMurnaghan, testing::ValuesIn(kExtremeCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::engine
