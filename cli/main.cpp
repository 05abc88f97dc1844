#include <iostream>
#include <string>
#include <vector>

#include "cli/eos_command.h"
#include "cli/scale_commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (quorvane::cli::IsScaleCommand(arguments))
    return quorvane::cli::RunScaleCommand(arguments, std::cin, std::cout, std::cerr);
  return quorvane::cli::RunEosCommand(arguments, std::cin, std::cout, std::cerr);
}
