#include "app/axis_report.h"

#include <cmath>
#include <cstdio>

#include "app/decimal_text.h"
#include "params/json_text.h"

namespace quorvane::app {
namespace {

// As the fit's own table: values in full, esds to four digits.
constexpr int kEsdDigits = 4;
constexpr std::size_t kSymbolWidth = 8;
constexpr std::size_t kValueWidth = 25;
constexpr std::size_t kEsdWidth = 13;

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string EsdText(const fit::AxialValue& value) {
  if (!value.refined) return "fixed";
  if (std::isnan(value.esd)) return "at bound";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*g", kEsdDigits, value.esd);
  return buffer;
}

void JsonNumber(std::string& out, const char* key, double x, bool first) {
  if (!first) out += ", ";
  params::AppendJsonString(out, key);
  out += ": ";
  if (std::isfinite(x)) {
    params::AppendJsonNumber(out, x);
  } else {
    out += "null";
  }
}

}  // namespace

void AppendAxisText(std::string& out, const fit::AxialParameters& axial) {
  out += "Axis " + axial.axis +
         " (its cube fitted as V: L0 = V0^(1/3), M = 3K, alpha of the axis " +
         "= alpha/3; esds as reported above)\n";
  out += "  parameter                    value          esd\n";
  for (const fit::AxialValue& value : axial.values) {
    const std::string symbol = value.symbol;
    out += "  " + symbol + std::string(kSymbolWidth - symbol.size(), ' ');
    std::string number;
    AppendShortest(number, value.value);
    out += Padded(number, kValueWidth) + Padded(EsdText(value), kEsdWidth) + '\n';
  }
}

void AppendAxisJson(std::string& out, const fit::AxialParameters& axial) {
  out += "  \"axis\": {\"name\": ";
  params::AppendJsonString(out, axial.axis);
  for (const fit::AxialValue& value : axial.values) JsonNumber(out, value.name, value.value, false);
  out += "},\n  \"axis_esd\": {";
  bool first = true;
  for (const fit::AxialValue& value : axial.values) {
    if (!value.refined) continue;
    JsonNumber(out, value.name, value.esd, first);
    first = false;
  }
  out += "},\n";
}

}  // namespace quorvane::app
