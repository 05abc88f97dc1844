#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/eos_parameters.h"
#include "models/model.h"

namespace quorvane::app {

// An option that describes the model, with its help, as the table command and
// the fit both offer it: the model's shape (--eos, --order, --thermal, ...)
// and one option per parameter of the catalogue.
struct ParameterOption {
  std::string name;
  std::string help;
};
const std::vector<ParameterOption>& ParameterOptions();

// The model the options describe. For the calculator's own family exactly the
// form's procedure: its start-up values where an option is absent, its order
// limits, the floors of V0, K0 and |K'0|, and the implied K'0 and K''0 applied
// as the form applies them (at 4th order from the 3rd-order K''0). Every other
// model follows the catalogue's rules. Throws InputError, one line naming the
// option, for a value that is not a number, a parameter the model does not use
// or implies, or a model the catalogue cannot compute.
models::Model ModelFromOptions(const TypedOptions& options);

// The same as the calculator's parameter set, for the Python module's Eos, which
// computes on it; refuses every other model.
engine::EosParameters ParametersFromOptions(const TypedOptions& options);

}  // namespace quorvane::app
