#pragma once

#include <string>
#include <vector>

namespace quorvane::web {

// What the model panel offers, from the catalogue and the fit command's
// option definitions, as JSON:
//   {"equations": [{"name", "title", "orders": [2, 3]}, ...],
//    "thermals": [{"name", "title", "thermal_pressure"}, ...],
//    "volume_units": [...], "esd_scaling": [...],
//    "options": {"--eos": help, ...},
//    "parameters": [{"name", "symbol", "meaning", "help"}, ...],
//    "models": {"EQUATION/ORDER/THERMAL": {"free": {NAME: default text},
//                                          "implied": [NAME, ...]}, ...}}
// A model's free parameters are those a start value or a Refine box may be
// given for; their defaults are those of the fit's start.
std::string CatalogueJson();

// The command line's message for fit options it refuses (without DATA), or
// an empty string for options it takes.
std::string FitOptionsError(const std::vector<std::string>& options);

}  // namespace quorvane::web
