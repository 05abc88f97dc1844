#include "app/fit_thermal_figures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/axis_units.h"
#include "app/figure_text.h"
#include "app/fit_figures.h"
#include "fit/normalised_pressure.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "numtext/double_text.h"
#include "plot/colour.h"

namespace quorvane::app {
namespace {

using models::Parameter;

constexpr int kCurvePoints = 120;
// The volumes the thermal pressure is drawn along: the middles of the
// quarters of the data's volumes.
constexpr double kVolumeQuantiles[] = {0.125, 0.375, 0.625, 0.875};
// The points reduced to the curves, in a neutral dark grey.
constexpr plot::Colour kPointColour = {60, 60, 60};

double Tref(const models::Model& model) {
  return model[Parameter::Tref];
}

// P(V, T) - P(V, T(ref)): zero on the reference isotherm for every model.
double ThermalPressure(const models::Model& model, double V, double T) {
  return models::Pressure(model, V, T) - models::Pressure(model, V, Tref(model));
}

struct Span {
  double low = 0.0;
  double high = 0.0;
};

Span TemperatureSpan(const fit::FitData& data, double also) {
  Span span{also, also};
  for (const fit::Observation& obs : data.points) {
    span.low = std::min(span.low, obs.T);
    span.high = std::max(span.high, obs.T);
  }
  return span;
}

std::vector<double> CurveVolumes(const fit::FitData& data) {
  std::vector<double> volumes;
  for (const fit::Observation& obs : data.points) volumes.push_back(obs.V);
  std::sort(volumes.begin(), volumes.end());
  std::vector<double> chosen;
  for (double q : kVolumeQuantiles) {
    const double V = volumes[static_cast<std::size_t>(q * static_cast<double>(volumes.size()))];
    // Three digits read well in the legend, and the curve is drawn at them.
    const std::string text = WholeOrThreeDigits(V);
    double rounded = V;
    numtext::ReadDouble(text.data(), text.data() + text.size(), rounded);
    if (chosen.empty() || rounded != chosen.back()) chosen.push_back(rounded);
  }
  return chosen;
}

// A figure of a quantity of the fit against temperature.
plot::Figure AgainstTemperature(const std::string& title, const std::string& yLabel,
                                const std::string& yUnit, const FitReport& report,
                                const AxisUnits& units) {
  plot::Figure figure;
  figure.title = title + " of the " + ModelTitle(report.result->model, false) + " fit";
  figure.xLabel = "T";
  figure.xUnit = units.T;
  figure.yLabel = yLabel;
  figure.yUnit = yUnit;
  return figure;
}

// The curve of value(T) over the span, at kCurvePoints + 1 temperatures.
template <typename Value>
void SampleOverTemperature(plot::Series& curve, const Span& span, Value value) {
  for (int i = 0; i <= kCurvePoints; ++i) {
    const double T = span.low + (span.high - span.low) * i / kCurvePoints;
    curve.x.push_back(T);
    curve.y.push_back(value(T));
  }
}

plot::Figure ThermalPressureFigure(const FitReport& report, const AxisUnits& units) {
  const models::Model& model = report.result->model;
  plot::Figure figure = AgainstTemperature("Thermal pressure", "P_th = P(V, T) \u2212 P(V, T(ref))",
                                           units.P, report, units);
  const Span span = TemperatureSpan(*report.data, Tref(model));
  const std::vector<double> volumes = CurveVolumes(*report.data);
  for (std::size_t k = 0; k < volumes.size(); ++k) {
    const double t = volumes.size() > 1 ? static_cast<double>(k) / (volumes.size() - 1) : 0.0;
    figure.palette.push_back(plot::Sequential(t));
    plot::Series curve;
    curve.line = true;
    curve.colour = static_cast<int>(k);
    curve.label =
        "fit at V = " + WholeOrThreeDigits(volumes[k]) + (units.V.empty() ? "" : " " + units.V);
    SampleOverTemperature(curve, span,
                          [&](double T) { return ThermalPressure(model, volumes[k], T); });
    figure.series.push_back(std::move(curve));
  }
  figure.palette.push_back(kPointColour);
  plot::Series points;
  points.label = "data: P \u2212 P(V, T(ref))";
  points.colour = static_cast<int>(volumes.size());
  for (const fit::Observation& obs : report.data->points) {
    points.x.push_back(obs.T);
    points.y.push_back(obs.P - models::Pressure(model, obs.V, Tref(model)));
    points.yError.push_back(obs.sigP);
  }
  figure.series.push_back(std::move(points));
  return figure;
}

plot::Figure ZeroPressureVolumeFigure(const FitReport& report, const AxisUnits& units) {
  const models::Model& model = report.result->model;
  plot::Figure figure = AgainstTemperature("Volume at zero pressure", units.volumeName + "(T, 0)",
                                           units.V, report, units);
  const Span span = TemperatureSpan(*report.data, Tref(model));
  plot::Series curve;
  curve.line = true;
  curve.colour = 1;
  curve.label = "fit";
  SampleOverTemperature(curve, span, [&](double T) {
    const engine::VolumeSolution solution = models::ZeroPressureVolume(model, T);
    return solution.converged ? solution.V : std::nan("");
  });
  plot::Series points;
  points.label = "data carried to P = 0 along their isotherms";
  points.colour = 0;
  for (const fit::Observation& obs : report.data->points) {
    const engine::VolumeSolution atP = models::VolumeFromPressure(model, obs.P, obs.T);
    const engine::VolumeSolution atZero = models::ZeroPressureVolume(model, obs.T);
    if (!atP.converged || !atZero.converged) continue;
    points.x.push_back(obs.T);
    points.y.push_back(obs.V + (atZero.V - atP.V));
    points.yError.push_back(obs.sigV);
  }
  figure.series.push_back(std::move(points));
  figure.series.push_back(std::move(curve));
  return figure;
}

}  // namespace

plot::Figure ThermalFigure(const FitReport& report) {
  const AxisUnits units = AxisUnitsOf(*report.data, report.result->model);
  if (models::Info(report.result->model.thermal).thermalPressure) {
    return ThermalPressureFigure(report, units);
  }
  return ZeroPressureVolumeFigure(report, units);
}

plot::Figure ReducedStrainFigure(const FitReport& report) {
  const models::Model& model = report.result->model;
  fit::FitData reduced;
  reduced.source = report.data->source;
  for (const fit::Observation& obs : report.data->points) {
    fit::Observation point = obs;
    point.P = obs.P - ThermalPressure(model, obs.V, obs.T);
    point.T = Tref(model);
    reduced.points.push_back(point);
  }
  const double V0 = models::ZeroPressureVolume(model, Tref(model)).V;
  const std::vector<fit::StrainPoint> points = fit::EulerianStrainPoints(reduced, V0, 0.0);
  const AxisUnits units = AxisUnitsOf(*report.data, model);
  return StrainFigureOf(points, fit::FitStrainLine(points), units.P, true);
}

}  // namespace quorvane::app
