#include "cli/fit_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::cli {
namespace {

using models::Parameter;

// Birch-Murnaghan points at one or two temperatures with a deterministic
// scatter of about sigP, weighted or not.
fit::FitData ScatteredData(const std::vector<double>& temperatures, bool weighted) {
  models::Model truth = models::DefaultModel(
      models::Equation::BirchMurnaghan, 3, models::Thermal::Linear, models::Arithmetic::Calculator);
  truth[Parameter::V0] = 163.7;
  truth[Parameter::K0] = 84.4;
  truth[Parameter::Kp0] = 4.9;
  truth[Parameter::alpha0] = 2.6;
  truth[Parameter::dKdT] = -0.02;
  models::ApplyImpliedCoefficients(truth);
  fit::FitData data;
  data.source = "scattered";
  constexpr double kSigP = 0.05;
  constexpr int kPoints = 10;
  for (double T : temperatures) {
    for (int i = 0; i < kPoints; ++i) {
      fit::Observation point;
      point.T = T;
      point.V = 163.7 * (1.0 - 0.012 * i);
      point.P = models::Pressure(truth, point.V, T) + kSigP * std::sin(7.0 * i + T);
      point.sigP = weighted ? kSigP : 0.0;
      data.points.push_back(point);
    }
  }
  return data;
}

struct Fitted {
  fit::FitData data;
  fit::FitResult result;
  FitReport report;
};

void Fit(const std::vector<double>& temperatures, bool weighted, Fitted& fitted) {
  fitted.data = ScatteredData(temperatures, weighted);
  fit::FitRequest request;
  request.start = models::DefaultModel(models::Equation::BirchMurnaghan, 3, models::Thermal::Linear,
                                       models::Arithmetic::Calculator);
  fitted.result = fit::FitEos(fitted.data, request);
  ASSERT_TRUE(fitted.result.converged) << fitted.result.failure;
  fitted.report = MakeFitReport(fitted.data, fitted.result);
}

// After each fitted curve come its four bounds: confidence below and above,
// prediction below and above, at the curve's pressures. The curve lies
// between the confidence bounds, and those between the prediction bounds.
TEST(FitFigures, IsothermBandsNestAroundEachFittedCurve) {
  for (const std::vector<double>& temperatures :
       {std::vector<double>{298}, std::vector<double>{298, 800}}) {
    SCOPED_TRACE(temperatures.size());
    Fitted fitted;
    Fit(temperatures, true, fitted);
    const plot::Figure figure = IsothermFigure(fitted.report);
    // Per temperature: data, curve, four bounds.
    ASSERT_EQ(figure.series.size(), 6 * temperatures.size());
    int labelledBands = 0;
    for (std::size_t t = 0; t < temperatures.size(); ++t) {
      const plot::Series& curve = figure.series[6 * t + 1];
      const plot::Series* bound = &figure.series[6 * t + 2];
      for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(bound[k].x, curve.x);
        if (!bound[k].label.empty()) ++labelledBands;
      }
      for (std::size_t i = 0; i < curve.y.size(); ++i) {
        EXPECT_LT(bound[2].y[i], bound[0].y[i]);
        EXPECT_LT(bound[0].y[i], curve.y[i]);
        EXPECT_LT(curve.y[i], bound[1].y[i]);
        EXPECT_LT(bound[1].y[i], bound[3].y[i]);
      }
    }
    // The legend names each kind of band once.
    EXPECT_EQ(labelledBands, 2);
  }
}

TEST(FitFigures, WeightedResidualsAreInSigmasWithMarksAtTwo) {
  for (bool weighted : {true, false}) {
    SCOPED_TRACE(weighted);
    Fitted fitted;
    Fit({298}, weighted, fitted);
    const plot::Figure figure = ResidualFigure(fitted.report);
    const plot::Series& residuals = figure.series.front();
    for (std::size_t i = 0; i < residuals.y.size(); ++i) {
      const fit::PointResidual& point = fitted.result.residuals[i];
      EXPECT_EQ(residuals.y[i], weighted ? point.dP / point.sigma : point.dP);
    }
    if (!weighted) {
      EXPECT_EQ(figure.series.size(), 1u);
      continue;
    }
    ASSERT_EQ(figure.series.size(), 3u);
    EXPECT_EQ(figure.series[1].y, (std::vector<double>{-2.0, -2.0}));
    EXPECT_EQ(figure.series[2].y, (std::vector<double>{2.0, 2.0}));
    EXPECT_EQ(figure.series[2].x,
              (std::vector<double>{fitted.data.points.front().P, fitted.data.points.back().P}));
  }
}

}  // namespace
}  // namespace quorvane::cli
