#include "cli/csv_input.h"

#include <cstdint>
#include <string>

#include "app/data_table.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/value_range.h"
#include "cli/request_options.h"
#include "models/model_catalogue.h"

namespace quorvane::cli {
namespace {

const KnownQuantity kQuantities[] = {
    KnownQuantity::Pressure, KnownQuantity::Volume, KnownQuantity::VolumeOverV00,
    KnownQuantity::ZeroPressureVolume, KnownQuantity::VolumeOverVT0};

DataColumns StateColumns() {
  DataColumns columns;
  for (KnownQuantity quantity : kQuantities) columns.optional.emplace_back(ColumnName(quantity));
  columns.optional.emplace_back("T");
  return columns;
}

// Which value of a row is the known quantity and which its partner; -1 for a
// partner the file does not give (the temperature then comes from the
// command line).
struct ColumnLayout {
  KnownQuantity quantity = KnownQuantity::Pressure;
  int known = -1;
  int partner = -1;
};

ColumnLayout LayoutFromHeader(const DataHeader& header) {
  const std::string where = DataLocation(header.source, header.line);
  const int temperature = header.Find("T");
  ColumnLayout layout;
  int known = 0;
  for (KnownQuantity quantity : kQuantities) {
    const int index = header.Find(ColumnName(quantity));
    if (header.columns[index] == 0) continue;
    layout.quantity = quantity;
    layout.known = index;
    ++known;
  }
  if (header.Has("VT0")) {
    if (header.Has("T")) throw InputError(where + ": T follows from VT0 and cannot be a column");
    if (!header.Has("V") || known != 2) {
      throw InputError(where + ": VT0 needs exactly one other column, V (the volume held)");
    }
    layout.quantity = KnownQuantity::ZeroPressureVolume;
    layout.known = header.Find("VT0");
    layout.partner = header.Find("V");
    return layout;
  }
  if (known != 1) {
    throw InputError(where +
                     ": name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)");
  }
  if (header.columns[temperature] > 0) layout.partner = temperature;
  return layout;
}

void RequirePositive(double value, const DataHeader& header, long line, int index) {
  if (value > 0.0) return;
  throw InputError(DataLocation(header.source, line, header.columns[index]) + " (" +
                   header.names[index] + "): must be greater than zero");
}

void RequireModelTemperature(const models::Model& model, double T, const DataHeader& header,
                             long line, int index) {
  const std::string problem = models::TemperatureError(model, T);
  if (problem.empty()) return;
  throw InputError(DataLocation(header.source, line, header.columns[index]) + " (" +
                   header.names[index] + "): " + problem);
}

}  // namespace

void ReadCsvRows(std::istream& in, const std::string& source, EosRequest& request) {
  ColumnLayout layout;
  const double defaultTemperature = request.partnerValues.start;
  ReadDataRows(
      in, source, StateColumns(),
      [&](const DataHeader& header) {
        layout = LayoutFromHeader(header);
        if (layout.quantity != KnownQuantity::ZeroPressureVolume) return;
        CheckTemperatureFollows(request.model, DataLocation(header.source, header.line) + " (VT0)");
      },
      [&](const DataHeader& header, const DataRow& row) {
        StateInput input;
        input.known = row.values[layout.known];
        if (MustBePositive(layout.quantity)) {
          RequirePositive(input.known, header, row.line, layout.known);
        }
        input.partner = defaultTemperature;
        if (layout.partner >= 0) {
          input.partner = row.values[layout.partner];
          if (layout.quantity == KnownQuantity::ZeroPressureVolume) {
            RequirePositive(input.partner, header, row.line, layout.partner);
          } else {
            RequireModelTemperature(request.model, input.partner, header, row.line, layout.partner);
          }
        }
        if (static_cast<std::int64_t>(request.csvRows.size()) == kMaxRangeValues) {
          throw InputError(DataLocation(header.source, row.line) + ": more than " +
                           std::to_string(kMaxRangeValues) + " state points");
        }
        request.csvRows.push_back(input);
      });
  if (request.csvRows.empty()) {
    throw InputError(SafeText(source, kLongInputLimit) + ": no state points after the header");
  }
  request.known = layout.quantity;
}

}  // namespace quorvane::cli
