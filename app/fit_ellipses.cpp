#include "app/fit_ellipses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "models/model_catalogue.h"
#include "params/json_text.h"

namespace quorvane::app {
namespace {

constexpr const char* kOption = "--ellipse";
constexpr double kDegreesPerRadian = 57.295779513082320876798;

std::string Rounded(double x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", x);
  return buffer;
}

// A bound beside its centre, to digits enough that the two bounds differ:
// four from the half-width's leading digit on.
// The same number of them for both bounds, trailing zeros kept.
std::string Range(double centre, double halfWidth) {
  int digits = 4;
  const double largest = std::fabs(centre) + halfWidth;
  if (largest > 0.0 && halfWidth > 0.0 && std::isfinite(largest)) {
    const int place = static_cast<int>(std::floor(std::log10(largest))) -
                      static_cast<int>(std::floor(std::log10(halfWidth)));
    digits = std::clamp(place + 4, 4, 17);
  }
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%#.*g to %#.*g", digits, centre - halfWidth, digits,
                centre + halfWidth);
  return buffer;
}

std::string Shortest(double x) {
  std::string text;
  AppendShortest(text, x);
  return text;
}

std::string Symbol(models::Parameter parameter) {
  return models::Info(parameter).symbol;
}

models::Parameter ParameterNamed(const std::string& name) {
  const auto parameter = models::ParameterFromName(name);
  if (!parameter || *parameter == models::Parameter::Tref) {
    throw InputError(std::string(kOption) + ": " + QuotedInput(name) +
                     " is not a parameter a fit refines");
  }
  return *parameter;
}

double LevelFrom(const std::string& text) {
  const auto level = ParseDecimal(text);
  if (!level || !(*level > 0.0 && *level < 1.0)) {
    throw InputError(std::string(kOption) + ": the level " + QuotedInput(text) +
                     " is not a number between 0 and 1");
  }
  return *level;
}

void JsonPair(std::string& out, const char* key, std::array<double, 2> pair) {
  out += std::string("\"") + key + "\": [";
  params::AppendJsonNumber(out, pair[0]);
  out += ", ";
  params::AppendJsonNumber(out, pair[1]);
  out += "]";
}

void JsonEllipse(std::string& out, const EllipseReport& report) {
  const fit::ConfidenceEllipse& e = report.ellipse;
  out += "{\"parameters\": [";
  params::AppendJsonString(out, models::Info(report.ask.first).name);
  out += ", ";
  params::AppendJsonString(out, models::Info(report.ask.second).name);
  out += "], \"level\": ";
  params::AppendJsonNumber(out, e.level);
  out += ", \"delta_chi2\": ";
  params::AppendJsonNumber(out, e.deltaChi2);
  out += ", \"covariance\": ";
  params::AppendJsonString(out, report.covarianceName);
  out += ", ";
  JsonPair(out, "centre", e.centre);
  out += ", ";
  JsonPair(out, "semi_axes", {e.semiMajor, e.semiMinor});
  out += ", \"orientation_degrees\": ";
  params::AppendJsonNumber(out, e.orientation * kDegreesPerRadian);
  out += ", ";
  JsonPair(out, "extent", e.extent);
  out += ", ";
  JsonPair(out, "esd", report.esd);
  out += "}";
}

}  // namespace

EllipseAsk EllipseAskFromText(const std::string& text) {
  const std::size_t colon = text.find(':');
  const std::string pair = text.substr(0, colon);
  const std::size_t comma = pair.find(',');
  if (comma == std::string::npos || pair.find(',', comma + 1) != std::string::npos) {
    throw InputError(std::string(kOption) + ": " + QuotedInput(text) +
                     " is not two parameters such as K0,Kp0 with an optional :level");
  }
  EllipseAsk ask;
  ask.first = ParameterNamed(pair.substr(0, comma));
  ask.second = ParameterNamed(pair.substr(comma + 1));
  if (ask.first == ask.second) {
    throw InputError(std::string(kOption) + ": " + Symbol(ask.first) + " is named twice");
  }
  if (colon != std::string::npos) ask.level = LevelFrom(text.substr(colon + 1));
  return ask;
}

std::vector<EllipseReport> MakeEllipseReports(const fit::FitResult& result,
                                              const std::vector<EllipseAsk>& asks) {
  std::vector<EllipseReport> reports;
  const fit::ConfidenceCovariance covariance = fit::ConfidenceCovarianceOf(result);
  for (const EllipseAsk& ask : asks) {
    EllipseReport report;
    report.ask = ask;
    try {
      report.ellipse = fit::FitEllipse(result, ask.first, ask.second, ask.level);
    } catch (const fit::FitError& error) {
      throw InputError(std::string(kOption) + ": " + error.what());
    }
    // Half the extent at Delta chi2 = 1 is the 1-D standard deviation.
    for (int i = 0; i < 2; ++i) {
      report.esd[i] = report.ellipse.extent[i] / std::sqrt(report.ellipse.deltaChi2);
    }
    report.covarianceName = covariance.name;
    reports.push_back(report);
  }
  return reports;
}

void AppendEllipseText(std::string& out, const std::vector<EllipseReport>& ellipses) {
  for (const EllipseReport& report : ellipses) {
    const fit::ConfidenceEllipse& e = report.ellipse;
    const std::string a = Symbol(report.ask.first), b = Symbol(report.ask.second);
    out += "Confidence ellipse of " + a + " and " + b + ": level " + Shortest(e.level) +
           ", delta chi2 = " + Rounded(e.deltaChi2) + ", from the " + report.covarianceName + "\n";
    out += "  centre       " + a + " = " + Shortest(e.centre[0]) + ", " + b + " = " +
           Shortest(e.centre[1]) + "\n";
    out += "  semi-axes    " + Rounded(e.semiMajor) + " (major), " + Rounded(e.semiMinor) +
           " (minor)\n";
    out += "  orientation  major axis at " + Rounded(e.orientation * kDegreesPerRadian) +
           " degrees from the " + a + " axis, in the parameters' units\n";
    out += "  extent       " + a + " +- " + Rounded(e.extent[0]) + " (" +
           Range(e.centre[0], e.extent[0]) + "), " + b + " +- " + Rounded(e.extent[1]) + " (" +
           Range(e.centre[1], e.extent[1]) + ")\n\n";
  }
}

void AppendEllipseJson(std::string& out, const std::vector<EllipseReport>& ellipses) {
  if (ellipses.empty()) return;
  out += "  \"ellipses\": [";
  for (std::size_t i = 0; i < ellipses.size(); ++i) {
    out += i ? ",\n    " : "\n    ";
    JsonEllipse(out, ellipses[i]);
  }
  out += "\n  ],\n";
}

std::string EllipseFileTag(const EllipseAsk& ask) {
  return std::string(models::Info(ask.first).name) + "-" + models::Info(ask.second).name;
}

std::vector<std::string> EllipseFileTags(const std::vector<EllipseReport>& ellipses) {
  std::vector<std::string> tags;
  for (const EllipseReport& ellipse : ellipses) {
    const EllipseAsk& ask = ellipse.ask;
    const auto samePair = [&ask](const EllipseReport& other) {
      return other.ask.first == ask.first && other.ask.second == ask.second;
    };
    std::string tag = EllipseFileTag(ask);
    if (std::count_if(ellipses.begin(), ellipses.end(), samePair) > 1) {
      tag += '-';
      AppendShortest(tag, ask.level);
    }
    tags.push_back(std::move(tag));
  }
  return tags;
}

}  // namespace quorvane::app
