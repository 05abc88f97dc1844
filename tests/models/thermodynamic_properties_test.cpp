#include "models/thermodynamic_properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "models/isentrope.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "models/thermal_equations.h"

namespace quorvane::models {
namespace {

struct StateCase {
  Model model;
  double V = 0.0;
  double T = 0.0;
  std::string line;
};

Model Physical(Equation equation, int order, Thermal thermal, Arithmetic arithmetic) {
  Model model = DefaultModel(equation, order, thermal, arithmetic);
  model[Parameter::V0] = 11.25;
  model[Parameter::K0] = 160.0;
  model[Parameter::Kp0] = 4.2;
  model[Parameter::Kpp0] = -0.03;
  model[Parameter::alpha0] = 3.0;
  model[Parameter::alpha1] = 1.1;
  model[Parameter::alpha2] = -0.4;
  model[Parameter::dKdT] = -0.02;
  model[Parameter::Tref] = 300.0;
  model[Parameter::theta0] = 760.0;
  model[Parameter::gamma0] = 1.5;
  model[Parameter::q] = 1.2;
  model[Parameter::natoms] = 2.0;
  ApplyImpliedCoefficients(model);
  return model;
}

// Every equation at every order with every thermal model, in the textbook
// arithmetic, and the calculator's family in its own, compressed and not,
// below, at and far above the Debye temperature.
std::vector<StateCase> CatalogueCases() {
  std::vector<StateCase> cases;
  for (int e = 0; e < kEquationCount; ++e) {
    const auto equation = static_cast<Equation>(e);
    for (int order = 2; order <= 4; ++order) {
      if (!IsOfferedOrder(equation, order)) continue;
      for (int t = 0; t < kThermalCount; ++t) {
        const auto thermal = static_cast<Thermal>(t);
        for (Arithmetic arithmetic : {Arithmetic::Textbook, Arithmetic::Calculator}) {
          Model model = Physical(equation, order, thermal, arithmetic);
          if (!ValidationError(model).empty()) continue;
          for (double ratio : {0.75, 0.97}) {
            for (double T : {200.0, 760.0, 2500.0}) {
              cases.push_back({model, ratio * model[Parameter::V0], T,
                               std::string(Info(equation).name) + " " + std::to_string(order) +
                                   " " + Info(thermal).name +
                                   (arithmetic == Arithmetic::Calculator ? " calculator" : "") +
                                   " V/V0 " + std::to_string(ratio) + " T " + std::to_string(T)});
            }
          }
        }
      }
    }
  }
  return cases;
}

double Relative(double a, double b) {
  return std::fabs(a - b) / std::max(std::fabs(b), 1e-300);
}

// The five-point central difference: its error is of fourth order in h, so
// that a small alpha left by two thermal terms that nearly cancel is still
// met closely.
template <class F>
double Slope(const F& f, double x, double h) {
  return (8.0 * (f(x + h) - f(x - h)) - (f(x + 2.0 * h) - f(x - 2.0 * h))) / (12.0 * h);
}

// Central differences of P(V,T) alone, evaluated by the model's double
// pressure: no derivative of the jet enters them.
struct Differences {
  double KT, Kp, alpha, dKdT;
};
Differences CentralDifferences(const Model& model, double V, double T) {
  const double h = 1e-3 * V;
  const double dT = 1e-2 * T;
  const auto K = [&](double v, double t) {
    return -v * Slope([&](double w) { return Pressure(model, w, t); }, v, h);
  };
  const double KT = K(V, T);
  const double dKdV = Slope([&](double v) { return K(v, T); }, V, h);
  const double alpha = Slope([&](double t) { return Pressure(model, V, t); }, T, dT) / KT;
  // (dK/dT)_P along the isobar through the state.
  const double pressure = Pressure(model, V, T);
  const double dKdT =
      Slope([&](double t) { return K(VolumeFromPressure(model, pressure, t).V, t); }, T, dT);
  return {KT, -dKdV / KT * V, alpha, dKdT};
}

TEST(ThermodynamicProperties, DerivativesMeetCentralDifferencesOfThePressure) {
  const std::vector<StateCase> cases = CatalogueCases();
  ASSERT_GT(cases.size(), 200u);
  for (const StateCase& c : cases) {
    const ThermodynamicProperties p = PropertiesAt(c.model, c.V, c.T);
    const Differences d = CentralDifferences(c.model, c.V, c.T);
    EXPECT_LT(Relative(p.KT, d.KT), 1e-7) << c.line;
    EXPECT_LT(Relative(p.Kp, d.Kp), 1e-5) << c.line;
    EXPECT_LT(Relative(p.alpha, d.alpha), 1e-5) << c.line;
    EXPECT_LT(Relative(p.dKdT, d.dKdT), 1e-4) << c.line;
    EXPECT_EQ(p.Pth, Pressure(c.model, c.V, c.T) - Pressure(c.model, c.V, c.model[Parameter::Tref]))
        << c.line;
  }
}

TEST(ThermodynamicProperties, ObeyTheThermodynamicIdentities) {
  for (const StateCase& c : CatalogueCases()) {
    const ThermodynamicProperties p = PropertiesAt(c.model, c.V, c.T);
    const PressureGradient g = PressureWithGradient(c.model, c.V, c.T);
    EXPECT_LT(Relative(p.alpha * p.KT, g.dPdT), 1e-13) << c.line;
    if (!HasHeatCapacity(c.model, std::nullopt)) {
      EXPECT_TRUE(std::isnan(p.CV) && std::isnan(p.gamma) && std::isnan(p.CP) && std::isnan(p.KS))
          << c.line;
      continue;
    }
    const double factor = 1.0 + p.alpha * p.gamma * c.T;
    EXPECT_LT(Relative(p.KS / p.KT, factor), 1e-14) << c.line;
    EXPECT_LT(Relative(p.CP / p.CV, factor), 1e-14) << c.line;
    // The thermodynamic gamma of Mie-Grueneisen-Debye is its gamma(V).
    const double gammaOfV =
        c.model[Parameter::gamma0] * std::pow(c.V / c.model[Parameter::V0], c.model[Parameter::q]);
    EXPECT_LT(Relative(p.gamma, gammaOfV), 1e-13) << c.line;
  }
}

TEST(ThermodynamicProperties, DebyeHeatCapacityHasItsLimits) {
  const Model model =
      Physical(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  const double V = model[Parameter::V0];
  const double n = model[Parameter::natoms];
  const double theta = model[Parameter::theta0];
  const double classical = 3.0 * n * kGasConstant;
  // Far above theta: 3nR (1 - u^2/20 + ...); far below: 12 pi^4/5 n R (T/theta)^3.
  struct Limit {
    double T;
    double expected;
    double tolerance;
  };
  const double pi4 = std::pow(std::numbers::pi, 4);
  const Limit limits[] = {
      {100.0 * theta, classical * (1.0 - 1.0 / 20.0 / 1e4), 1e-8},
      {1000.0 * theta, classical, 1e-7},
      {theta / 100.0, 12.0 * pi4 / 5.0 * n * kGasConstant * 1e-6, 1e-10},
      {theta / 400.0, 12.0 * pi4 / 5.0 * n * kGasConstant / 64e6, 1e-10},
  };
  for (const Limit& limit : limits) {
    EXPECT_LT(Relative(PropertiesAt(model, V, limit.T).CV, limit.expected), limit.tolerance)
        << "T " << limit.T;
  }
}

TEST(ThermodynamicProperties, EinsteinHeatCapacityNeedsTheAtomCount) {
  const Model model =
      Physical(Equation::BirchMurnaghan, 3, Thermal::Einstein, Arithmetic::Textbook);
  const double V = 0.9 * model[Parameter::V0];
  EXPECT_TRUE(std::isnan(PropertiesAt(model, V, 1000.0).CV));
  const double u = model[Parameter::theta0] / 1000.0;
  const double einstein =
      3.0 * 5.0 * kGasConstant * u * u * std::exp(u) / std::pow(std::expm1(u), 2.0);
  const ThermodynamicProperties p = PropertiesAt(model, V, 1000.0, 5.0);
  EXPECT_LT(Relative(p.CV, einstein), 1e-13);
  EXPECT_LT(Relative(p.KS / p.KT, 1.0 + p.alpha * p.gamma * 1000.0), 1e-14);
}

// The isentrope through (0, 1600 K) keeps the model's entropy, and its slope
// is the identity (dT/dP)_S = gamma T / K_S of the properties.
TEST(Isentrope, KeepsTheEntropyAndMeetsTheAdiabaticGradient) {
  for (Equation equation : {Equation::BirchMurnaghan, Equation::Vinet}) {
    for (double q : {0.0, 1.2, 3.0}) {
      Model model = Physical(equation, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
      model[Parameter::q] = q;
      const double T0 = 1600.0;
      const double V0 = VolumeFromPressure(model, 0.0, T0).V;
      const double S0 = Entropy(model, V0, T0);
      double guess = V0;
      for (double P : {25.0, 50.0, 100.0}) {
        const IsentropePoint point = IsentropeAt(model, V0, T0, P, guess);
        ASSERT_TRUE(point.converged) << P;
        guess = point.V;
        EXPECT_LT(Relative(Pressure(model, point.V, point.T), P), 1e-14) << P;
        EXPECT_LT(Relative(Entropy(model, point.V, point.T), S0), 1e-10) << P;
        const double h = 0.01;
        const double up = IsentropeAt(model, V0, T0, P + h, point.V).T;
        const double down = IsentropeAt(model, V0, T0, P - h, point.V).T;
        const ThermodynamicProperties p = PropertiesAt(model, point.V, point.T);
        EXPECT_LT(Relative((up - down) / (2.0 * h), p.gamma * point.T / p.KS), 1e-7)
            << "q " << q << " P " << P;
      }
    }
  }
}

TEST(Isentrope, OnlyForModelsWithAnEntropy) {
  for (Thermal thermal : {Thermal::Linear, Thermal::Fei, Thermal::Einstein}) {
    const Model model = Physical(Equation::Vinet, 3, thermal, Arithmetic::Textbook);
    EXPECT_FALSE(HasClosedFormIsentrope(model));
    EXPECT_FALSE(IsentropeAt(model, 11.0, 1000.0, 10.0, 11.0).converged);
  }
}

}  // namespace
}  // namespace quorvane::models
