#pragma once

#include <string>
#include <string_view>

// The title names the frame and the end-of-program prompt.
namespace quorvane::shell {

// Used when the program file's name cannot be read.
inline constexpr std::string_view kDefaultTitle = "Quorvane";

// The base name of a program path: directory and extension removed; the
// default title when nothing is left.
std::string TitleFromProgramPath(std::string_view path);

// The title of this process, from the file it was started from.
std::string ProgramTitle();

}  // namespace quorvane::shell
