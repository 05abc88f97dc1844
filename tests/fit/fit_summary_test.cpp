#include "fit/fit_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fit/synthetic_data.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using models::Equation;
using models::Parameter;

// The equation written out follows the model's order: its formula holds K''0
// exactly where the order leaves K''0 free, and every value the model uses
// is there to the last digit.
TEST(FitSummary, EquationTextFollowsTheModelAndItsValues) {
  struct Shape {
    Equation equation;
    int order;
  };
  const Shape shapes[] = {{Equation::Murnaghan, 3},      {Equation::BirchMurnaghan, 2},
                          {Equation::BirchMurnaghan, 3}, {Equation::BirchMurnaghan, 4},
                          {Equation::Vinet, 2},          {Equation::Vinet, 3},
                          {Equation::NaturalStrain, 2},  {Equation::NaturalStrain, 3},
                          {Equation::NaturalStrain, 4},  {Equation::Tait, 4}};
  for (const Shape& shape : shapes) {
    models::Model model = models::DefaultModel(
        shape.equation, shape.order, models::Thermal::Einstein, models::Arithmetic::Textbook);
    model[Parameter::V0] = 0.1 + 74.7;
    models::ApplyImpliedCoefficients(model);
    const std::string name =
        std::string(models::Info(shape.equation).name) + " " + std::to_string(shape.order);
    const std::string text = FittedEquationText(model);
    const std::string formula = text.substr(0, text.find(", with "));
    const bool freeKpp = models::ListedRole(model, Parameter::Kpp0) == models::Role::Free;
    EXPECT_EQ(formula.find("K''0") != std::string::npos, freeKpp) << name << ": " << formula;
    EXPECT_NE(text.find("V0 = 74.8,"), std::string::npos) << name << ": " << text;
    EXPECT_NE(text.find("theta0 = "), std::string::npos) << name << ": " << text;
  }
}

// Points beyond 3 sigma are named, those within are not; with unit weights
// the sigma is the fit's own scatter.
TEST(FitSummary, NamesOutliersBeyondThreeSigma) {
  models::Model truth = models::DefaultModel(Equation::Vinet, 3, models::Thermal::Linear,
                                             models::Arithmetic::Calculator);
  truth[Parameter::Tref] = 298.0;
  for (bool weighted : {true, false}) {
    FitData data = testing::SyntheticData(truth, {298}, 40);
    // A scatter of 1 sigma either way, no curve can follow; one point 7
    // sigma out and one 2.5 sigma out.
    for (std::size_t i = 0; i < data.points.size(); ++i) {
      data.points[i].P += i % 2 ? 0.01 : -0.01;
      if (weighted) data.points[i].sigP = 0.01;
    }
    data.points[7].P += 0.06;
    data.points[12].P -= 0.015;
    FitRequest request;
    request.start = truth;
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << result.failure;
    EXPECT_EQ(Outliers(result), std::vector<std::size_t>{7}) << (weighted ? "weighted" : "unit");
    EXPECT_GT(PressureRSquared(result), 0.999);
    EXPECT_LT(PressureRSquared(result), 1.0);
  }
}

}  // namespace
}  // namespace quorvane::fit
