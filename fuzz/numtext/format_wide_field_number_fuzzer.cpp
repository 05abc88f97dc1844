// Any double bit pattern at the widths 9 to 32 that quorvane-eos --width
// allows: the text is no wider than the field, made only of what a field may
// show, and a number that fits reads back to within half a unit of its last
// decimal of the value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "numtext/field_format.h"

namespace {

constexpr int kNarrowest = 9;
constexpr int kWidest = 32;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsWord(std::string_view text) {
  return text == "NaN" || text == "Inf" || text == "-Inf";
}

bool IsStars(std::string_view text) {
  return !text.empty() && text.find_first_not_of('*') == std::string_view::npos;
}

bool IsNumberText(std::string_view text) {
  if (text.find_first_not_of("0123456789.-") != std::string_view::npos) return false;
  const auto minus = text.rfind('-');
  const auto point = text.find('.');
  return (minus == std::string_view::npos || minus == 0) && point != std::string_view::npos &&
         text.find('.', point + 1) == std::string_view::npos;
}

// The shown number is x rounded to its decimals: within half a unit of the
// last one, give or take the rounding of reading the text back.
void CheckValue(double x, const std::string& text) {
  const auto decimals = static_cast<int>(text.size() - text.find('.') - 1);
  const double shown = std::strtod(text.c_str(), nullptr);
  const double halfUnit = 0.5 * std::pow(10.0, -decimals);
  const double slack = 4.0 * std::fabs(std::nextafter(x, INFINITY) - x) + 1e-300;
  Require(std::fabs(shown - x) <= halfUnit * (1.0 + 1e-9) + slack);
}

void CheckField(double x, int n) {
  const std::string text = quorvane::numtext::FormatFieldNumber(x, n);
  Require(text.size() <= static_cast<std::size_t>(n));
  Require(text.empty() || text.back() != ' ');
  if (IsWord(text) || IsStars(text)) return;
  Require(IsNumberText(text));
  if (std::isfinite(x)) CheckValue(x, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double x = 0;
  std::memcpy(&x, data, sizeof x);
  for (int n = kNarrowest; n <= kWidest; ++n) CheckField(x, n);
  return 0;
}
