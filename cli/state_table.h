#pragma once

#include <cstdint>
#include <ostream>

#include "cli/eos_request.h"

namespace quorvane::cli {

// Computes every row of the request and writes the table to out. Rows are
// computed in blocks spread over the processor's cores and written in order,
// so the output does not depend on the number of threads. Returns the number
// of rows whose pressure could not be reached.
std::int64_t WriteStateTable(const EosRequest& request, std::ostream& out);

}  // namespace quorvane::cli
