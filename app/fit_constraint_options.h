#pragma once

#include <string>
#include <vector>

#include "fit/fit_constraints.h"

namespace quorvane::app {

// "K0=160.2:0.5" items, comma-separated, of every --constrain given: the
// prior's mean and sigma. Throws InputError for an unknown parameter or a
// value that is not a number; the fit judges the values.
std::vector<fit::Prior> PriorsFromOptions(const std::vector<std::string>& options);

// "Kp0=2:8" items of every --bounds given: the lower and upper limits.
std::vector<fit::Bound> BoundsFromOptions(const std::vector<std::string>& options);

fit::EsdScaling EsdScalingFromOption(const std::string& text);

}  // namespace quorvane::app
