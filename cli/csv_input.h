#pragma once

#include <istream>
#include <string>

#include "cli/eos_request.h"

namespace quorvane::cli {

// Reads the state points of a CSV text into request.csvRows and sets
// request.known. The first row names the columns: one known quantity (P, V,
// V/V00, V/VT0, or VT0 together with V, the volume held) and optionally T;
// rows without a T column take request.partnerValues' single temperature.
// Blank lines are skipped. Throws InputError naming the source, line and
// column of the first fault.
void ReadCsvRows(std::istream& in, const std::string& source, EosRequest& request);

}  // namespace quorvane::cli
