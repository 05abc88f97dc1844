#pragma once

#include <cstdlib>
#include <string_view>

namespace quorvane::cli::fuzz {

// No error line, however hostile its input, is longer.
inline constexpr std::size_t kMaxErrorLine = 4096;

inline void Require(bool condition) {
  if (!condition) std::abort();
}

// Text that is safe to show on a terminal: printable ASCII, lines ended by
// "\n" only.
inline bool IsTerminalSafe(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c != '\n' && (byte < 0x20 || byte >= 0x7f)) return false;
  }
  return true;
}

// One error message: safe, bounded, one line.
inline void RequireErrorLine(std::string_view message) {
  Require(IsTerminalSafe(message));
  Require(message.size() <= kMaxErrorLine);
  Require(message.find('\n') == std::string_view::npos);
}

}  // namespace quorvane::cli::fuzz
