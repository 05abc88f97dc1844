#pragma once

#include <string>
#include <vector>

#include "app/fit_ellipses.h"
#include "fit/eos_fit.h"

namespace quorvane::web {

// Keeps a copy of the data, the result and the ellipses asked for of the
// page's latest fit, so that its figures are drawn apart from the fit (a
// script that wants only the report does not wait for them) and an ellipse
// of another pair or level needs no new fit.
void RememberFit(const std::vector<cli::EllipseAsk>& ellipses, const fit::FitData& data,
                 const fit::FitResult& result);

// The figures of the remembered fit as the page draws them, as JSON:
//   {"lines": [file line of each fitted point],
//    "figures": [{"name", "tab", "figure": plot's FigureJson, "svg": the
//                 command line's --plot file, "observations": [...]}]}
// where "observations" holds, for each series, the index of the fitted point
// behind each of its markers, or null where the markers are no data points.
// With fewer than two ellipses asked for, the first two refined parameters
// get one at the default level, so that the page always has one to show.
// Without a remembered fit: {"error": message}.
std::string FitFiguresJson();

// The ellipse "K0,Kp0:0.95" (the command line's --ellipse text) of the
// remembered fit, as one entry of "figures" above, or {"error": message}.
std::string EllipseFigureJson(const std::string& ask);

}  // namespace quorvane::web
