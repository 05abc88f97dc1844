#include "cli/subcommand_parse.h"

#include "app/input_error.h"
#include "app/safe_text.h"

namespace quorvane::cli {

std::optional<std::string> ParseSubcommand(CLI::App& app, const std::string& program,
                                           const std::vector<std::string>& arguments) {
  std::vector<const char*> argv{program.c_str()};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    return app.help();
  } catch (const CLI::ParseError& error) {
    throw app::InputError(app::SafeText(error.what(), app::kLongInputLimit));
  }
  return std::nullopt;
}

}  // namespace quorvane::cli
