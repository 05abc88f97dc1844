#pragma once

#include "app/command_line.h"
#include "app/eos_request.h"

namespace quorvane::cli {

// With --params: the parameter set, and its covariance if the file holds one,
// from a JSON parameter file. Throws InputError when another parameter option
// is given as well, or the file cannot be read or used.
void ReadParamsOption(const app::TypedOptions& options, app::EosRequest& request);

}  // namespace quorvane::cli
