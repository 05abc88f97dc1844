#include "fit/propagated_uncertainty.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/isothermal_eos.h"
#include "engine/volume_solver.h"

namespace quorvane::fit {
namespace {

engine::EosParameters Thermal() {
  engine::EosParameters p;
  p.type = engine::EosType::Vinet;
  p.V0 = 40.2;
  p.K0 = 210.0;
  p.Kp0 = 4.4;
  p.alpha0 = 2.9;
  p.alpha1 = 0.8;
  p.dKdT = -0.024;
  engine::UpdateImpliedCoefficients(p);
  return p;
}

// Each parameter alone, with an esd of 1 % of its value: the propagated sigma
// must equal the change of V (at a known P) or of P (at a known V) that
// moving the parameter by its esd makes through the engine itself, the
// volume solver included.
TEST(PropagatedUncertainty, EqualsTheEngineResponseToEachParameter) {
  const engine::EosParameters p = Thermal();
  const double T = 800.0, P = 35.0;
  const double V = engine::VolumeFromPressure(p, P, T);
  for (RefinedParameter parameter :
       {RefinedParameter::V0, RefinedParameter::K0, RefinedParameter::Kp0, RefinedParameter::alpha0,
        RefinedParameter::alpha1, RefinedParameter::dKdT}) {
    const double esd = 0.01 * std::fabs(ParameterValue(p, parameter));
    const ParameterCovariance covariance{{parameter}, {{esd * esd}}};
    engine::EosParameters up = p, down = p;
    const double h = 1e-3 * esd;
    ParameterValue(up, parameter) += h;
    ParameterValue(down, parameter) -= h;
    const double dV =
        (engine::VolumeFromPressure(up, P, T) - engine::VolumeFromPressure(down, P, T)) /
        (2.0 * h) * esd;
    const double dP =
        (engine::PressureFromVolume(up, V, T) - engine::PressureFromVolume(down, V, T)) /
        (2.0 * h) * esd;
    // The solver stops within 1e-5 of the pressure: its volumes carry that much.
    EXPECT_NEAR(VolumeUncertainty(p, covariance, V, T), std::fabs(dV), 2e-2 * std::fabs(dV) + 1e-7)
        << ParameterName(parameter);
    EXPECT_NEAR(PressureUncertainty(p, covariance, V, T), std::fabs(dP), 1e-6 * std::fabs(dP))
        << ParameterName(parameter);
  }
}

}  // namespace
}  // namespace quorvane::fit
