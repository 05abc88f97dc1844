#include "cli/table_writer.h"

#include <cmath>

#include "app/decimal_text.h"
#include "numtext/field_format.h"

namespace quorvane::cli {

void TableWriter::AppendHeader(std::string& out) const {
  if (format_ == OutputFormat::Json) {
    out += "[\n";
    return;
  }
  for (const char* column : kStateColumnNames) {
    out += column;
    out += Separator();
  }
  Extra extras[3];
  const int count = Extras(StateRow{}, extras);
  for (int i = 0; i < count; ++i) {
    out += extras[i].name;
    out += Separator();
  }
  out += "converged\n";
}

int TableWriter::Extras(const StateRow& row, Extra (&extras)[3]) const {
  int count = 0;
  if (uncertainty_) extras[count++] = {uncertainty_, row.sigma};
  if (band_.lower) {
    extras[count++] = {band_.lower, row.lower};
    extras[count++] = {band_.upper, row.upper};
  }
  return count;
}

void TableWriter::AppendNumber(std::string& out, double x) const {
  const bool json = format_ == OutputFormat::Json;
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
  AppendShortest(out, x);
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

void TableWriter::AppendRow(std::string& out, const StateRow& row, bool first,
                            ColumnTexts& previous) const {
  const auto values = StateValues(row.point);
  const char* const converged = row.IsStatePoint() ? "true" : "false";
  if (format_ == OutputFormat::Json) {
    out += first ? "  {" : ",\n  {";
    for (int i = 0; i < kStateColumnCount; ++i) {
      out += i == 0 ? "\"" : ", \"";
      out += kStateColumnNames[i];
      out += "\": ";
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
    out += ", \"converged\": ";
    out += converged;
    out += '}';
    return;
  }
  for (int i = 0; i < kStateColumnCount; ++i) {
    AppendColumn(out, i, values[i], previous);
    out += Separator();
  }
  Extra extras[3];
  const int count = Extras(row, extras);
  for (int i = 0; i < count; ++i) {
    AppendNumber(out, extras[i].value);
    out += Separator();
  }
  out += converged;
  out += '\n';
}

void TableWriter::AppendFooter(std::string& out) const {
  if (format_ == OutputFormat::Json) out += "\n]\n";
}

}  // namespace quorvane::cli
