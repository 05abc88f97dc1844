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
void RememberFit(const std::vector<app::EllipseAsk>& ellipses, const fit::FitData& data,
                 const fit::FitResult& result);

// The figures of the remembered fit as the page draws them, as JSON:
//   {"lines": [file line of each fitted point],
//    "figures": [{"name", "tab", "ask", "figure": plot's FigureJson,
//                 "leftOut", "observations": [...]}]}
// where "name" is that of the figure's --plot file, "ask" the --ellipse text
// of an ellipse ("" for the others), "leftOut" which points the figure does
// not draw and why ("" where it draws every one), and "observations" holds,
// for each series, the index of the fitted point behind each of its
// markers, or null where the markers are no data points. Where no ellipse was asked for, K0
// and K'0 (or the first two refined parameters) get one at the default
// level, so that the page always has one to show. Without a remembered fit:
// {"error": message}.
std::string FitFiguresJson();

// {"svg": the file --plot writes} of the remembered fit's figure of that
// name, or with an ask, of that ellipse; or {"error": message}. Apart from
// the figures, as the SVG text of 100,000 points is tens of megabytes that
// only an export needs.
std::string FigureSvgJson(const std::string& name, const std::string& ask);

// The ellipse "K0,Kp0:0.95" (the command line's --ellipse text) of the
// remembered fit, as one entry of "figures" above, or {"error": message}.
std::string EllipseFigureJson(const std::string& ask);

}  // namespace quorvane::web
