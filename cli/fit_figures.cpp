#include "cli/fit_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "fit/confidence_band.h"
#include "fit/confidence_ellipse.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "params/confidence_band.h"

namespace quorvane::cli {
namespace {

// Points along each drawn isotherm: smooth at README size.
constexpr int kCurvePoints = 200;

std::string TemperatureLabel(double T) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "T = %g", T);
  return buffer;
}

std::string ModelLabel(const FitReport& report) {
  const models::Model& model = report.result->model;
  const char* ordinal = model.order == 2 ? "2nd" : model.order == 3 ? "3rd" : "4th";
  std::string label = std::string(ordinal) + "-order " + models::Info(model.equation).title;
  if (model.thermal != models::Thermal::Linear) {
    label += std::string(" (") + models::Info(model.thermal).name + ")";
  }
  return label;
}

// The weighted residual plot's marks, in sigmas, and their palette place.
constexpr double kResidualMark = 2.0;
constexpr int kResidualMarkColour = 3;

// Near zero strain F is P / f with both tiny: a point whose sigF is this many
// times the typical one tells nothing and would only stretch the axis. The
// table keeps it; the figure leaves it out and says so.
constexpr double kUninformative = 20.0;

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

plot::Figure IsothermFigure(const FitReport& report) {
  plot::Figure figure;
  figure.title = "Data and fitted " + ModelLabel(report) + " isotherm";
  figure.xLabel = "P";
  figure.yLabel = "V";
  std::map<double, std::vector<const fit::Observation*>> byTemperature;
  for (const fit::Observation& obs : report.data->points) byTemperature[obs.T].push_back(&obs);
  const bool several = byTemperature.size() > 1;
  // Plotted as V against P: the error bars of V are the volume's sigmas.
  int colour = 0;
  for (const auto& [T, points] : byTemperature) {
    plot::Series data;
    if (several) data.colour = colour;
    data.label = several ? "data, " + TemperatureLabel(T) : "data";
    double Vlow = points.front()->V, Vhigh = Vlow;
    for (const fit::Observation* obs : points) {
      data.x.push_back(obs->P);
      data.y.push_back(obs->V);
      data.yError.push_back(obs->sigV);
      Vlow = std::min(Vlow, obs->V);
      Vhigh = std::max(Vhigh, obs->V);
    }
    plot::Series curve;
    curve.label = several ? "fit, " + TemperatureLabel(T) : "fit";
    curve.line = true;
    if (several) curve.colour = colour++;
    for (int i = 0; i <= kCurvePoints; ++i) {
      const double V = Vhigh + (Vlow - Vhigh) * i / kCurvePoints;
      curve.x.push_back(models::Pressure(report.result->model, V, T));
      curve.y.push_back(V);
    }
    // The bands take the curve's colour: its own, or its place in the figure.
    const int curveColour = several ? curve.colour : static_cast<int>(figure.series.size()) + 1;
    Bands bands = IsothermBands(report, curve, T, curveColour, T == byTemperature.begin()->first);
    figure.series.push_back(std::move(data));
    figure.series.push_back(std::move(curve));
    for (plot::Series& bound : bands.bound) figure.series.push_back(std::move(bound));
  }
  if (several) figure.title += "s";
  return figure;
}

plot::Figure StrainFigure(const FitReport& report) {
  plot::Figure figure;
  figure.title = "Normalised pressure against Eulerian strain";
  figure.xLabel = "f = ((V0/V)^(2/3) - 1) / 2";
  figure.yLabel = "F = P / (3f (1 + 2f)^(5/2))";
  if (!report.strain) return figure;
  plot::Series data;
  data.label = "data";
  double fLow = 0.0, fHigh = 0.0;
  const double limit = kUninformative * MedianSigma(*report.strain);
  int hidden = 0;
  for (const fit::StrainPoint& point : *report.strain) {
    if (!std::isfinite(point.f) || !std::isfinite(point.F) || !std::isfinite(point.sigF)) continue;
    if (point.sigF > limit) {
      ++hidden;
      continue;
    }
    data.x.push_back(point.f);
    data.y.push_back(point.F);
    data.yError.push_back(point.sigF);
    fLow = std::min(fLow, point.f);
    fHigh = std::max(fHigh, point.f);
  }
  if (hidden > 0) {
    data.label += " (" + std::to_string(hidden) + " near f = 0 not shown)";
  }
  if (report.strainLine.leftOut > 0) {
    data.label +=
        " (" + std::to_string(report.strainLine.leftOut) + " with a non-finite F not shown)";
  }
  figure.series.push_back(std::move(data));
  const fit::StrainLine& fitted = report.strainLine;
  if (fitted.points >= 2) {
    plot::Series line;
    char label[96];
    std::snprintf(label, sizeof label, "line: F = %.4g + %.4g f", fitted.intercept, fitted.slope);
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

plot::Figure ResidualFigure(const FitReport& report) {
  const bool weighted = report.result->weighted;
  plot::Figure figure;
  figure.title = std::string(weighted ? "Weighted residuals" : "Residuals") + " of the " +
                 ModelLabel(report) + " fit";
  figure.xLabel = "P (observed)";
  figure.yLabel = weighted ? "(P_obs - P_calc) / sigma" : "P_obs - P_calc";
  figure.zeroLine = true;
  plot::Series residuals;
  residuals.label = weighted ? "residual / sigma" : "residual";
  double Plow = std::numeric_limits<double>::infinity(), Phigh = -Plow;
  for (const fit::PointResidual& point : report.result->residuals) {
    residuals.x.push_back(point.Pobs);
    residuals.y.push_back(weighted ? point.dP / point.sigma : point.dP);
    Plow = std::min(Plow, point.Pobs);
    Phigh = std::max(Phigh, point.Pobs);
  }
  figure.series.push_back(std::move(residuals));
  if (!weighted || !(Plow <= Phigh)) return figure;
  // About one point in twenty lies beyond two sigmas by chance; many more say
  // the sigmas or the model are wrong.
  for (double mark : {-kResidualMark, kResidualMark}) {
    plot::Series line;
    if (mark > 0.0) line.label = "+-2 sigma";
    line.line = true;
    line.stroke = plot::Series::Stroke::Dashed;
    line.colour = kResidualMarkColour;
    line.x = {Plow, Phigh};
    line.y = {mark, mark};
    figure.series.push_back(std::move(line));
  }
  return figure;
}

plot::Figure EllipseFigure(const EllipseReport& report) {
  const std::string a = models::Info(report.ask.first).symbol;
  const std::string b = models::Info(report.ask.second).symbol;
  plot::Figure figure;
  char title[160];
  std::snprintf(title, sizeof title, "Confidence ellipse of %s and %s, level %g (%s)", a.c_str(),
                b.c_str(), report.ellipse.level, report.covarianceName.c_str());
  figure.title = title;
  figure.xLabel = a;
  figure.yLabel = b;
  plot::Series outline;
  char label[64];
  std::snprintf(label, sizeof label, "ellipse, delta chi2 = %.4g", report.ellipse.deltaChi2);
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

}  // namespace quorvane::cli
