#pragma once

#include <string>
#include <vector>

#include "app/fit_report.h"
#include "plot/figure.h"

namespace quorvane::app {

// One figure of a fit with the name its file carries after the plot prefix
// ("isotherm", "residuals-V", "ellipse-K0-Kp0"), so that every front end
// names and draws a fit's figures alike.
struct NamedFigure {
  std::string name;
  plot::Figure figure;
};

// Every figure of the fit, in the order they are written: the isotherms, the
// residuals against P and V, then F-f for isothermal data, or the residuals
// against T, the thermal figure and the reduced F-f for several
// temperatures, and last the report's ellipses.
std::vector<NamedFigure> FitFigureSet(const FitReport& report);

}  // namespace quorvane::app
