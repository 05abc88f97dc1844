#include "cli/table_writer.h"

#include <cmath>

#include "app/decimal_text.h"
#include "numtext/field_format.h"

namespace quorvane::cli {

void TableWriter::AppendHeader(std::string& out) const {
  if (format_ == app::OutputFormat::Json) {
    out += "[\n";
    return;
  }
  for (const char* column : app::kStateColumnNames) {
    out += column;
    out += Separator();
  }
  Extra extras[3];
  const int count = Extras(app::StateRow{}, extras);
  for (int i = 0; i < count; ++i) {
    out += extras[i].name;
    out += Separator();
  }
  for (int i = 0; i < properties_.ValueCount(); ++i) {
    out += properties_.Name(i);
    out += Separator();
  }
  out += "converged\n";
}

int TableWriter::Extras(const app::StateRow& row, Extra (&extras)[3]) const {
  int count = 0;
  if (uncertainty_) extras[count++] = {uncertainty_, row.sigma};
  if (band_.lower) {
    extras[count++] = {band_.lower, row.lower};
    extras[count++] = {band_.upper, row.upper};
  }
  return count;
}

void TableWriter::AppendNumber(std::string& out, double x) const {
  const bool json = format_ == app::OutputFormat::Json;
  if (width_ > 0) {
    if (json) out += '"';
    out += numtext::FormatFieldNumber(x, width_);
    if (json) out += '"';
    return;
  }
  // JSON has no words for the non-finite values.
  if (json && !std::isfinite(x)) {
    out += "null";
    return;
  }
  app::AppendShortest(out, x);
}

void TableWriter::AppendColumn(std::string& out, int column, double x,
                               ColumnTexts& previous) const {
  std::string& text = previous.texts[column];
  if (!previous.known[column] || std::memcmp(&previous.values[column], &x, sizeof x) != 0) {
    text.clear();
    AppendNumber(text, x);
    previous.values[column] = x;
    previous.known[column] = true;
  }
  out += text;
}

namespace {

// The columns of V(T,0) and V/V(T,0) in kStateColumnNames.
constexpr int kZeroPressureVolumeColumn = 4;
constexpr int kOverZeroPressureVolumeColumn = 5;

// Where V(T,0) does not exist its columns are left empty (null in JSON).
bool IsAbsentColumn(const app::StateRow& row, int column) {
  return row.zeroPressureVolumeAbsent &&
         (column == kZeroPressureVolumeColumn || column == kOverZeroPressureVolumeColumn);
}

}  // namespace

void TableWriter::AppendRow(std::string& out, const app::StateRow& row, bool first,
                            ColumnTexts& previous, std::span<const double> properties) const {
  const auto values = app::StateValues(row.point);
  const char* const converged = row.IsStatePoint() ? "true" : "false";
  if (format_ == app::OutputFormat::Json) {
    out += first ? "  {" : ",\n  {";
    for (int i = 0; i < app::kStateColumnCount; ++i) {
      out += i == 0 ? "\"" : ", \"";
      out += app::kStateColumnNames[i];
      out += "\": ";
      if (IsAbsentColumn(row, i)) {
        out += "null";
        continue;
      }
      AppendColumn(out, i, values[i], previous);
    }
    Extra extras[3];
    const int count = Extras(row, extras);
    for (int i = 0; i < count; ++i) {
      out += ", \"";
      out += extras[i].name;
      out += "\": ";
      AppendNumber(out, extras[i].value);
    }
    for (std::size_t i = 0; i < properties.size(); ++i) {
      out += ", \"";
      out += properties_.Name(static_cast<int>(i));
      out += "\": ";
      AppendNumber(out, properties[i]);
    }
    out += ", \"converged\": ";
    out += converged;
    out += '}';
    return;
  }
  for (int i = 0; i < app::kStateColumnCount; ++i) {
    if (!IsAbsentColumn(row, i)) AppendColumn(out, i, values[i], previous);
    out += Separator();
  }
  Extra extras[3];
  const int count = Extras(row, extras);
  for (int i = 0; i < count; ++i) {
    AppendNumber(out, extras[i].value);
    out += Separator();
  }
  for (const double value : properties) {
    AppendNumber(out, value);
    out += Separator();
  }
  out += converged;
  out += '\n';
}

void TableWriter::AppendFooter(std::string& out) const {
  if (format_ == app::OutputFormat::Json) out += "\n]\n";
}

}  // namespace quorvane::cli
