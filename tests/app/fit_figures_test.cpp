#include "app/fit_figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/axis_units.h"
#include "app/fit_data_input.h"
#include "fit/eos_fit.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::app {
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

// One isotherm per temperature group: every point drawn once, a legend row
// naming each group's temperature, and the isothermal look (data and fit
// labelled, no temperatures) for one temperature.
TEST(FitFigures, IsothermsOneForEachTemperatureGroup) {
  std::vector<double> scattered;
  for (int i = 0; i < 30; ++i) scattered.push_back(300.0 + std::fmod(i * 1373.0, 2174.0));
  const struct {
    const char* name;
    std::vector<double> temperatures;
    std::size_t groups;
  } cases[] = {{"one isotherm", {298}, 1}, {"two", {298, 800}, 2}, {"30 scattered", scattered, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fitted fitted;
    Fit(c.temperatures, true, fitted);
    const plot::Figure figure = IsothermFigure(fitted.report);
    std::size_t dataSeries = 0, points = 0;
    for (const plot::Series& series : figure.series) {
      if (series.line) continue;
      ++dataSeries;
      points += series.x.size();
    }
    EXPECT_EQ(dataSeries, c.groups);
    EXPECT_EQ(points, fitted.data.points.size());
    std::size_t namingTemperatures = 0;
    for (const plot::LegendEntry& entry : plot::LegendOf(figure)) {
      if (entry.text.starts_with("T ")) ++namingTemperatures;
    }
    EXPECT_EQ(namingTemperatures, c.groups > 1 ? c.groups : 0);
    EXPECT_EQ(figure.xUnit, "");
    EXPECT_EQ(figure.title.ends_with("isotherms"), c.groups > 1) << figure.title;
  }
}

// What a figure's axes say of units: the column names' when given, else a
// thermal-pressure model's own (GPa, K and its volume unit), and nothing
// for a unit not known or not implied.
TEST(FigureUnits, FromColumnNamesOrTheThermalPressureModel) {
  const struct {
    const char* header;
    models::Thermal thermal;
    models::VolumeUnit volume;
    const char* P;
    const char* V;
    const char* T;
  } cases[] = {
      {"P (GPa),V (A^3)", models::Thermal::Linear, models::VolumeUnit::CubicCentimetresPerMole,
       "GPa", "\u00c5\u00b3", ""},
      {"p [kbar],v ( cm3/mol ),T (K)", models::Thermal::Linear,
       models::VolumeUnit::CubicCentimetresPerMole, "kbar", "cm\u00b3/mol", "K"},
      {"P,V", models::Thermal::Linear, models::VolumeUnit::CubicCentimetresPerMole, "", "", ""},
      {"P (furlongs),V (Ang^3),T (C)", models::Thermal::Linear,
       models::VolumeUnit::CubicCentimetresPerMole, "", "\u00c5\u00b3", ""},
      {"P (mPa),V", models::Thermal::Linear, models::VolumeUnit::CubicCentimetresPerMole, "", "",
       ""},
      {"P,V,T", models::Thermal::MieGruneisenDebye, models::VolumeUnit::CubicAngstromsPerCell,
       "GPa", "\u00c5\u00b3", "K"},
      {"P,V,T", models::Thermal::Einstein, models::VolumeUnit::CubicCentimetresPerMole, "GPa",
       "cm\u00b3/mol", "K"},
      {"P (MPa),V (a3),T", models::Thermal::MieGruneisenDebye,
       models::VolumeUnit::CubicCentimetresPerMole, "MPa", "\u00c5\u00b3", "K"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    // One row, with a temperature where the header names one.
    const std::string header = c.header;
    const bool hasT = header.find(",T") != std::string::npos;
    std::istringstream text(header + "\n" + (hasT ? "1,10,300\n" : "1,10\n"));
    const fit::FitData data = ReadFitData(text, "units.csv", 298.0);
    models::Model model = models::DefaultModel(models::Equation::BirchMurnaghan, 3, c.thermal,
                                               models::Arithmetic::Textbook);
    model.volumeUnit = c.volume;
    const AxisUnits units = AxisUnitsOf(data, model);
    EXPECT_EQ(units.P, c.P);
    EXPECT_EQ(units.V, c.V);
    EXPECT_EQ(units.T, c.T);
  }
}

// A fitted cell edge stands in for V as its cube, in the cube of its unit;
// an edge without a unit gives none, whatever unit the model reckons in.
TEST(FigureUnits, CubedAxisInTheCubeOfItsUnit) {
  const struct {
    const char* text;
    const char* axis;
    models::Thermal thermal;
    const char* V;
  } cases[] = {
      {"P (GPa),b (A),sigb\n1,10,0.01\n", "b", models::Thermal::Linear, "\u00c5\u00b3"},
      {"P,c (nm),sig_c,T\n1,1,0.001,300\n", "c", models::Thermal::MieGruneisenDebye, "nm\u00b3"},
      {"P,a,siga,T\n1,10,0.01,300\n", "a", models::Thermal::MieGruneisenDebye, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::istringstream text(c.text);
    const fit::FitData data = ReadFitData(text, "axis.csv", 298.0, c.axis);
    const AxisUnits units =
        AxisUnitsOf(data, models::DefaultModel(models::Equation::BirchMurnaghan, 3, c.thermal,
                                               models::Arithmetic::Textbook));
    EXPECT_EQ(units.V, c.V);
    EXPECT_EQ(units.volumeName, std::string(c.axis) + "\u00b3");
  }
}

// An ellipse's axes carry the parameters' units as they are typed: alpha0 in
// 1e-5 K^-1, so its axis must not claim K^-1; a unit built on an unknown one
// is left out.
TEST(FigureUnits, ParametersInTheUnitsTheyAreTypedIn) {
  const AxisUnits known{"GPa", "\u00c5\u00b3", "K"}, noT{"GPa", "\u00c5\u00b3", ""};
  const struct {
    Parameter parameter;
    const AxisUnits& units;
    const char* expected;
  } cases[] = {
      {Parameter::V0, known, "\u00c5\u00b3"},
      {Parameter::K0, known, "GPa"},
      {Parameter::Kp0, known, ""},
      {Parameter::Kpp0, known, "GPa\u207b\u00b9"},
      {Parameter::alpha0, known, "10\u207b\u2075 K\u207b\u00b9"},
      {Parameter::alpha1, known, "10\u207b\u2078 K\u207b\u00b2"},
      {Parameter::dKdT, known, "GPa/K"},
      {Parameter::alpha0, noT, ""},
      {Parameter::dKdT, noT, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(models::Info(c.parameter).name);
    EXPECT_EQ(ParameterUnit(c.parameter, c.units), c.expected);
  }
}

}  // namespace
}  // namespace quorvane::app
