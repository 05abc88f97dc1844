#include "app/safe_text.h"

namespace quorvane::app {
namespace {

bool IsPrintableAscii(unsigned char c) {
  return c >= 0x20 && c < 0x7f;
}

void AppendEscaped(std::string& out, unsigned char c) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kHexDigits[c >> 4];
  out += kHexDigits[c & 0xf];
}

}  // namespace

std::string SafeText(std::string_view text, std::size_t limit) {
  const bool cut = text.size() > limit;
  if (cut) text = text.substr(0, limit);
  std::string safe;
  safe.reserve(text.size() + 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsPrintableAscii(byte)) {
      safe += c;
    } else {
      AppendEscaped(safe, byte);
    }
  }
  if (cut) safe += "...";
  return safe;
}

std::string QuotedInput(std::string_view text) {
  return '"' + SafeText(text) + '"';
}

}  // namespace quorvane::app
