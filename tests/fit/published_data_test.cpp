#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/fit_data_input.h"
#include "fit/eos_fit.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

struct PublishedValue {
  models::Parameter parameter;
  double value;
  double esd;
};

// A published data set and the fit its authors made of it: the parameters
// they refined and those they held at the values given.
struct PublishedFit {
  const char* file;
  models::Equation equation;
  int order;
  double Tref;
  std::vector<PublishedValue> held;
  std::vector<PublishedValue> refined;
};

const std::vector<PublishedFit>& PublishedFits() {
  using P = models::Parameter;
  static const std::vector<PublishedFit> fits = {
      {"stishovite_nishihara2005_300K.csv",
       models::Equation::BirchMurnaghan,
       3,
       300.0,
       {},
       {{P::V0, 46.56, 0.01}, {P::K0, 296.0, 5.0}, {P::Kp0, 4.2, 0.4}}},
      {"stishovite_nishihara2005_pvt.csv",
       models::Equation::BirchMurnaghan,
       3,
       300.0,
       {{P::V0, 46.56, 0.0}, {P::K0, 296.0, 0.0}, {P::Kp0, 4.2, 0.0}},
       {{P::alpha0, 1.26, 0.11}, {P::alpha1, 1.29, 0.17}, {P::dKdT, -0.046, 0.005}}},
  };
  return fits;
}

FitData ReadPublished(const PublishedFit& published) {
  const std::string path = std::string(QUORVANE_FIT_DATA_DIR) + "/" + published.file;
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot open " << path;
  return app::ReadFitData(in, published.file, published.Tref);
}

// Every published value must lie within its published esd of ours, fitted as
// the authors fitted it: the same equation, the same refined parameters, and
// weights from the volumes' standard deviations.
TEST(PublishedData, FitReproducesThePublishedValuesWithinTheirEsd) {
  for (const PublishedFit& published : PublishedFits()) {
    SCOPED_TRACE(published.file);
    FitRequest request;
    request.start = models::DefaultModel(published.equation, published.order,
                                         models::Thermal::Linear, models::Arithmetic::Calculator);
    request.start[models::Parameter::Tref] = published.Tref;
    for (const PublishedValue& held : published.held) request.start[held.parameter] = held.value;
    models::ApplyImpliedCoefficients(request.start);
    for (const PublishedValue& refined : published.refined) {
      request.refined.push_back(refined.parameter);
    }
    const FitResult result = FitEos(ReadPublished(published), request);
    ASSERT_TRUE(result.converged);
    EXPECT_TRUE(result.weighted);
    for (const PublishedValue& expected : published.refined) {
      EXPECT_NEAR(result.model[expected.parameter], expected.value, expected.esd)
          << models::Info(expected.parameter).symbol;
    }
  }
}

// Published isothermal data need no starting values from the user: from the
// calculator's start-up values, every equation fits them by its default
// parameters, with nothing run away.
TEST(PublishedData, IsothermalDataFitWithoutGivenStarts) {
  const models::Equation equations[] = {models::Equation::Murnaghan,
                                        models::Equation::BirchMurnaghan, models::Equation::Vinet,
                                        models::Equation::NaturalStrain, models::Equation::Tait};
  for (const PublishedFit& published : PublishedFits()) {
    const FitData data = ReadPublished(published);
    if (!IsIsothermal(data)) continue;
    for (models::Equation equation : equations) {
      SCOPED_TRACE(std::string(published.file) + " " + models::Info(equation).name);
      const auto arithmetic = models::Info(equation).calculator ? models::Arithmetic::Calculator
                                                                : models::Arithmetic::Textbook;
      FitRequest request;
      request.start = models::DefaultModel(equation, 3, models::Thermal::Linear, arithmetic);
      const FitResult result = FitEos(data, request);
      ASSERT_TRUE(result.converged) << result.failure;
      EXPECT_EQ(result.warning, "");
      for (const PublishedValue& value : published.refined) {
        if (value.parameter != models::Parameter::V0) continue;
        EXPECT_NEAR(result.model[value.parameter], value.value, 5 * value.esd);
      }
    }
  }
}

}  // namespace
}  // namespace quorvane::fit
