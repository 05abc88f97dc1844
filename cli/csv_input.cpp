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

const app::KnownQuantity kQuantities[] = {
    app::KnownQuantity::Pressure, app::KnownQuantity::Volume, app::KnownQuantity::VolumeOverV00,
    app::KnownQuantity::ZeroPressureVolume, app::KnownQuantity::VolumeOverVT0};

app::DataColumns StateColumns() {
  app::DataColumns columns;
  for (app::KnownQuantity quantity : kQuantities)
    columns.optional.emplace_back(ColumnName(quantity));
  columns.optional.emplace_back("T");
  return columns;
}

// Which value of a row is the known quantity and which its partner; -1 for a
// partner the file does not give (the temperature then comes from the
// command line).
struct ColumnLayout {
  app::KnownQuantity quantity = app::KnownQuantity::Pressure;
  int known = -1;
  int partner = -1;
};

ColumnLayout LayoutFromHeader(const app::DataHeader& header) {
  const std::string where = app::DataLocation(header.source, header.line);
  const int temperature = header.Find("T");
  ColumnLayout layout;
  int known = 0;
  for (app::KnownQuantity quantity : kQuantities) {
    const int index = header.Find(ColumnName(quantity));
    if (header.columns[index] == 0) continue;
    layout.quantity = quantity;
    layout.known = index;
    ++known;
  }
  if (header.Has("VT0")) {
    if (header.Has("T"))
      throw app::InputError(where + ": T follows from VT0 and cannot be a column");
    if (!header.Has("V") || known != 2) {
      throw app::InputError(where + ": VT0 needs exactly one other column, V (the volume held)");
    }
    layout.quantity = app::KnownQuantity::ZeroPressureVolume;
    layout.known = header.Find("VT0");
    layout.partner = header.Find("V");
    return layout;
  }
  if (known != 1) {
    throw app::InputError(where +
                          ": name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)");
  }
  if (header.columns[temperature] > 0) layout.partner = temperature;
  return layout;
}

void RequirePositive(double value, const app::DataHeader& header, long line, int index) {
  if (value > 0.0) return;
  throw app::InputError(app::DataLocation(header.source, line, header.columns[index]) + " (" +
                        header.names[index] + "): must be greater than zero");
}

void RequireModelTemperature(const models::Model& model, double T, const app::DataHeader& header,
                             long line, int index) {
  const std::string problem = models::TemperatureError(model, T);
  if (problem.empty()) return;
  throw app::InputError(app::DataLocation(header.source, line, header.columns[index]) + " (" +
                        header.names[index] + "): " + problem);
}

}  // namespace

void ReadCsvRows(std::istream& in, const std::string& source, app::EosRequest& request) {
  ColumnLayout layout;
  const double defaultTemperature = request.partnerValues.start;
  app::ReadDataRows(
      in, source, StateColumns(),
      [&](const app::DataHeader& header) {
        layout = LayoutFromHeader(header);
        if (layout.quantity != app::KnownQuantity::ZeroPressureVolume) return;
        CheckTemperatureFollows(request.model,
                                app::DataLocation(header.source, header.line) + " (VT0)");
      },
      [&](const app::DataHeader& header, const app::DataRow& row) {
        app::StateInput input;
        input.known = row.values[layout.known];
        if (MustBePositive(layout.quantity)) {
          RequirePositive(input.known, header, row.line, layout.known);
        }
        input.partner = defaultTemperature;
        if (layout.partner >= 0) {
          input.partner = row.values[layout.partner];
          if (layout.quantity == app::KnownQuantity::ZeroPressureVolume) {
            RequirePositive(input.partner, header, row.line, layout.partner);
          } else {
            RequireModelTemperature(request.model, input.partner, header, row.line, layout.partner);
          }
        }
        if (static_cast<std::int64_t>(request.csvRows.size()) == app::kMaxRangeValues) {
          throw app::InputError(app::DataLocation(header.source, row.line) + ": more than " +
                                std::to_string(app::kMaxRangeValues) + " state points");
        }
        request.csvRows.push_back(input);
      });
  if (request.csvRows.empty()) {
    throw app::InputError(app::SafeText(source, app::kLongInputLimit) +
                          ": no state points after the header");
  }
  request.known = layout.quantity;
}

}  // namespace quorvane::cli
