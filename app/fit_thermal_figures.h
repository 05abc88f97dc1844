#pragma once

#include "app/fit_report.h"
#include "plot/figure.h"

namespace quorvane::app {

// The thermal part of a fit to data at several temperatures, against T: for
// a thermal-pressure model P_th(V, T) = P(V, T) - P(V, T(ref)) along a few of
// the data's volumes, with each point's P - P(V, T(ref)); for an expansion
// model V(T, 0), with each point's volume carried to zero pressure along its
// fitted isotherm.
plot::Figure ThermalFigure(const FitReport& report);

// F against f of the data reduced to the reference isotherm (each point's
// pressure less its thermal pressure at its V and T), with the straight line
// through them.
plot::Figure ReducedStrainFigure(const FitReport& report);

}  // namespace quorvane::app
