// Any double bit pattern at widths 1 to 8: the text comes back, no wider than
// the field, made only of what a field may show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "numtext/field_format.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsWord(std::string_view text) {
  return text == "NaN" || text == "Inf" || text == "-Inf";
}

bool IsNumberText(std::string_view text) {
  if (text.find_first_not_of("0123456789.-*") != std::string_view::npos) return false;
  if (text.find('*') != std::string_view::npos) {
    return text.find_first_not_of('*') == std::string_view::npos;
  }
  const auto minus = text.rfind('-');
  return (minus == std::string_view::npos || minus == 0) &&
         text.find('.') != std::string_view::npos;
}

void CheckField(double x, int n) {
  const std::string text = quorvane::numtext::FormatFieldNumber(x, n);
  Require(text.size() <= static_cast<std::size_t>(n));
  Require(IsWord(text) || IsNumberText(text));
  Require(text.empty() || text.back() != ' ');
}

void CheckEdit(double x, int w, int d) {
  const std::string text = quorvane::numtext::FixedDecimalEdit(x, w, d);
  Require(text.size() == static_cast<std::size_t>(w < 0 ? 0 : (w > 256 ? 256 : w)));
  const auto mark = text.find_first_not_of(' ');
  Require(text.empty() || mark != std::string::npos);
  if (!text.empty()) {
    const std::string_view shown = std::string_view(text).substr(mark);
    Require(IsWord(shown) || IsNumberText(shown));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double x = 0;
  std::memcpy(&x, data, sizeof x);
  for (int n = 1; n <= 8; ++n) CheckField(x, n);
  if (size >= sizeof(double) + 2) {
    const int w = static_cast<int>(data[sizeof(double)]) - 8;
    const int d = static_cast<int>(data[sizeof(double) + 1] % 64) - 2;
    CheckEdit(x, w, d);
  }
  return 0;
}
