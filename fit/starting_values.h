#pragma once

#include <vector>

#include "engine/eos_parameters.h"
#include "fit/fit_data.h"
#include "fit/refined_parameter.h"

namespace quorvane::fit {

// Replaces the starting values of refined V0 and K0 that the user did not give
// with values read off the data: a straight line V(P) through the lowest-
// pressure third of the points nearest T(ref) gives V(T,0) at P = 0 and, from
// its slope, K. A refined K''0 without a given start then starts from the
// value 3rd order implies for that K0. Estimates that make no sense (a line
// rising with pressure) leave the values as they were.
void EstimateStart(const FitData& data, const std::vector<RefinedParameter>& refined,
                   const std::vector<RefinedParameter>& given, engine::EosParameters& parameters);

}  // namespace quorvane::fit
