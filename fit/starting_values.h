#pragma once

#include <vector>

#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::fit {

// Replaces the starting values of refined V0 and K0 that the user did not give
// with values read off the data: a straight line V(P) through the lowest-
// pressure third of the points nearest T(ref) gives V(T,0) at P = 0 and, from
// its slope, K. A refined K''0 without a given start then starts from the
// value 3rd order implies for that K0. Estimates that make no sense (a line
// rising with pressure) leave the values as they were; so do the thermal
// parameters, about which the line says nothing.
void EstimateStart(const FitData& data, const std::vector<models::Parameter>& refined,
                   const std::vector<models::Parameter>& given, models::Model& model);

}  // namespace quorvane::fit
