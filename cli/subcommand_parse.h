#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::cli {

// Parses a command's arguments (after its name) into app. Gives the help text
// where they ask for help; throws InputError, one line of safe text, where
// CLI11 refuses them.
std::optional<std::string> ParseSubcommand(CLI::App& app, const std::string& program,
                                           const std::vector<std::string>& arguments);

}  // namespace quorvane::cli
