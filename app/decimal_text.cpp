#include "app/decimal_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "numtext/double_text.h"

namespace quorvane::app {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// True when text is exactly sign? mantissa exponent? as ParseDecimal describes.
bool HasDecimalSyntax(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t integerEnd = SkipDigits(text, i);
  std::size_t digits = integerEnd - i;
  i = integerEnd;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionEnd = SkipDigits(text, i + 1);
    digits += fractionEnd - (i + 1);
    i = fractionEnd;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponentEnd = SkipDigits(text, i);
    if (exponentEnd == i) return false;
    i = exponentEnd;
  }
  return i == text.size();
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  if (!HasDecimalSyntax(text)) return std::nullopt;
  // from_chars takes no plus sign; the syntax check has vouched for the rest.
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = numtext::ReadDouble(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string DecimalSyntaxProblem(std::string_view text) {
  if (text.empty()) return "is empty, a number is needed";
  if (HasDecimalSyntax(text)) return "is beyond the range of a double";
  return "is not a decimal number (digits, one point, an optional exponent)";
}

void AppendShortest(std::string& out, double x) {
  // Whatever its sign bit, a NaN prints as "nan".
  if (std::isnan(x)) {
    out += "nan";
    return;
  }
  numtext::AppendShortestText(out, x);
}

}  // namespace quorvane::app
