#include "plot/text_width.h"

#include <string_view>

namespace quorvane::plot {
namespace {

// Em fractions, a little above those of the wide sans-serif faces (DejaVu
// Sans, Verdana) that may stand in when the first face asked for is missing.
constexpr double kNarrow = 0.34;
constexpr double kBracket = 0.4;
constexpr double kSpace = 0.33;
constexpr double kLower = 0.62;
constexpr double kDigit = 0.64;
constexpr double kUpper = 0.74;
constexpr double kWide = 0.98;
constexpr double kOther = 0.74;
constexpr std::string_view kNarrowCharacters = ".,:;'|!iljtf";
constexpr std::string_view kBrackets = "()[]{}";
constexpr std::string_view kWideCharacters = "mwMW";

double AsciiWidth(char c) {
  if (c == ' ') return kSpace;
  if (kNarrowCharacters.find(c) != std::string_view::npos) return kNarrow;
  if (kBrackets.find(c) != std::string_view::npos) return kBracket;
  if (kWideCharacters.find(c) != std::string_view::npos) return kWide;
  if (c >= '0' && c <= '9') return kDigit;
  if (c >= 'A' && c <= 'Z') return kUpper;
  return kLower;
}

}  // namespace

double TextWidth(std::string_view text) {
  double width = 0.0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    // A character beyond ASCII counts once, at its lead byte.
    if (byte >= 0x80) {
      if (byte >= 0xC0) width += kOther;
      continue;
    }
    width += AsciiWidth(c);
  }
  return width;
}

}  // namespace quorvane::plot
