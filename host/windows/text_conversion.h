#pragma once

#include <string>
#include <string_view>

// Texts cross the runtime in the system's single-byte (ANSI) code page and
// reach windows as UTF-16.
namespace quorvane::host {

std::wstring WideFromAnsi(std::string_view text);
std::string AnsiFromWide(std::wstring_view text);

}  // namespace quorvane::host
