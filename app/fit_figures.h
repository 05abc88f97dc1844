#pragma once

#include <vector>

#include "app/axis_units.h"
#include "app/fit_report.h"
#include "plot/figure.h"

namespace quorvane::app {

// The data alone, V against P with error bars, before any fit.
plot::Figure DataFigure(const fit::FitData& data);
// The data with error bars and a fitted isotherm for each of the data's
// temperature groups, coloured by temperature.
plot::Figure IsothermFigure(const FitReport& report);
// F against f with the fitted straight line (isothermal data only).
plot::Figure StrainFigure(const FitReport& report);
// The same of any points and line; `reduced` says the points' pressures are
// reduced to the reference isotherm.
plot::Figure StrainFigureOf(const std::vector<fit::StrainPoint>& points,
                            const fit::StrainLine& fitted, const std::string& pressureUnit,
                            bool reduced);
// Residuals P_obs - P_calc, in sigmas where the data have them, against
// P_obs, V or T, with marks at two sigmas.
enum class ResidualAxis { P, V, T };
plot::Figure ResidualFigure(const FitReport& report, ResidualAxis against = ResidualAxis::P);
// The confidence ellipse of two parameters around their estimate, with the
// estimate's 1-D standard deviations as bars.
plot::Figure EllipseFigure(const EllipseReport& report, const AxisUnits& units);

}  // namespace quorvane::app
