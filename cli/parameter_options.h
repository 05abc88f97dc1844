#pragma once

#include "cli/command_line.h"
#include "engine/eos_parameters.h"

namespace quorvane::cli {

// The parameter set the options describe: the calculator's start-up values
// where an option is absent, the form's order limits, and the implied K'0 and
// K''0 applied exactly as the form applies them. Throws InputError for a value
// that is not a number, an order the type does not offer, a coefficient the
// order implies, or V0, K0 or |K'0| below the calculator's floor.
engine::EosParameters ParametersFromOptions(const TypedOptions& options);

}  // namespace quorvane::cli
