#include "fit/pressure_derivatives.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/isothermal_eos.h"
#include "fit/synthetic_data.h"

namespace quorvane::fit {
namespace {

using engine::EosParameters;
using engine::EosType;
using testing::kModels;
using testing::Model;

EosParameters Thermal(Model model) {
  EosParameters p;
  p.type = model.type;
  p.order = model.order;
  p.V0 = 75.0;
  p.K0 = 160.0;
  p.Kp0 = 4.6;
  p.Kpp0 = -0.05;
  p.alpha0 = 3.1;
  p.alpha1 = 1.7;
  p.dKdT = -0.025;
  return p;
}

// Central difference of the engine's own pressure, the reference the
// analytic derivatives must meet.
double NumericDerivative(EosParameters p, RefinedParameter parameter, double V, double T) {
  double& value = ParameterValue(p, parameter);
  const double h = 1e-5 * std::max(std::fabs(value), 1.0);
  const double centre = value;
  value = centre + h;
  const double up = engine::PressureFromVolume(p, V, T);
  value = centre - h;
  const double down = engine::PressureFromVolume(p, V, T);
  return (up - down) / (2.0 * h);
}

// Every analytic derivative against finite differences, for every equation
// and order, compressed and expanded, away from T(ref) so the thermal terms
// count. A wrong factor in any term of any equation shows here.
TEST(PressureDerivatives, MatchFiniteDifferencesForEveryEquationAndParameter) {
  for (const Model& model : kModels) {
    const EosParameters p = Thermal(model);
    for (double T : {298.0, 900.0}) {
      const IsothermDerivatives isotherm(p, T);
      for (double ratio : {0.62, 0.9, 1.04}) {
        const double V = ratio * p.V0;
        const PressurePoint at = isotherm.Evaluate(V);
        EXPECT_EQ(at.P, engine::PressureFromVolume(p, V, T));
        for (RefinedParameter parameter : kAllParameters) {
          const double expected = NumericDerivative(p, parameter, V, T);
          EXPECT_NEAR(at.dP[static_cast<int>(parameter)], expected,
                      1e-6 * (std::fabs(expected) + std::fabs(at.P) + 1.0))
              << "type " << static_cast<int>(model.type) << " order " << model.order << " "
              << ParameterName(parameter) << " T " << T << " V/V0 " << ratio;
        }
        const double hV = 1e-6 * V;
        const double dPdV =
            (engine::PressureFromVolume(p, V + hV, T) - engine::PressureFromVolume(p, V - hV, T)) /
            (2.0 * hV);
        EXPECT_NEAR(at.KT, -V * dPdV, 1e-6 * std::fabs(at.KT));
        const double dPdT = (engine::PressureFromVolume(p, V, T + 1e-3) -
                             engine::PressureFromVolume(p, V, T - 1e-3)) /
                            2e-3;
        EXPECT_NEAR(at.dPdT, dPdT, 1e-6 * (std::fabs(dPdT) + 1e-3));
      }
    }
  }
}

}  // namespace
}  // namespace quorvane::fit
