#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane::app {

// How much of a user's text an error line quotes before cutting it short.
inline constexpr std::size_t kQuotedInputLimit = 60;
// File names and the option parser's whole messages are kept longer, so that
// a file's own name survives the cut.
inline constexpr std::size_t kLongInputLimit = 240;

// Text from outside the program made fit for one line of a terminal: every
// byte that is not printable ASCII (control bytes, DEL, and bytes of 0x80 and
// up) becomes \xNN, so no escape sequence reaches the terminal and a NUL does
// not cut the message; more than limit bytes are cut to limit and "...".
std::string SafeText(std::string_view text, std::size_t limit = kQuotedInputLimit);

// SafeText in double quotes, for quoting input in an error line.
std::string QuotedInput(std::string_view text);

}  // namespace quorvane::app
