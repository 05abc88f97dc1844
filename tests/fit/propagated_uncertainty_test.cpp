#include "fit/propagated_uncertainty.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/isothermal_eos.h"
#include "engine/volume_solver.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"

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
  using models::Parameter;
  const engine::EosParameters p = Thermal();
  const double T = 800.0, P = 35.0;
  const double V = engine::VolumeFromPressure(p, P, T);
  for (Parameter parameter : {Parameter::V0, Parameter::K0, Parameter::Kp0, Parameter::alpha0,
                              Parameter::alpha1, Parameter::dKdT}) {
    models::Model up = models::FromCalculatorParameters(p), down = up;
    const double esd = 0.01 * std::fabs(up[parameter]);
    const ParameterCovariance covariance{{parameter}, {{esd * esd}}};
    const double h = 1e-3 * esd;
    up[parameter] += h;
    down[parameter] -= h;
    const engine::EosParameters pUp = models::CalculatorParameters(up);
    const engine::EosParameters pDown = models::CalculatorParameters(down);
    const double dV =
        (engine::VolumeFromPressure(pUp, P, T) - engine::VolumeFromPressure(pDown, P, T)) /
        (2.0 * h) * esd;
    const double dP =
        (engine::PressureFromVolume(pUp, V, T) - engine::PressureFromVolume(pDown, V, T)) /
        (2.0 * h) * esd;
    // The solver stops within 1e-5 of the pressure: its volumes carry that much.
    EXPECT_NEAR(VolumeUncertainty(p, covariance, V, T), std::fabs(dV), 2e-2 * std::fabs(dV) + 1e-7)
        << models::Info(parameter).name;
    EXPECT_NEAR(PressureUncertainty(p, covariance, V, T), std::fabs(dP), 1e-6 * std::fabs(dP))
        << models::Info(parameter).name;
  }
}

}  // namespace
}  // namespace quorvane::fit
