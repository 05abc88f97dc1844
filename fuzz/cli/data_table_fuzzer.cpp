// Any bytes as a data file, read as a fit's table (P, V required; T, sigP,
// sigV, sigT optional) and as --input's state points. A table that is read
// holds finite numbers in the columns the file has and nothing in the others,
// on increasing lines; a refusal is one safe line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/data_table.h"
#include "app/input_error.h"
#include "cli/csv_input.h"
#include "fuzz/cli/fuzz_checks.h"

namespace {

using namespace quorvane::cli;
namespace app = quorvane::app;
using fuzz::Require;

void CheckTable(const std::string& text) {
  const app::DataColumns columns{{"P", "V"}, {"T", "sigP", "sigV", "sigT"}};
  std::istringstream in(text);
  try {
    const app::DataTable table = ReadDataTable(in, "data.csv", columns);
    Require(table.header.names.size() == 6);
    Require(table.values.size() == table.RowCount() * 6);
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
      Require(row == 0 || table.lines[row] > table.lines[row - 1]);
      Require(table.lines[row] > table.header.line);
      for (std::size_t i = 0; i < 6; ++i) {
        const bool present = table.header.columns[i] > 0;
        Require(present ? std::isfinite(table.Value(row, i)) : std::isnan(table.Value(row, i)));
      }
    }
  } catch (const app::InputError& error) {
    fuzz::RequireErrorLine(error.what());
  }
}

void CheckStatePoints(const std::string& text) {
  app::EosRequest request;
  request.inputPath = "points.csv";
  request.partnerValues.start = 298.0;
  request.partnerValues.last = 298.0;
  std::istringstream in(text);
  try {
    ReadCsvRows(in, "points.csv", request);
    Require(!request.csvRows.empty());
    for (const app::StateInput& row : request.csvRows) {
      Require(std::isfinite(row.known) && std::isfinite(row.partner));
    }
  } catch (const app::InputError& error) {
    fuzz::RequireErrorLine(error.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckTable(text);
  CheckStatePoints(text);
  return 0;
}
