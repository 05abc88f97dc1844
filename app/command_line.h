#pragma once

#include <map>
#include <string>
#include <vector>

namespace quorvane::app {

// The options as typed, by their long name ("--P"), before any checking.
struct TypedOptions {
  std::map<std::string, std::string> values;
  // --help or --version: helpText is then all there is to print.
  bool help = false;
  std::string helpText;

  const std::string* Find(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
  }
};

// Reads the arguments (without the program name) with CLI11. Throws InputError
// with CLI11's message, on one line, for an unknown option, a missing value,
// a repeated option or a stray argument.
TypedOptions ReadCommandLine(const std::vector<std::string>& arguments);

}  // namespace quorvane::app
