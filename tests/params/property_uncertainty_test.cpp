#include "params/property_uncertainty.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "models/model_catalogue.h"
#include "models/model_volume.h"
#include "models/thermodynamic_properties.h"

namespace quorvane::params {
namespace {

using models::Parameter;

models::Model Mgd(models::Equation equation) {
  models::Model m = models::DefaultModel(equation, 3, models::Thermal::MieGruneisenDebye,
                                         models::Arithmetic::Textbook);
  m[Parameter::V0] = 11.25;
  m[Parameter::K0] = 160.0;
  m[Parameter::Kp0] = 4.1;
  m[Parameter::theta0] = 760.0;
  m[Parameter::gamma0] = 1.5;
  m[Parameter::q] = 1.3;
  m[Parameter::natoms] = 2.0;
  m[Parameter::Tref] = 300.0;
  models::ApplyImpliedCoefficients(m);
  return m;
}

// The properties with rho and Vphi, in one array.
std::array<double, 11> All(const models::Model& model, double V, double T, double M) {
  const models::ThermodynamicProperties p = models::PropertiesAt(model, V, T);
  const double rho = M / V;
  return {
      p.KT, p.Kp, p.alpha, p.dKdT, p.Pth, p.CV, p.gamma, p.CP, p.KS, rho, std::sqrt(p.KS / rho)};
}
std::array<double, 11> All(const PropertyUncertainties& s) {
  return {s.KT, s.Kp, s.alpha, s.dKdT, s.Pth, s.CV, s.gamma, s.CP, s.KS, s.rho, s.Vphi};
}

// Each parameter alone with an esd of 1 %: the sigma of every property must
// equal the change that moving the parameter makes in the property itself,
// at the volume held or, at the pressure held, with the volume searched again.
TEST(PropertyUncertainty, EqualsThePropertiesResponseToEachParameter) {
  const char* names[] = {"KT",    "Kp", "alpha", "dKdT", "Pth", "CV",
                         "gamma", "CP", "KS",    "rho",  "Vphi"};
  constexpr double kMolarMass = 40.3;
  for (models::Equation equation : {models::Equation::BirchMurnaghan, models::Equation::Vinet}) {
    const models::Model model = Mgd(equation);
    const double T = 2000.0, P = 60.0;
    const double V = models::VolumeFromPressure(model, P, T).V;
    for (Parameter parameter : {Parameter::V0, Parameter::K0, Parameter::Kp0, Parameter::theta0,
                                Parameter::gamma0, Parameter::q}) {
      const double esd = 0.01 * std::fabs(model[parameter]);
      const ParameterCovariance covariance{{parameter}, {{esd * esd}}};
      for (bool pressureHeld : {false, true}) {
        const double h = 1e-3 * esd;
        models::Model up = model, down = model;
        up[parameter] += h;
        down[parameter] -= h;
        const double Vup = pressureHeld ? models::VolumeFromPressure(up, P, T).V : V;
        const double Vdown = pressureHeld ? models::VolumeFromPressure(down, P, T).V : V;
        const auto a = All(up, Vup, T, kMolarMass);
        const auto b = All(down, Vdown, T, kMolarMass);
        const auto sigma = All(PropertyUncertaintiesAt(model, covariance, V, T, pressureHeld,
                                                       kMolarMass, std::nullopt));
        for (std::size_t i = 0; i < sigma.size(); ++i) {
          const double expected = std::fabs(a[i] - b[i]) / (2.0 * h) * esd;
          EXPECT_NEAR(sigma[i], expected, 1e-5 * expected + 1e-12)
              << names[i] << " by " << models::Info(parameter).name
              << (pressureHeld ? " at P" : " at V");
        }
      }
    }
  }
}

// Two correlated parameters: g' C g, with the cross term, not the sum of
// squares.
TEST(PropertyUncertainty, TakesTheCorrelationsIntoAccount) {
  const models::Model model = Mgd(models::Equation::BirchMurnaghan);
  const double V = 10.0, T = 1500.0;
  const double sK = 3.0, sKp = 0.1;
  const auto gK = All(PropertyUncertaintiesAt(model, {{Parameter::K0}, {{sK * sK}}}, V, T, false,
                                              std::nullopt, std::nullopt));
  const auto gKp = All(PropertyUncertaintiesAt(model, {{Parameter::Kp0}, {{sKp * sKp}}}, V, T,
                                               false, std::nullopt, std::nullopt));
  const double rho = -0.9;
  const ParameterCovariance both{{Parameter::K0, Parameter::Kp0},
                                 {{sK * sK, rho * sK * sKp}, {rho * sK * sKp, sKp * sKp}}};
  const auto joint =
      All(PropertyUncertaintiesAt(model, both, V, T, false, std::nullopt, std::nullopt));
  const models::ThermodynamicProperties p = models::PropertiesAt(model, V, T);
  const models::ThermodynamicProperties pK = [&] {
    models::Model m = model;
    m[Parameter::K0] += 1e-4;
    return models::PropertiesAt(m, V, T);
  }();
  const models::ThermodynamicProperties pKp = [&] {
    models::Model m = model;
    m[Parameter::Kp0] += 1e-6;
    return models::PropertiesAt(m, V, T);
  }();
  // K_T: both slopes positive, so a negative correlation narrows it.
  const double slopeK = (pK.KT - p.KT) / 1e-4 * sK;
  const double slopeKp = (pKp.KT - p.KT) / 1e-6 * sKp;
  ASSERT_GT(slopeK * slopeKp, 0.0);
  const double expected =
      std::sqrt(gK[0] * gK[0] + gKp[0] * gKp[0] + 2.0 * rho * std::fabs(slopeK * slopeKp));
  EXPECT_NEAR(joint[0], expected, 1e-4 * expected);
}

}  // namespace
}  // namespace quorvane::params
