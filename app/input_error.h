#pragma once

#include <stdexcept>
#include <string>

namespace quorvane::app {

// Bad input from the command line or the CSV file. Its message is the one line
// the user sees, without the program's name; nothing has been written yet.
class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quorvane::app
