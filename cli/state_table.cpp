#include "cli/state_table.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/property_columns.h"
#include "app/state_rows.h"
#include "cli/table_writer.h"

namespace quorvane::cli {
namespace {

// Rows a thread computes at once: large enough that starting a thread costs
// little, small enough to keep the text of one block in memory.
constexpr std::int64_t kRowsPerSlice = 16384;
constexpr unsigned kMaxThreads = 8;

struct Slice {
  std::int64_t begin = 0;
  std::int64_t end = 0;
  std::string text;
  std::array<std::int64_t, app::kRowOutcomeCount> rows{};
};

void ComputeSlice(const app::EosRequest& request, const TableWriter& writer, Slice& slice) {
  slice.text.clear();
  slice.rows = {};
  TableWriter::ColumnTexts previous;
  const app::PropertySet properties = PropertiesOf(request);
  std::array<double, 2 * app::kPropertyCount> values{};
  const std::span<double> propertyValues(values.data(),
                                         static_cast<std::size_t>(properties.ValueCount()));
  for (std::int64_t row = slice.begin; row < slice.end; ++row) {
    app::StateRow state =
        ComputeStateRow(request.model, request.known, request.solver, RowInput(request, row));
    state.sigma = app::RowUncertainty(request, state);
    app::SetRowBand(request, state);
    ++slice.rows[static_cast<int>(state.outcome)];
    if (properties.count > 0) app::ComputeProperties(request, properties, state, propertyValues);
    writer.AppendRow(slice.text, state, row == 0, previous, propertyValues);
  }
}

// The first slice on this thread, the others on helpers; a helper that cannot
// be started leaves its slice to this thread.
void ComputeBlock(const app::EosRequest& request, const TableWriter& writer,
                  std::vector<Slice>& slices) {
  std::vector<std::thread> helpers;
  std::size_t started = 1;
  try {
    for (; started < slices.size(); ++started) {
      helpers.emplace_back(ComputeSlice, std::cref(request), std::cref(writer),
                           std::ref(slices[started]));
    }
  } catch (const std::system_error&) {
    // No more threads to be had: the remaining slices run below.
  }
  ComputeSlice(request, writer, slices[0]);
  for (std::size_t i = started; i < slices.size(); ++i) ComputeSlice(request, writer, slices[i]);
  for (std::thread& helper : helpers) helper.join();
}

unsigned ThreadCount(std::int64_t rows) {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
  const auto slices = static_cast<unsigned>(std::min<std::int64_t>(
      (rows + kRowsPerSlice - 1) / kRowsPerSlice, static_cast<std::int64_t>(kMaxThreads)));
  return std::max(1u, std::min(cores, slices));
}

}  // namespace

TableSummary WriteStateTable(const app::EosRequest& request, std::ostream& out) {
  const TableWriter writer(request.format, request.width, app::UncertaintyColumn(request),
                           app::BandColumnsOf(request), app::PropertiesOf(request));
  std::string text;
  writer.AppendHeader(text);
  TableSummary summary;
  if (!(out << text)) {
    summary.written = false;
    return summary;
  }

  const std::int64_t rows = app::RowCount(request);
  std::vector<Slice> slices(ThreadCount(rows));
  for (std::int64_t next = 0; next < rows;) {
    for (Slice& slice : slices) {
      slice.begin = next;
      slice.end = std::min(rows, next + kRowsPerSlice);
      next = slice.end;
    }
    ComputeBlock(request, writer, slices);
    for (const Slice& slice : slices) {
      out << slice.text;
      for (int i = 0; i < app::kRowOutcomeCount; ++i) summary.rows[i] += slice.rows[i];
    }
    if (!out) {
      summary.written = false;
      return summary;
    }
  }

  text.clear();
  writer.AppendFooter(text);
  summary.written = static_cast<bool>(out << text);
  return summary;
}

}  // namespace quorvane::cli
