#pragma once

#include <vector>

#include "app/fit_report.h"
#include "plot/figure.h"

namespace quorvane::cli {

// The data with error bars and the fitted isotherm of each temperature.
plot::Figure IsothermFigure(const FitReport& report);
// F against f with the fitted straight line (isothermal data only).
plot::Figure StrainFigure(const FitReport& report);
// Residuals P_obs - P_calc against P_obs with their sigmas.
plot::Figure ResidualFigure(const FitReport& report);
// The confidence ellipse of two parameters around their estimate, with the
// estimate's 1-D standard deviations as bars.
plot::Figure EllipseFigure(const EllipseReport& report);

}  // namespace quorvane::cli
