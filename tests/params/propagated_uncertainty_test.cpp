#include "params/propagated_uncertainty.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/isothermal_eos.h"
#include "engine/volume_solver.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::params {
namespace {

using models::Parameter;

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
  for (Parameter parameter : {Parameter::V0, Parameter::K0, Parameter::Kp0, Parameter::alpha0,
                              Parameter::alpha1, Parameter::dKdT}) {
    const models::Model model = models::FromCalculatorParameters(p);
    const double esd = 0.01 * std::fabs(model[parameter]);
    const ParameterCovariance covariance{{parameter}, {{esd * esd}}};
    models::Model up = model, down = model;
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

models::Model Textbook(models::Equation equation, int order, models::Thermal thermal) {
  models::Model m = models::DefaultModel(equation, order, thermal, models::Arithmetic::Textbook);
  m[Parameter::V0] = 11.2;
  m[Parameter::K0] = 160.0;
  m[Parameter::Kp0] = 4.6;
  m[Parameter::Kpp0] = -0.02;
  m[Parameter::alpha1] = 0.9;
  m[Parameter::alpha2] = -0.4;
  m[Parameter::theta0] = 420.0;
  m[Parameter::q] = 1.3;
  m[Parameter::natoms] = 2.0;
  m[Parameter::Tref] = 300.0;
  models::ApplyImpliedCoefficients(m);
  return m;
}

// Every free parameter of models the calculator does not compute: the sigma
// of P is the response of the model's own pressure, and the sigma of V that
// of P over the slope of the isotherm.
TEST(PropagatedUncertainty, FollowsEveryModelsOwnPressure) {
  using models::Equation;
  using models::Thermal;
  const models::Model models[] = {
      Textbook(Equation::Tait, 4, Thermal::MieGruneisenDebye),
      Textbook(Equation::Vinet, 3, Thermal::Einstein),
      Textbook(Equation::BirchMurnaghan, 4, Thermal::Fei),
      Textbook(Equation::NaturalStrain, 3, Thermal::Berman),
  };
  const double V = 9.5, T = 1800.0;
  for (const models::Model& model : models) {
    const double h = 1e-6 * std::fabs(model[Parameter::V0]);
    const double KT =
        -V * (models::Pressure(model, V + h, T) - models::Pressure(model, V - h, T)) / (2.0 * h);
    for (int i = 0; i < models::kParameterCount; ++i) {
      const auto parameter = static_cast<Parameter>(i);
      if (models::RoleOf(model, parameter) != models::Role::Free) continue;
      const double esd = 0.01 * std::fabs(model[parameter]);
      const ParameterCovariance covariance{{parameter}, {{esd * esd}}};
      models::Model up = model, down = model;
      const double step = 1e-4 * esd;
      up[parameter] += step;
      down[parameter] -= step;
      const double dP =
          (models::Pressure(up, V, T) - models::Pressure(down, V, T)) / (2.0 * step) * esd;
      const std::string what = std::string(models::Info(model.equation).name) + " " +
                               models::Info(model.thermal).name + " " +
                               models::Info(parameter).name;
      const double sigP = PressureUncertainty(model, covariance, V, T);
      EXPECT_NEAR(sigP, std::fabs(dP), 1e-6 * std::fabs(dP) + 1e-12) << what;
      EXPECT_NEAR(VolumeUncertainty(model, covariance, V, T), sigP * V / KT, 1e-6 * sigP * V / KT)
          << what;
    }
  }
}

}  // namespace
}  // namespace quorvane::params
