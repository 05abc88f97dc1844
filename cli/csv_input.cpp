#include "cli/csv_input.h"

#include <optional>
#include <string_view>
#include <vector>

#include "cli/decimal_text.h"
#include "cli/input_error.h"
#include "cli/request_options.h"
#include "cli/value_range.h"

namespace quorvane::cli {
namespace {

// Where each quantity sits in a row; -1 when the file has no such column.
struct ColumnLayout {
  int count = 0;
  int known = -1;
  int partner = -1;
  KnownQuantity quantity = KnownQuantity::Pressure;
  const char* partnerName = "T";
};

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const auto comma = line.find(',', start);
    fields.push_back(Trimmed(line.substr(start, comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

std::string Where(const std::string& source, long line, std::size_t column) {
  std::string where = source + " line " + std::to_string(line);
  if (column > 0) where += ", column " + std::to_string(column);
  return where;
}

std::optional<KnownQuantity> QuantityNamed(std::string_view name) {
  for (KnownQuantity quantity :
       {KnownQuantity::Pressure, KnownQuantity::Volume, KnownQuantity::VolumeOverV00,
        KnownQuantity::ZeroPressureVolume, KnownQuantity::VolumeOverVT0}) {
    if (name == ColumnName(quantity)) return quantity;
  }
  return std::nullopt;
}

std::string_view Unquoted(std::string_view name) {
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
    return name.substr(1, name.size() - 2);
  }
  return name;
}

ColumnLayout LayoutFromHeader(std::string_view line, long lineNumber, const std::string& source) {
  const std::vector<std::string_view> names = Fields(line);
  std::vector<std::optional<KnownQuantity>> quantities;
  int temperature = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string_view name = Unquoted(names[i]);
    const auto quantity = QuantityNamed(name);
    const bool isTemperature = name == "T";
    if (!quantity && !isTemperature) {
      throw InputError(Where(source, lineNumber, i + 1) + ": unknown column \"" +
                       std::string(name) + "\" (the names are P, T, V, V/V00, VT0, V/VT0)");
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (Unquoted(names[j]) == name) {
        throw InputError(Where(source, lineNumber, i + 1) + ": column \"" + std::string(name) +
                         "\" appears twice");
      }
    }
    if (isTemperature) temperature = static_cast<int>(i);
    quantities.push_back(quantity);
  }

  ColumnLayout layout;
  layout.count = static_cast<int>(names.size());
  int zeroPressureVolume = -1;
  int volume = -1;
  int known = 0;
  for (std::size_t i = 0; i < quantities.size(); ++i) {
    if (!quantities[i]) continue;
    if (*quantities[i] == KnownQuantity::ZeroPressureVolume)
      zeroPressureVolume = static_cast<int>(i);
    if (*quantities[i] == KnownQuantity::Volume) volume = static_cast<int>(i);
    layout.known = static_cast<int>(i);
    layout.quantity = *quantities[i];
    ++known;
  }
  const std::string header = Where(source, lineNumber, 0);
  if (zeroPressureVolume >= 0) {
    if (temperature >= 0) throw InputError(header + ": T follows from VT0 and cannot be a column");
    if (volume < 0 || known != 2) {
      throw InputError(header + ": VT0 needs exactly one other column, V (the volume held)");
    }
    layout.known = zeroPressureVolume;
    layout.quantity = KnownQuantity::ZeroPressureVolume;
    layout.partner = volume;
    layout.partnerName = "V";
    return layout;
  }
  if (known != 1) {
    throw InputError(header +
                     ": name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)");
  }
  layout.partner = temperature;
  return layout;
}

double FieldNumber(std::string_view field, const std::string& where, std::string_view name) {
  if (const auto value = ParseDecimal(field)) return *value;
  throw InputError(where + " (" + std::string(name) + "): \"" + std::string(field) + "\" " +
                   DecimalSyntaxProblem(field));
}

}  // namespace

void ReadCsvRows(std::istream& in, const std::string& source, EosRequest& request) {
  std::optional<ColumnLayout> layout;
  std::string line;
  long lineNumber = 0;
  const double defaultTemperature = request.partnerValues.start;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trimmed(line).empty()) continue;
    if (!layout) {
      layout = LayoutFromHeader(line, lineNumber, source);
      continue;
    }
    const std::vector<std::string_view> fields = Fields(line);
    if (static_cast<int>(fields.size()) != layout->count) {
      throw InputError(Where(source, lineNumber, 0) + ": " + std::to_string(fields.size()) +
                       " fields, the header names " + std::to_string(layout->count));
    }
    const KnownQuantity quantity = layout->quantity;
    StateInput row;
    row.known = FieldNumber(fields[layout->known], Where(source, lineNumber, layout->known + 1),
                            ColumnName(quantity));
    if (MustBePositive(quantity) && !(row.known > 0.0)) {
      throw InputError(Where(source, lineNumber, layout->known + 1) + " (" + ColumnName(quantity) +
                       "): must be greater than zero");
    }
    row.partner = defaultTemperature;
    if (layout->partner >= 0) {
      const std::string where = Where(source, lineNumber, layout->partner + 1);
      row.partner = FieldNumber(fields[layout->partner], where, layout->partnerName);
      if (quantity == KnownQuantity::ZeroPressureVolume && !(row.partner > 0.0)) {
        throw InputError(where + " (V): must be greater than zero");
      }
    }
    if (static_cast<std::int64_t>(request.csvRows.size()) == kMaxRangeValues) {
      throw InputError(source + ": more than " + std::to_string(kMaxRangeValues) + " state points");
    }
    request.csvRows.push_back(row);
  }
  if (in.bad()) throw InputError(source + ": cannot be read");
  if (!layout) throw InputError(source + ": no header row");
  if (request.csvRows.empty()) throw InputError(source + ": no state points after the header");
  request.known = layout->quantity;
}

}  // namespace quorvane::cli
