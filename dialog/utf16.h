#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-16 of template names and the UTF-8 the runtime
// keeps. Malformed sequences become U+FFFD instead of failing.
namespace quorvane::dialog {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace quorvane::dialog
