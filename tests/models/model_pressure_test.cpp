#include "models/model_pressure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/isothermal_eos.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "reference_cases.h"

namespace quorvane::models {
namespace {

// Low (5 K), room and high temperature, V/V0 from 0.6 to 1.02, for every
// equation and thermal model.
TEST(ModelPressure, MeetsHighPrecisionValuesOfTheTextbookFormulas) {
  const std::vector<ReferenceCase> cases = ReadReferenceCases();
  ASSERT_GT(cases.size(), 100u);
  for (const ReferenceCase& c : cases) {
    ASSERT_EQ(ValidationError(c.model), "") << c.line;
    const double tolerance = 1e-13 * (std::fabs(c.P) + c.model[Parameter::K0]);
    EXPECT_NEAR(Pressure(c.model, c.V, c.T), c.P, tolerance) << c.line;
  }
}

// The formula a fit differentiates must be the engine's, to the last bit, for
// the classic equations in the calculator's arithmetic.
TEST(ModelPressure, CalculatorFormulaIsTheEnginesToTheLastBit) {
  const Equation classic[] = {Equation::Murnaghan, Equation::BirchMurnaghan, Equation::Vinet,
                              Equation::NaturalStrain};
  for (Equation equation : classic) {
    for (int order = 2; order <= 4; ++order) {
      if (!IsOfferedOrder(equation, order)) continue;
      Model model = DefaultModel(equation, order, Thermal::Linear, Arithmetic::Calculator);
      model[Parameter::Kp0] = 4.7;
      model[Parameter::Kpp0] = -0.06;
      model[Parameter::alpha1] = 1.3;
      ApplyImpliedCoefficients(model);
      for (double ratio : {0.55, 0.8, 0.97, 1.0, 1.1}) {
        for (double T : {1.0, 298.0, 1700.0}) {
          const double V = ratio * model[Parameter::V0];
          const double engine = engine::PressureFromVolume(CalculatorParameters(model), V, T);
          EXPECT_EQ(ModelPressure(model, model.values, V, T), engine)
              << Info(equation).name << " " << order << " V " << V << " T " << T;
        }
      }
    }
  }
}

double CentralDifference(Model model, int slot, double V, double T) {
  double& value = slot == kParameterCount       ? V
                  : slot == kParameterCount + 1 ? T
                                                : model.values[slot];
  const double centre = value;
  const double h = 1e-4 * std::max(std::fabs(centre), 1.0);
  value = centre + h;
  const double up = Pressure(model, V, T);
  value = centre - h;
  const double down = Pressure(model, V, T);
  return (up - down) / (2.0 * h);
}

// The classic equations at every order the calculator offers, in its
// arithmetic, away from T(ref) and with alpha1 set so the thermal terms count.
std::vector<ReferenceCase> CalculatorCases() {
  std::vector<ReferenceCase> cases;
  const Equation classic[] = {Equation::Murnaghan, Equation::BirchMurnaghan, Equation::Vinet,
                              Equation::NaturalStrain};
  for (Equation equation : classic) {
    for (int order = 2; order <= 4; ++order) {
      if (!IsOfferedOrder(equation, order)) continue;
      Model model = DefaultModel(equation, order, Thermal::Linear, Arithmetic::Calculator);
      model[Parameter::V0] = 75.0;
      model[Parameter::K0] = 160.0;
      model[Parameter::Kp0] = 4.6;
      model[Parameter::Kpp0] = -0.05;
      model[Parameter::alpha0] = 3.1;
      model[Parameter::alpha1] = 1.7;
      model[Parameter::dKdT] = -0.025;
      ApplyImpliedCoefficients(model);
      for (double T : {298.0, 900.0}) {
        for (double ratio : {0.62, 0.9, 1.04}) {
          const std::string line = std::string(Info(equation).name) + " " + std::to_string(order) +
                                   " calculator, V/V0 " + std::to_string(ratio) + ", T " +
                                   std::to_string(T);
          cases.push_back({model, ratio * model[Parameter::V0], T, 0.0, line});
        }
      }
    }
  }
  return cases;
}

// Every derivative a fit uses, of every reference model and of the
// calculator's own, against central differences of the pressure itself.
TEST(ModelPressure, AutomaticDerivativesMeetCentralDifferences) {
  std::vector<ReferenceCase> cases;
  const std::vector<ReferenceCase> reference = ReadReferenceCases();
  for (std::size_t i = 0; i < reference.size(); i += 7) cases.push_back(reference[i]);
  for (const ReferenceCase& c : CalculatorCases()) cases.push_back(c);
  for (const ReferenceCase& c : cases) {
    const PressureGradient gradient = PressureWithGradient(c.model, c.V, c.T);
    EXPECT_EQ(gradient.P, Pressure(c.model, c.V, c.T));
    // A fit asks for the few it refines: the same numbers, the same pressure.
    const Parameter few[] = {Parameter::K0, Parameter::V0, Parameter::Tref};
    const PressureGradient some = PressureWithGradient(c.model, c.V, c.T, few, true);
    EXPECT_EQ(some.P, gradient.P) << c.line;
    for (Parameter parameter : few)
      EXPECT_EQ(some.dP[Index(parameter)], gradient.dP[Index(parameter)]);
    EXPECT_EQ(some.dPdV, gradient.dPdV) << c.line;
    EXPECT_EQ(some.dPdT, gradient.dPdT) << c.line;
    for (int slot = 0; slot < kParameterCount + 2; ++slot) {
      if (slot < kParameterCount && RoleOf(c.model, static_cast<Parameter>(slot)) != Role::Free) {
        continue;
      }
      const double automatic = slot == kParameterCount       ? gradient.dPdV
                               : slot == kParameterCount + 1 ? gradient.dPdT
                                                             : gradient.dP[slot];
      const double numeric = CentralDifference(c.model, slot, c.V, c.T);
      EXPECT_NEAR(automatic, numeric, 2e-6 * std::fabs(numeric) + 1e-7)
          << "slot " << slot << ": " << c.line;
    }
    EXPECT_NEAR(BulkModulus(c.model, c.V, c.T), -c.V * gradient.dPdV,
                1e-12 * std::fabs(c.V * gradient.dPdV));
  }
}

// Where a Tait coefficient is singular (a infinite at 1 + K' + K K'' = 0, b
// and c zero at K K'' = K'^2 + K', both at K' = 0 with K'' implied) the
// pressure is the limit, in closed form, not 0 or 0/0; just beside each
// singular set it is continuous with it.
TEST(ModelPressure, TaitAtItsSingularCoefficientsIsTheLimit) {
  struct Case {
    const char* what;
    int order;
    double Kp;
    double Kpp;
    double (*limit)(double K, double Kp, double x);
  };
  const auto exponential = [](double K, double Kp, double x) {
    return K / (1.0 + Kp) * std::expm1((1.0 + Kp) * (1.0 - x));
  };
  const auto logarithmic = [](double K, double, double x) { return -K * std::log(x); };
  const auto logOfSum = [](double K, double Kp, double x) {
    const double s = 1.0 + Kp + (Kp * Kp + Kp);
    return -K * (1.0 + Kp) / s * std::log1p(-(1.0 - x) * s / (1.0 + Kp));
  };
  const Case cases[] = {
      {"a infinite", 4, 4.0, -0.05, exponential},
      {"b and c zero", 4, 4.0, 0.2, logOfSum},
      {"K' zero", 3, 0.0, 0.0, logarithmic},
      {"K' tiny", 3, 1e-16, 0.0, logarithmic},
  };
  for (const Case& c : cases) {
    Model model = DefaultModel(Equation::Tait, c.order, Thermal::Linear, Arithmetic::Textbook);
    model[Parameter::Kp0] = c.Kp;
    model[Parameter::Kpp0] = c.Kpp;
    ApplyImpliedCoefficients(model);
    const double K = model[Parameter::K0];
    for (const double x : {0.85, 0.9, 0.999999, 1.1}) {
      const double V = x * model[Parameter::V0];
      const double want = c.limit(K, c.Kp, x);
      EXPECT_NEAR(Pressure(model, V, 298.0), want, 1e-13 * (std::fabs(want) + K))
          << c.what << " at V/V0 = " << x;
      Model beside = model;
      beside[Parameter::Kpp0] *= 1.0 + 1e-9;
      beside[Parameter::Kp0] += c.order == 3 ? 1e-9 : 0.0;
      if (c.order == 3) ApplyImpliedCoefficients(beside);
      EXPECT_NEAR(Pressure(beside, V, 298.0), want, 1e-7 * (std::fabs(want) + K))
          << c.what << " beside, at V/V0 = " << x;
    }
  }
}

TEST(ModelPressure, NoPressureOutsideTheModelsDomain) {
  const Model mgd =
      DefaultModel(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  const Model calculator =
      DefaultModel(Equation::BirchMurnaghan, 3, Thermal::Linear, Arithmetic::Calculator);
  EXPECT_TRUE(std::isnan(Pressure(mgd, 10.0, 0.0)));
  EXPECT_TRUE(std::isnan(Pressure(mgd, 0.0, 300.0)));
  EXPECT_TRUE(std::isnan(Pressure(calculator, -1.0, 300.0)));
  EXPECT_FALSE(std::isnan(Pressure(calculator, 10.0, -5.0)));
}

}  // namespace
}  // namespace quorvane::models
