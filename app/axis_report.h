#pragma once

#include <string>

#include "fit/axial_parameters.h"

namespace quorvane::app {

// The axis' own parameters as a text table: value and esd of each.
void AppendAxisText(std::string& out, const fit::AxialParameters& axial);

// The members "axis" (name and values) and "axis_esd" (the refined ones'
// esds, null for one held on a bound) of the fit's JSON object, each line
// indented as the object's others and ended with ",\n".
void AppendAxisJson(std::string& out, const fit::AxialParameters& axial);

}  // namespace quorvane::app
