#pragma once

#include <array>
#include <string>
#include <vector>

#include "fit/confidence_ellipse.h"
#include "models/model.h"

namespace quorvane::app {

// One --ellipse of the fit command: two parameters and a confidence level.
struct EllipseAsk {
  models::Parameter first = models::Parameter::K0;
  models::Parameter second = models::Parameter::Kp0;
  double level = fit::kDefaultConfidenceLevel;
};

// Reads "K0,Kp0" or "K0,Kp0:0.95". Throws InputError for a name that is no
// parameter, one named twice, or a level not in (0, 1).
EllipseAsk EllipseAskFromText(const std::string& text);

// An ellipse of a converged fit, with what the report and figure show beside it.
struct EllipseReport {
  EllipseAsk ask;
  fit::ConfidenceEllipse ellipse;
  // The 1-D standard deviations of the pair, from the same covariance.
  std::array<double, 2> esd{};
  std::string covarianceName;
};

// Throws InputError for a parameter the fit did not refine.
std::vector<EllipseReport> MakeEllipseReports(const fit::FitResult& result,
                                              const std::vector<EllipseAsk>& asks);

void AppendEllipseText(std::string& out, const std::vector<EllipseReport>& ellipses);
// The "ellipses" member of the JSON report with its trailing ",\n", or
// nothing when none was asked for.
void AppendEllipseJson(std::string& out, const std::vector<EllipseReport>& ellipses);

// "K0-Kp0": the pair in a file name; "K0-Kp0-0.95" for each of a pair
// asked for at more than one level, so that no figure replaces another.
std::string EllipseFileTag(const EllipseAsk& ask);
std::vector<std::string> EllipseFileTags(const std::vector<EllipseReport>& ellipses);

}  // namespace quorvane::app
