#include "cli/table_writer.h"

#include <cmath>

#include "cli/decimal_text.h"
#include "numtext/field_format.h"

namespace quorvane::cli {
namespace {

const char* const kColumns[] = {"P", "T", "V", "V/V00", "VT0", "V/VT0"};

}  // namespace

void TableWriter::AppendHeader(std::string& out) const {
  if (format_ == OutputFormat::Json) {
    out += "[\n";
    return;
  }
  for (const char* column : kColumns) {
    if (column != kColumns[0]) out += Separator();
    out += column;
  }
  if (withConverged_) {
    out += Separator();
    out += "converged";
  }
  out += '\n';
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
  const engine::WorkingPoint& p = row.point;
  const double values[] = {p.P, p.T, p.V, p.VoverV00, p.VT0, p.VoverVT0};
  const char* const converged = row.converged ? "true" : "false";
  if (format_ == OutputFormat::Json) {
    out += first ? "  {" : ",\n  {";
    for (int i = 0; i < 6; ++i) {
      out += i == 0 ? "\"" : ", \"";
      out += kColumns[i];
      out += "\": ";
      AppendColumn(out, i, values[i], previous);
    }
    if (withConverged_) {
      out += ", \"converged\": ";
      out += converged;
    }
    out += '}';
    return;
  }
  for (int i = 0; i < 6; ++i) {
    if (i > 0) out += Separator();
    AppendColumn(out, i, values[i], previous);
  }
  if (withConverged_) {
    out += Separator();
    out += converged;
  }
  out += '\n';
}

void TableWriter::AppendFooter(std::string& out) const {
  if (format_ == OutputFormat::Json) out += "\n]\n";
}

}  // namespace quorvane::cli
