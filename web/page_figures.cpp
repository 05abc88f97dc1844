#include "web/page_figures.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/decimal_text.h"
#include "app/fit_figure_set.h"
#include "app/fit_figures.h"
#include "app/fit_report.h"
#include "app/input_error.h"
#include "models/model_catalogue.h"
#include "params/json_text.h"
#include "plot/figure_json.h"
#include "plot/svg_writer.h"
#include "plot/temperature_groups.h"

namespace quorvane::web {
namespace {

using Observations = std::vector<std::optional<std::vector<std::size_t>>>;

constexpr const char* kIsotherm = "isotherm";

struct RememberedFit {
  std::vector<app::EllipseAsk> ellipses;
  fit::FitData data;
  fit::FitResult result;
};

constexpr const char* kNoFit = "there is no fit to draw";

std::string ErrorJson(const std::string& message) {
  std::string out = "{\"error\":";
  params::AppendJsonString(out, message);
  return out + "}";
}

// Each worker of the page holds one core and shows one fit at a time.
std::unique_ptr<RememberedFit>& Remembered() {
  static std::unique_ptr<RememberedFit> remembered;
  return remembered;
}

std::vector<std::size_t> Counting(std::size_t count) {
  std::vector<std::size_t> indices(count);
  for (std::size_t i = 0; i < count; ++i) indices[i] = i;
  return indices;
}

// The isotherm figure draws each temperature group's points as its own
// marker series, in the groups' order; every other figure draws the points
// as one series in the data's order, or names the point of each marker
// where it leaves some out.
Observations ObservationsOf(const plot::Figure& figure, bool grouped, const fit::FitData& data) {
  Observations observations(figure.series.size());
  std::vector<std::vector<std::size_t>> groups;
  if (grouped) {
    std::vector<double> temperatures;
    for (const fit::Observation& point : data.points) temperatures.push_back(point.T);
    for (const plot::TemperatureGroup& group : plot::GroupTemperatures(temperatures)) {
      groups.push_back(group.members);
    }
  }
  std::size_t group = 0;
  for (std::size_t s = 0; s < figure.series.size(); ++s) {
    const plot::Series& series = figure.series[s];
    if (series.line) continue;
    if (!series.points.empty()) {
      observations[s] = series.points;
    } else if (group < groups.size() && groups[group].size() == series.x.size()) {
      observations[s] = groups[group++];
    } else if (series.x.size() == data.points.size()) {
      observations[s] = Counting(series.x.size());
    }
  }
  return observations;
}

void AppendObservations(std::string& out, const Observations& observations) {
  out += '[';
  for (std::size_t s = 0; s < observations.size(); ++s) {
    if (s > 0) out += ',';
    if (!observations[s]) {
      out += "null";
      continue;
    }
    out += '[';
    for (std::size_t i = 0; i < observations[s]->size(); ++i) {
      if (i > 0) out += ',';
      out += std::to_string((*observations[s])[i]);
    }
    out += ']';
  }
  out += ']';
}

// The tab's words for a figure's file name.
std::string TabOf(const std::string& name) {
  static const std::pair<const char*, const char*> kTabs[] = {
      {kIsotherm, "Isotherms"},
      {"residuals", "Residuals against P"},
      {"residuals-V", "Residuals against V"},
      {"residuals-T", "Residuals against T"},
      {"thermal", "Thermal"},
      {"ff", "F\u2013f"}};
  for (const auto& [file, tab] : kTabs) {
    if (name == file) return tab;
  }
  return "Ellipse " + name.substr(name.find('-') + 1);
}

// A figure of the page: the ellipses with the --ellipse text they are
// drawn again from, for their SVG file.
struct PageFigure {
  app::NamedFigure named;
  std::string ask;
};

void AppendFigure(std::string& out, const PageFigure& page, const fit::FitData& data) {
  const app::NamedFigure& named = page.named;
  out += "{\"name\":";
  params::AppendJsonString(out, named.name);
  out += ",\"tab\":";
  params::AppendJsonString(out, TabOf(named.name));
  out += ",\"ask\":";
  params::AppendJsonString(out, page.ask);
  out += ",\"figure\":" + plot::FigureJson(named.figure);
  out += ",\"leftOut\":";
  params::AppendJsonString(out, named.figure.leftOut);
  out += ",\"observations\":";
  AppendObservations(out, ObservationsOf(named.figure, named.name == kIsotherm, data));
  out += '}';
}

std::string AskText(const app::EllipseAsk& ask) {
  std::string text =
      std::string(models::Info(ask.first).name) + "," + models::Info(ask.second).name + ":";
  app::AppendShortest(text, ask.level);
  return text;
}

void AppendLines(std::string& out, const fit::FitData& data) {
  out += '[';
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(data.lines.empty() ? static_cast<long>(i + 1) : data.lines[i]);
  }
  out += ']';
}

bool Refined(const fit::FitResult& result, models::Parameter parameter) {
  return std::find(result.refined.begin(), result.refined.end(), parameter) != result.refined.end();
}

// Where the report asked for no ellipse: K0 and K'0, the pair whose
// correlation a reader of an equation of state looks at first, or else the
// first two refined parameters.
void AddDefaultEllipse(app::FitReport& report) {
  const fit::FitResult& result = *report.result;
  if (!report.ellipses.empty() || result.refined.size() < 2) return;
  app::EllipseAsk ask;
  if (!Refined(result, ask.first) || !Refined(result, ask.second)) {
    ask.first = result.refined[0];
    ask.second = result.refined[1];
  }
  try {
    report.ellipses = app::MakeEllipseReports(result, {ask});
  } catch (const app::InputError&) {
    // A singular covariance has no ellipse: the page shows the other figures.
  }
}

// Throws InputError where an ellipse asked for cannot be drawn.
std::vector<PageFigure> FiguresOf(const RememberedFit& fitted) {
  app::FitReport report = app::MakeFitReport(fitted.data, fitted.result);
  report.ellipses = app::MakeEllipseReports(fitted.result, fitted.ellipses);
  AddDefaultEllipse(report);
  std::vector<PageFigure> figures;
  for (app::NamedFigure& named : app::FitFigureSet(report)) {
    figures.push_back({std::move(named), ""});
  }
  // The ellipses come last, in the report's order.
  const std::size_t first = figures.size() - report.ellipses.size();
  for (std::size_t k = 0; k < report.ellipses.size(); ++k) {
    figures[first + k].ask = AskText(report.ellipses[k].ask);
  }
  return figures;
}

PageFigure EllipseOf(const RememberedFit& fitted, const std::string& ask) {
  const std::vector<app::EllipseReport> reports =
      app::MakeEllipseReports(fitted.result, {app::EllipseAskFromText(ask)});
  return {{"ellipse-" + app::EllipseFileTag(reports.front().ask),
           app::EllipseFigure(reports.front(), app::AxisUnitsOf(fitted.data, fitted.result.model))},
          ask};
}

}  // namespace

std::string FitFiguresJson() {
  if (!Remembered()) return ErrorJson(kNoFit);
  const RememberedFit& fitted = *Remembered();
  std::string out = "{\"lines\":";
  AppendLines(out, fitted.data);
  out += ",\"figures\":[";
  try {
    bool first = true;
    for (const PageFigure& figure : FiguresOf(fitted)) {
      if (!first) out += ',';
      first = false;
      AppendFigure(out, figure, fitted.data);
    }
  } catch (const app::InputError& error) {
    return ErrorJson(error.what());
  }
  return out + "]}";
}

std::string FigureSvgJson(const std::string& name, const std::string& ask) {
  if (!Remembered()) return ErrorJson(kNoFit);
  const RememberedFit& fitted = *Remembered();
  std::string out = "{\"svg\":";
  try {
    if (!ask.empty()) {
      params::AppendJsonString(out, plot::FigureSvg(EllipseOf(fitted, ask).named.figure));
      return out + "}";
    }
    for (const PageFigure& figure : FiguresOf(fitted)) {
      if (figure.named.name != name) continue;
      params::AppendJsonString(out, plot::FigureSvg(figure.named.figure));
      return out + "}";
    }
  } catch (const app::InputError& error) {
    return ErrorJson(error.what());
  }
  return ErrorJson("the fit has no figure " + name);
}

void RememberFit(const std::vector<app::EllipseAsk>& ellipses, const fit::FitData& data,
                 const fit::FitResult& result) {
  Remembered() = std::make_unique<RememberedFit>(RememberedFit{ellipses, data, result});
}

std::string EllipseFigureJson(const std::string& ask) {
  if (!Remembered()) return ErrorJson(kNoFit);
  std::string out;
  try {
    AppendFigure(out, EllipseOf(*Remembered(), ask), Remembered()->data);
    return out;
  } catch (const app::InputError& error) {
    return ErrorJson(error.what());
  }
}

}  // namespace quorvane::web
