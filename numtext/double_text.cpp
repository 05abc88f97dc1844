#include "numtext/double_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>

#ifndef FMT_HEADER_ONLY
#define FMT_HEADER_ONLY
#endif
#include <fast_float/fast_float.h>
#include <fmt/format.h>

namespace quorvane::numtext {
namespace {

// From here on a double is an integer that need not be the one its shortest
// digits padded with zeros name: its fixed text is its exact value.
constexpr double kInexactIntegers = 9007199254740992.0;  // 2^53

// The same, over digits held elsewhere.
struct DigitsView {
  std::string_view digits;
  int exponent = 0;
};

int Count(const DigitsView& decimal) {
  return static_cast<int>(decimal.digits.size());
}

// The fixed text of a double from inexactFrom on: its exact value.
std::string ExactInteger(double x) {
  char text[400];
  std::snprintf(text, sizeof text, "%.0f", x);
  return text;
}

// d.ddde+XX, the exponent of at least two digits as printf writes it.
int ScientificLength(const DigitsView& decimal) {
  const int exponent = std::abs(decimal.exponent);
  const int exponentDigits = exponent < 100 ? 2 : 3;
  return Count(decimal) + (Count(decimal) > 1 ? 1 : 0) + 2 + exponentDigits;
}

void AppendScientific(std::string& text, const DigitsView& decimal) {
  text += decimal.digits.front();
  if (Count(decimal) > 1) text.append(".").append(decimal.digits, 1);
  text += decimal.exponent < 0 ? "e-" : "e+";
  const int exponent = std::abs(decimal.exponent);
  if (exponent < 10) text += '0';
  text += std::to_string(exponent);
}

// Integers from inexactFrom on need not be the ones their shortest digits
// padded with zeros name: their fixed text is their exact value.
bool IsExactInteger(const DigitsView& decimal, double x, double inexactFrom) {
  return decimal.exponent + 1 >= Count(decimal) && x >= inexactFrom;
}

int FixedLength(const DigitsView& decimal, double x, double inexactFrom) {
  if (decimal.exponent < 0) return Count(decimal) - decimal.exponent + 1;
  if (IsExactInteger(decimal, x, inexactFrom)) return static_cast<int>(ExactInteger(x).size());
  if (decimal.exponent + 1 >= Count(decimal)) return decimal.exponent + 1;
  return Count(decimal) + 1;
}

void AppendFixed(std::string& text, const DigitsView& decimal, double x, double inexactFrom) {
  const auto pointAt = static_cast<std::size_t>(decimal.exponent + 1);
  if (decimal.exponent < 0) {
    text.append("0.").append(static_cast<std::size_t>(-decimal.exponent - 1), '0');
    text += decimal.digits;
  } else if (IsExactInteger(decimal, x, inexactFrom)) {
    text += ExactInteger(x);
  } else if (decimal.exponent + 1 >= Count(decimal)) {
    text.append(decimal.digits).append(pointAt - decimal.digits.size(), '0');
  } else {
    text.append(decimal.digits, 0, pointAt).append(".").append(decimal.digits, pointAt);
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

const char* SkipDigits(const char* c, const char* last) {
  while (c != last && IsDigit(*c)) ++c;
  return c;
}

bool StartsWithWord(const char* c, const char* last, std::string_view word) {
  if (static_cast<std::size_t>(last - c) < word.size()) return false;
  for (char w : word) {
    if (std::tolower(static_cast<unsigned char>(*c++)) != w) return false;
  }
  return true;
}

// The end of the general-format number at first, or first where there is none.
const char* NumberEnd(const char* first, const char* last) {
  const char* c = first;
  if (c != last && *c == '-') ++c;
  if (StartsWithWord(c, last, "infinity")) return c + 8;
  if (StartsWithWord(c, last, "inf")) return c + 3;
  if (StartsWithWord(c, last, "nan")) {
    c += 3;
    if (c == last || *c != '(') return c;
    const char* close = c + 1;
    while (close != last && (std::isalnum(static_cast<unsigned char>(*close)) || *close == '_'))
      ++close;
    return close != last && *close == ')' ? close + 1 : c;
  }
  const char* integerEnd = SkipDigits(c, last);
  const char* end = integerEnd;
  if (end != last && *end == '.') end = SkipDigits(end + 1, last);
  if (end - c - (integerEnd != end ? 1 : 0) <= 0) return first;
  if (end != last && (*end == 'e' || *end == 'E')) {
    const char* exponent = end + 1;
    if (exponent != last && (*exponent == '+' || *exponent == '-')) ++exponent;
    const char* exponentEnd = SkipDigits(exponent, last);
    if (exponentEnd != exponent) end = exponentEnd;
  }
  return end;
}

bool HasNonZeroDigitBeforeExponent(std::string_view text) {
  for (char c : text) {
    if (c == 'e' || c == 'E') return false;
    if (c >= '1' && c <= '9') return true;
  }
  return false;
}

// Integers from this float on need not be the ones their shortest digits
// padded with zeros name.
constexpr double kInexactFloatIntegers = 16777216.0;  // 2^24

// The text of NaNs, infinities and zeros, which have no digits to choose.
template <typename Real>
std::optional<std::string> TextWithoutDigits(Real x) {
  if (std::isnan(x)) return std::signbit(x) ? "-nan" : "nan";
  const std::string sign = std::signbit(x) ? "-" : "";
  if (std::isinf(x)) return sign + "inf";
  if (x == Real(0)) return sign + "0";
  return std::nullopt;
}

// Fixed or scientific notation of the shortest digits of a finite x other
// than zero, whichever is shorter, each worked out before either is written.
void AppendShortestTextOf(std::string& text, bool negative, const DigitsView& digits,
                          double magnitude, double inexactFrom) {
  const int fixedLength = FixedLength(digits, magnitude, inexactFrom);
  const int scientificLength = ScientificLength(digits);
  if (text.empty()) {
    text.reserve(static_cast<std::size_t>(std::min(fixedLength, scientificLength) + 1));
  }
  if (negative) text += '-';
  if (fixedLength <= scientificLength) {
    AppendFixed(text, digits, magnitude, inexactFrom);
  } else {
    AppendScientific(text, digits);
  }
}

// The shortest digits from fmt's Dragonbox, in integer arithmetic and in
// place: the page writes thousands of numbers a fit.
template <typename Real>
void AppendDragonboxText(std::string& text, Real x, double inexactFrom) {
  if (auto special = TextWithoutDigits(x)) {
    text += *special;
    return;
  }
  const Real magnitude = std::fabs(x);
  const auto shortest = fmt::detail::dragonbox::to_decimal(magnitude);
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, shortest.significand).ptr;
  const int exponent = shortest.exponent + static_cast<int>(end - digits) - 1;
  while (end - digits > 1 && end[-1] == '0') --end;
  const DigitsView view{std::string_view(digits, static_cast<std::size_t>(end - digits)), exponent};
  AppendShortestTextOf(text, std::signbit(x), view, static_cast<double>(magnitude), inexactFrom);
}

// Checks the value read from the number at the start of [first, last) as
// std::from_chars does: the same end, and the same errors where it
// overflows or underflows to zero.
template <typename Read>
std::from_chars_result CheckedReading(const char* first, const char* last, double& value,
                                      Read read) {
  const char* end = NumberEnd(first, last);
  if (end == first) return {first, std::errc::invalid_argument};
  const std::string_view text(first, static_cast<std::size_t>(end - first));
  const double x = read(text);
  // "inf" is infinite by name; digits that give it have overflowed.
  const bool digits = IsDigit(text.back()) || text.back() == '.';
  if (std::isinf(x) && digits) return {end, std::errc::result_out_of_range};
  if (x == 0.0 && HasNonZeroDigitBeforeExponent(text)) return {end, std::errc::result_out_of_range};
  value = x;
  return {end, std::errc()};
}

double StrtodValue(std::string_view text) {
  return std::strtod(std::string(text).c_str(), nullptr);
}

// fast_float reads digits in integer arithmetic; infinities and NaNs by name,
// and any form it would end early on, go to strtod.
double FastFloatValue(std::string_view text) {
  double x = 0.0;
  const auto read = fast_float::from_chars(text.data(), text.data() + text.size(), x);
  if (read.ec != std::errc() || read.ptr != text.data() + text.size()) return StrtodValue(text);
  return x;
}

}  // namespace

std::string ShortestTextFromDragonbox(float x) {
  std::string text;
  AppendDragonboxText(text, x, kInexactFloatIntegers);
  return text;
}

std::string ShortestTextFromDragonbox(double x) {
  std::string text;
  AppendDragonboxText(text, x, kInexactIntegers);
  return text;
}

std::string FormattedTextFromFmt(double x, std::chars_format format, int precision) {
  if (format == std::chars_format::fixed) return fmt::format("{:.{}f}", x, precision);
  if (format == std::chars_format::scientific) return fmt::format("{:.{}e}", x, precision);
  return fmt::format("{:.{}g}", x, precision);
}

std::from_chars_result ReadDoubleWithFastFloat(const char* first, const char* last, double& value) {
  return CheckedReading(first, last, value, FastFloatValue);
}

#if defined(__cpp_lib_to_chars)

std::string ShortestText(double x) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, x);
  return std::string(text, written.ptr);
}

std::string ShortestText(float x) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, x);
  return std::string(text, written.ptr);
}

void AppendShortestText(std::string& out, double x) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, x);
  out.append(text, written.ptr);
}

std::string FormattedText(double x, std::chars_format format, int precision) {
  char text[400];
  const std::to_chars_result written =
      std::to_chars(text, text + sizeof text, x, format, precision);
  if (written.ec != std::errc{}) return FormattedTextFromFmt(x, format, precision);
  return std::string(text, written.ptr);
}

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}

#else

std::string ShortestText(double x) {
  return ShortestTextFromDragonbox(x);
}

std::string ShortestText(float x) {
  return ShortestTextFromDragonbox(x);
}

void AppendShortestText(std::string& out, double x) {
  AppendDragonboxText(out, x, kInexactIntegers);
}

std::string FormattedText(double x, std::chars_format format, int precision) {
  return FormattedTextFromFmt(x, format, precision);
}

std::from_chars_result ReadDouble(const char* first, const char* last, double& value) {
  return ReadDoubleWithFastFloat(first, last, value);
}

#endif

}  // namespace quorvane::numtext
