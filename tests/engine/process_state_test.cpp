#include "engine/process_state.h"

#include <gtest/gtest.h>

namespace quorvane::engine {
namespace {

TEST(ProcessState, StartsWithTheStartUpParameters) {
  const EosParameters& p = TheEosParameters();
  EXPECT_EQ(p.precision, 7);
  EXPECT_EQ(p.V0, 10.0);
  EXPECT_EQ(p.K0, 100.0);
  EXPECT_EQ(p.Kp0, 4.0);
  EXPECT_EQ(p.Kpp0, 0.0);
  EXPECT_EQ(p.alpha0, 2.0);
  EXPECT_EQ(p.alpha1, 0.0);
  EXPECT_EQ(p.dKdT, -0.019999999552965164);
  EXPECT_EQ(p.Tref, 298.0);
  EXPECT_EQ(p.type, EosType::BirchMurnaghan);
  EXPECT_EQ(p.order, 3);
  EXPECT_EQ(&TheWorkingPoint(), &TheWorkingPoint());
}

// The argument-less operations read whatever the process-wide set holds now.
TEST(ProcessState, OperationsFollowTheProcessWideParameters) {
  EosParameters& p = TheEosParameters();
  const EosParameters saved = p;
  UpdateImpliedCoefficients();
  EXPECT_EQ(p.Kpp0, -0.038888888359069826);
  EXPECT_EQ(PressureFromVolume(9.0, 900.0), 13.062876857672794);
  EXPECT_EQ(VolumeFromPressure(10.0, 298.0), 9.190194525163582);
  EXPECT_EQ(ZeroPressureVolume(1298.0), 10.202013400267557);
  EXPECT_EQ(TemperatureFromZeroPressureVolume(10.5), 2737.5082084716023);
  EXPECT_EQ(ThermalBulkModulus(1298.0), 80.00000044703484);

  p.type = EosType::Vinet;
  UpdateImpliedCoefficients();
  EXPECT_EQ(PressureFromVolume(9.0, 298.0), 12.97250754589492);
  EXPECT_EQ(VolumeFromPressure(10.0, 298.0), 9.188952485155136);
  p = saved;
}

}  // namespace
}  // namespace quorvane::engine
