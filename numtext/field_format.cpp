#include "numtext/field_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace quorvane::numtext {
namespace {

// The field buffer holds 256 characters; no field is ever wider.
constexpr int kFieldBufferLength = 256;

// Room for the widest fixed conversion a field can ask for: a sign, the 309
// integer digits of the largest double, the point and fewer than 256 decimals.
constexpr int kConversionBufferLength = 640;

std::string Asterisks(int w) {
  return std::string(static_cast<std::size_t>(w), '*');
}

std::string RightAligned(std::string_view text, int w) {
  std::string field(static_cast<std::size_t>(w) - text.size(), ' ');
  field.append(text);
  return field;
}

// "NaN", "Inf" and "-Inf" show when the field has a decimal column to spare,
// as a number would; otherwise the field is asterisks.
std::string WordField(std::string_view word, int w, int d) {
  if (d < 1 || static_cast<int>(word.size()) > w) return Asterisks(w);
  return RightAligned(word, w);
}

bool IsSubnormal(double x) {
  return x != 0.0 && std::fabs(x) < std::numeric_limits<double>::min();
}

// Integer digits of |x| counted by repeated division, 1 below one. Counting
// stops once it passes limit: the field is asterisks from there on, and an
// infinity would otherwise never drop below one.
int IntegerDigits(double x, int limit) {
  double q = std::fabs(x);
  if (q < 1.0) return 1;
  int k = 0;
  do {
    q = q / 10.0;
    ++k;
  } while (!(q < 1.0) && k <= limit && !std::isnan(q));
  return k;
}

}  // namespace

std::string FixedDecimalEdit(double x, int w, int d) {
  w = std::min(w, kFieldBufferLength);
  if (w <= 0) return {};
  if (std::isnan(x)) return WordField("NaN", w, d);
  if (std::isinf(x)) return WordField(x < 0 ? "-Inf" : "Inf", w, d);
  // Every text needs the point and d decimals, so d >= w never fits.
  if (d < 0 || d >= w || IsSubnormal(x)) return Asterisks(w);

  std::array<char, kConversionBufferLength> buffer;
  const auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed, d);
  if (ec != std::errc{}) return Asterisks(w);
  std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));

  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  const auto point = text.find('.');
  std::string_view integerPart = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);

  // A value that rounds to zero is written without its sign.
  const bool roundsToZero = text.find_first_not_of("0.") == std::string_view::npos;
  const bool showSign = negative && !roundsToZero;
  // The "0" before the point of a magnitude below one takes a column only when one is free.
  const bool belowOne = integerPart == "0";
  const int integerDigits = belowOne ? 0 : static_cast<int>(integerPart.size());
  const int needed = (showSign ? 1 : 0) + integerDigits + 1 + d;
  if (needed > w) return Asterisks(w);
  if (belowOne && needed == w) integerPart = {};

  const auto length = (showSign ? 1 : 0) + integerPart.size() + 1 + fraction.size();
  std::string field(static_cast<std::size_t>(w) - length, ' ');
  if (showSign) field.push_back('-');
  field.append(integerPart);
  field.push_back('.');
  field.append(fraction);
  return field;
}

std::string FormatFieldNumber(double x, int n) {
  n = std::min(n, kFieldBufferLength);
  if (n <= 0) return {};
  const int s = x < 0 ? 1 : 0;
  const int k = std::isinf(x) ? 1 : IntegerDigits(x, n);
  const int d = n - k - 1 - s;
  if (d < 0) return Asterisks(n);
  std::string field = FixedDecimalEdit(x, n, d);
  // Left-align: the leading blanks move to the end, where they are dropped.
  const auto firstMark = field.find_first_not_of(' ');
  field.erase(0, firstMark);
  return field;
}

}  // namespace quorvane::numtext
