#pragma once

#include <array>
#include <cstdint>
#include <ostream>

#include "app/eos_request.h"
#include "app/state_rows.h"

namespace quorvane::cli {

// How many rows of a table had each outcome, and whether the whole table
// was written.
struct TableSummary {
  std::array<std::int64_t, app::kRowOutcomeCount> rows{};
  bool written = true;

  std::int64_t Count(app::RowOutcome outcome) const { return rows[static_cast<int>(outcome)]; }
};

// Computes every row of the request and writes the table to out. Rows are
// computed in blocks spread over the processor's cores and written in order,
// so the output does not depend on the number of threads. Stops after the
// first block that out fails to take (a full disk, a closed pipe).
TableSummary WriteStateTable(const app::EosRequest& request, std::ostream& out);

}  // namespace quorvane::cli
