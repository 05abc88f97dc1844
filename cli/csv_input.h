#pragma once

#include <istream>
#include <string>

#include "app/eos_request.h"

namespace quorvane::cli {

// Reads the state points of a CSV or TSV text (ReadDataRows: any other
// columns, comments and blank lines are passed over) into request.csvRows and
// sets request.known. The header names one known quantity (P, V, V/V00,
// V/VT0, or VT0 together with V, the volume held) and optionally T; rows
// without a T column take request.partnerValues' single temperature. Throws
// InputError naming the source, line and column of the first fault.
void ReadCsvRows(std::istream& in, const std::string& source, app::EosRequest& request);

}  // namespace quorvane::cli
