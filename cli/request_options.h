#pragma once

#include "cli/command_line.h"
#include "cli/eos_request.h"

namespace quorvane::cli {

// The whole request the options describe, the CSV rows not yet read. Throws
// InputError naming the argument for any bad or conflicting option.
EosRequest RequestFromOptions(const TypedOptions& options);

// The column and option names of the quantities.
const char* ColumnName(KnownQuantity quantity);
const char* OptionName(KnownQuantity quantity);

// Volumes and ratios must be positive, as on the form.
bool MustBePositive(KnownQuantity quantity);

}  // namespace quorvane::cli
