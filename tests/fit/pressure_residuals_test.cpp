// The residuals the solver sees against the models' own pressures and
// derivatives, point by point: whatever the residuals work out once and keep
// (an isotherm per temperature, the last pressures and Jacobian) must answer
// as a fresh evaluation would.
#include "fit/pressure_residuals.h"

#include <gtest/gtest.h>

#include <vector>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

TEST(PressureResiduals, KeptWorkAnswersAsAFreshEvaluation) {
  using namespace models;
  for (const Thermal thermal : {Thermal::Berman, Thermal::Einstein, Thermal::MieGruneisenDebye}) {
    Model model = DefaultModel(Equation::BirchMurnaghan, 3, thermal, Arithmetic::Textbook);
    model[Parameter::alpha0] = 3.0;
    const std::vector<Parameter> refined{Parameter::V0, Parameter::K0, Parameter::Kp0};
    // Temperatures that change from point to point and come back.
    FitData data;
    for (const double T : {300.0, 300.0, 900.0, 300.0, 1500.0, 1500.0, 900.0}) {
      Observation point;
      point.T = T;
      point.V = model[Parameter::V0] * (0.8 + 0.03 * static_cast<double>(data.points.size()));
      data.points.push_back(point);
    }
    PressureResiduals residuals(data, refined, model);
    const Eigen::VectorXd x = residuals.Start();
    const Eigen::VectorXd calculated = residuals.Pressures(x);
    Eigen::MatrixXd jacobian(residuals.values(), residuals.inputs());
    residuals.df(x, jacobian);
    // Asked again at the same x with other sigmas held: weighted by those.
    residuals.HoldSigmas(Eigen::VectorXd::Constant(residuals.values(), 2.0));
    Eigen::MatrixXd halved(residuals.values(), residuals.inputs());
    residuals.df(x, halved);
    for (std::size_t i = 0; i < data.points.size(); ++i) {
      const Observation& point = data.points[i];
      const auto row = static_cast<Eigen::Index>(i);
      SCOPED_TRACE(std::string(Info(thermal).name) + " at T = " + std::to_string(point.T));
      EXPECT_EQ(calculated[row], Pressure(model, point.V, point.T));
      const PressureGradient fresh = PressureWithGradient(model, point.V, point.T, refined, false);
      for (std::size_t j = 0; j < refined.size(); ++j) {
        const double dP = fresh.dP[Index(refined[j])];
        EXPECT_EQ(jacobian(row, static_cast<Eigen::Index>(j)), dP);
        EXPECT_EQ(halved(row, static_cast<Eigen::Index>(j)), dP / 2.0);
      }
    }
  }
}

}  // namespace
}  // namespace quorvane::fit
