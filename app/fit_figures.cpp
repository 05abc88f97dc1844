#include "app/fit_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/axis_units.h"
#include "app/decimal_text.h"
#include "app/figure_text.h"
#include "fit/confidence_band.h"
#include "fit/confidence_ellipse.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "params/confidence_band.h"
#include "plot/colour.h"
#include "plot/temperature_groups.h"

namespace quorvane::app {
namespace {

// Points along each drawn isotherm: smooth at README size.
constexpr int kCurvePoints = 100;

// A group's temperature: one value, or about its mean.
std::string TemperatureLabel(const plot::TemperatureGroup& group, const std::string& unit) {
  const char* relation = group.high - group.low > 0.0 ? "T \u2248 " : "T = ";
  std::string text = relation + WholeOrThreeDigits(group.mean);
  return unit.empty() ? text : text + " " + unit;
}

// The weighted residual plot's marks, in sigmas, and their palette place.
constexpr double kResidualMark = 2.0;
constexpr int kResidualMarkColour = 3;

// Near zero strain F is P / f with both tiny: a point whose sigF is this many
// times the typical one tells nothing and would only stretch the axis. The
// table keeps it; the figure leaves it out and says so.
constexpr double kUninformative = 20.0;

// What a host says of a point the figure leaves out.
std::string StrainLeftOut() {
  std::string text =
      "F is not drawn where it is 0/0 (P = 0 or f = 0), not finite, or near f = 0 with a sigma "
      "over ";
  AppendShortest(text, kUninformative);
  return text + " times the median one, which would only stretch the axis";
}

double MedianSigma(const std::vector<fit::StrainPoint>& points) {
  std::vector<double> sigmas;
  for (const fit::StrainPoint& point : points) {
    if (std::isfinite(point.sigF)) sigmas.push_back(point.sigF);
  }
  if (sigmas.empty()) return 0.0;
  std::nth_element(sigmas.begin(), sigmas.begin() + sigmas.size() / 2, sigmas.end());
  const double median = sigmas[sigmas.size() / 2];
  // Without sigmas every point is shown.
  return median > 0.0 ? median : std::numeric_limits<double>::infinity();
}

// The four bounds of the bands around one fitted isotherm: confidence below
// and above, prediction below and above.
struct Bands {
  plot::Series bound[4];
};

Bands IsothermBands(const FitReport& report, const plot::Series& curve, double T, int colour,
                    bool labelled) {
  const fit::FitResult& result = *report.result;
  const params::ParameterCovariance covariance{result.refined,
                                               fit::ConfidenceCovarianceOf(result).matrix};
  const double level = fit::kDefaultConfidenceLevel;
  const double z = params::TwoSidedNormalQuantile(level);
  const double scatter = fit::PredictionScatter(*report.data, result, T);
  Bands bands;
  for (int k = 0; k < 4; ++k) {
    bands.bound[k].line = true;
    bands.bound[k].colour = colour;
    bands.bound[k].stroke = k < 2 ? plot::Series::Stroke::Dashed : plot::Series::Stroke::Dotted;
  }
  if (labelled) {
    char label[96];
    std::snprintf(label, sizeof label, "%g %% confidence band (curve)", 100.0 * level);
    bands.bound[0].label = label;
    std::snprintf(label, sizeof label, "%g %% prediction band (new point)", 100.0 * level);
    bands.bound[2].label = label;
  }
  // Each bound at the curve's pressures, offset in V at fixed P.
  for (std::size_t i = 0; i < curve.x.size(); ++i) {
    const double V = curve.y[i];
    const params::BandHalfWidths half =
        params::VolumeBandHalfWidths(result.model, covariance, V, T, z, scatter);
    const double offsets[4] = {-half.confidence, half.confidence, -half.prediction,
                               half.prediction};
    for (int k = 0; k < 4; ++k) {
      bands.bound[k].x.push_back(curve.x[i]);
      bands.bound[k].y.push_back(V + offsets[k]);
    }
  }
  return bands;
}

}  // namespace

namespace {

// The data of one temperature group with error bars in V, its fitted
// isotherm at the group's mean temperature across its volumes, and the
// curve's bands, in the given palette place.
void AddIsotherm(plot::Figure& figure, const FitReport& report, const plot::TemperatureGroup& group,
                 int colour, bool labelled) {
  plot::Series data;
  data.colour = colour;
  double Vlow = report.data->points[group.members.front()].V, Vhigh = Vlow;
  for (std::size_t i : group.members) {
    const fit::Observation& obs = report.data->points[i];
    data.x.push_back(obs.P);
    data.y.push_back(obs.V);
    data.yError.push_back(obs.sigV);
    Vlow = std::min(Vlow, obs.V);
    Vhigh = std::max(Vhigh, obs.V);
  }
  plot::Series curve;
  curve.line = true;
  curve.colour = colour;
  for (int i = 0; i <= kCurvePoints; ++i) {
    const double V = Vhigh + (Vlow - Vhigh) * i / kCurvePoints;
    curve.x.push_back(models::Pressure(report.result->model, V, group.mean));
    curve.y.push_back(V);
  }
  Bands bands = IsothermBands(report, curve, group.mean, colour, labelled);
  figure.series.push_back(std::move(data));
  figure.series.push_back(std::move(curve));
  for (plot::Series& bound : bands.bound) figure.series.push_back(std::move(bound));
}

// Groups along the sequential colours by mean temperature.
std::vector<plot::Colour> TemperatureColours(const std::vector<plot::TemperatureGroup>& groups) {
  const double low = groups.front().mean, high = groups.back().mean;
  std::vector<plot::Colour> colours;
  for (const plot::TemperatureGroup& group : groups) {
    const double t = high > low ? (group.mean - low) / (high - low) : 0.0;
    colours.push_back(plot::Sequential(t));
  }
  return colours;
}

// The bands are one kind in every group: shown once, in grey.
constexpr plot::Colour kBandKeyColour = {110, 110, 110};

void AddBandKeys(plot::Figure& figure) {
  const int grey = static_cast<int>(figure.palette.size());
  figure.palette.push_back(kBandKeyColour);
  for (const plot::Series& series : figure.series) {
    if (series.label.empty() || !series.line) continue;
    figure.legend.push_back({series.label, grey, false, true, series.stroke});
  }
}

}  // namespace

plot::Figure DataFigure(const fit::FitData& data) {
  const AxisUnits units = AxisUnitsOf(data, {});
  plot::Figure figure;
  figure.title = "Data";
  figure.xLabel = "P";
  figure.xUnit = units.P;
  figure.yLabel = units.volumeName;
  figure.yUnit = units.V;
  plot::Series points;
  points.label = "data";
  for (const fit::Observation& obs : data.points) {
    points.x.push_back(obs.P);
    points.y.push_back(obs.V);
    points.yError.push_back(obs.sigV);
  }
  figure.series.push_back(std::move(points));
  return figure;
}

plot::Figure IsothermFigure(const FitReport& report) {
  const fit::FitData& data = *report.data;
  const AxisUnits units = AxisUnitsOf(data, report.result->model);
  plot::Figure figure;
  figure.xLabel = "P";
  figure.xUnit = units.P;
  figure.yLabel = units.volumeName;
  figure.yUnit = units.V;
  std::vector<double> temperatures;
  for (const fit::Observation& obs : data.points) temperatures.push_back(obs.T);
  const std::vector<plot::TemperatureGroup> groups = plot::GroupTemperatures(temperatures);
  const bool isothermal = groups.size() <= 1;
  figure.title = "Data and fitted " + ModelTitle(report.result->model, fit::IsIsothermal(data)) +
                 (isothermal ? " isotherm" : " isotherms");
  if (isothermal) {
    // The data in the first colour; the curve and its bands in the second.
    AddIsotherm(figure, report, groups.front(), 1, true);
    figure.series[0].colour = 0;
    figure.series[0].label = "data";
    figure.series[1].label = "fit";
    return figure;
  }
  figure.palette = TemperatureColours(groups);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const int colour = static_cast<int>(g);
    AddIsotherm(figure, report, groups[g], colour, g == 0);
    figure.legend.push_back({TemperatureLabel(groups[g], units.T), colour, true, true});
  }
  AddBandKeys(figure);
  return figure;
}

plot::Figure StrainFigureOf(const std::vector<fit::StrainPoint>& points,
                            const fit::StrainLine& fitted, const std::string& pressureUnit,
                            bool reduced) {
  plot::Figure figure;
  figure.title = reduced ? "Normalised pressure against Eulerian strain, data reduced to T(ref)"
                         : "Normalised pressure against Eulerian strain";
  figure.xLabel = "f = ((V0/V)^(2/3) \u2212 1) / 2";
  figure.yLabel =
      reduced ? "F = (P \u2212 P_th) / (3f (1 + 2f)^(5/2))" : "F = P / (3f (1 + 2f)^(5/2))";
  figure.yUnit = pressureUnit;
  figure.leftOut = StrainLeftOut();
  plot::Series data;
  data.label = reduced ? "data less P_th(V, T)" : "data";
  double fLow = 0.0, fHigh = 0.0;
  const double limit = kUninformative * MedianSigma(points);
  int hidden = 0;
  for (const fit::StrainPoint& point : points) {
    if (!std::isfinite(point.f) || !std::isfinite(point.F) || !std::isfinite(point.sigF)) continue;
    if (point.sigF > limit) {
      ++hidden;
      continue;
    }
    data.x.push_back(point.f);
    data.y.push_back(point.F);
    data.yError.push_back(point.sigF);
    data.points.push_back(point.point);
    fLow = std::min(fLow, point.f);
    fHigh = std::max(fHigh, point.f);
  }
  if (hidden > 0) {
    data.label += " (" + std::to_string(hidden) + " near f = 0 not shown)";
  }
  if (fitted.leftOut > 0) {
    data.label += " (" + std::to_string(fitted.leftOut) + " with a non-finite F not shown)";
  }
  figure.series.push_back(std::move(data));
  if (fitted.points >= 2) {
    plot::Series line;
    char label[96];
    std::snprintf(label, sizeof label, "line: F = %.4g %s %.4g f", fitted.intercept,
                  fitted.slope < 0.0 ? "\u2212" : "+", std::fabs(fitted.slope));
    line.label = label;
    line.line = true;
    for (double f : {fLow, fHigh}) {
      line.x.push_back(f);
      line.y.push_back(fitted.intercept + fitted.slope * f);
    }
    figure.series.push_back(std::move(line));
  }
  return figure;
}

plot::Figure StrainFigure(const FitReport& report) {
  const AxisUnits units = AxisUnitsOf(*report.data, report.result->model);
  if (!report.strain) return StrainFigureOf({}, report.strainLine, units.P, false);
  return StrainFigureOf(*report.strain, report.strainLine, units.P, false);
}

plot::Figure ResidualFigure(const FitReport& report, ResidualAxis against) {
  const fit::FitResult& result = *report.result;
  const fit::FitData& data = *report.data;
  const bool weighted = result.weighted;
  const AxisUnits units = AxisUnitsOf(data, result.model);
  plot::Figure figure;
  figure.title = std::string(weighted ? "Weighted residuals" : "Residuals") + " of the " +
                 ModelTitle(result.model, fit::IsIsothermal(data)) + " fit";
  const std::string* unit[] = {&units.P, &units.V, &units.T};
  const std::string quantity[] = {"P (observed)", units.volumeName, "T"};
  figure.xLabel = quantity[static_cast<int>(against)];
  figure.xUnit = *unit[static_cast<int>(against)];
  figure.yLabel = weighted ? "\u0394P / \u03c3 = (P_obs \u2212 P_calc) / \u03c3"
                           : "\u0394P = P_obs \u2212 P_calc";
  if (!weighted) figure.yUnit = units.P;
  figure.zeroLine = true;
  plot::Series residuals;
  residuals.label = weighted ? "residual / \u03c3" : "residual";
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (std::size_t i = 0; i < result.residuals.size(); ++i) {
    const fit::PointResidual& point = result.residuals[i];
    const fit::Observation& obs = data.points[i];
    const double x[] = {point.Pobs, obs.V, obs.T};
    residuals.x.push_back(x[static_cast<int>(against)]);
    residuals.y.push_back(weighted ? point.dP / point.sigma : point.dP);
    low = std::min(low, residuals.x.back());
    high = std::max(high, residuals.x.back());
  }
  figure.series.push_back(std::move(residuals));
  if (!weighted || !(low <= high)) return figure;
  // About one point in twenty lies beyond two sigmas by chance; many more say
  // the sigmas or the model are wrong.
  for (double mark : {-kResidualMark, kResidualMark}) {
    plot::Series line;
    if (mark > 0.0) line.label = "\u00b12\u03c3";
    line.line = true;
    line.stroke = plot::Series::Stroke::Dashed;
    line.colour = kResidualMarkColour;
    line.x = {low, high};
    line.y = {mark, mark};
    figure.series.push_back(std::move(line));
  }
  return figure;
}

plot::Figure EllipseFigure(const EllipseReport& report, const AxisUnits& units) {
  const std::string a = models::Info(report.ask.first).symbol;
  const std::string b = models::Info(report.ask.second).symbol;
  plot::Figure figure;
  char title[160];
  std::snprintf(title, sizeof title, "Confidence ellipse of %s and %s, level %g (%s)", a.c_str(),
                b.c_str(), report.ellipse.level, report.covarianceName.c_str());
  figure.title = title;
  figure.xLabel = a;
  figure.xUnit = ParameterUnit(report.ask.first, units);
  figure.yLabel = b;
  figure.yUnit = ParameterUnit(report.ask.second, units);
  plot::Series outline;
  char label[64];
  std::snprintf(label, sizeof label, "ellipse, \u0394\u03c7\u00b2 = %.4g",
                report.ellipse.deltaChi2);
  outline.label = label;
  outline.line = true;
  for (const auto& point : fit::EllipseOutline(report.ellipse, kCurvePoints)) {
    outline.x.push_back(point[0]);
    outline.y.push_back(point[1]);
  }
  // Closed: the outline ends where it began.
  outline.x.push_back(outline.x.front());
  outline.y.push_back(outline.y.front());
  plot::Series estimate;
  estimate.label = "estimate, bars 1 esd";
  estimate.x = {report.ellipse.centre[0]};
  estimate.y = {report.ellipse.centre[1]};
  estimate.xError = {report.esd[0]};
  estimate.yError = {report.esd[1]};
  figure.series.push_back(std::move(outline));
  figure.series.push_back(std::move(estimate));
  return figure;
}

}  // namespace quorvane::app
