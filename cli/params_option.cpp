#include "cli/params_option.h"

#include <fstream>
#include <sstream>

#include "app/input_error.h"
#include "app/parameter_options.h"
#include "app/safe_text.h"
#include "params/parameter_file.h"

namespace quorvane::cli {
namespace {

constexpr auto kMaxParameterFileBytes =
    static_cast<std::streamsize>(params::kMaxParameterFileBytes);

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw app::InputError("--params: cannot open " + app::QuotedInput(path));
  std::string text(static_cast<std::size_t>(kMaxParameterFileBytes) + 1, '\0');
  file.read(text.data(), kMaxParameterFileBytes + 1);
  if (file.bad()) throw app::InputError("--params: cannot read " + app::QuotedInput(path));
  if (file.gcount() > kMaxParameterFileBytes) {
    throw app::InputError("--params: " + app::QuotedInput(path) +
                          " is too large for a parameter file");
  }
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

void ReadParamsOption(const app::TypedOptions& options, app::EosRequest& request) {
  const std::string* path = options.Find("--params");
  if (!path) {
    request.model = app::ModelFromOptions(options);
    return;
  }
  for (const app::ParameterOption& option : app::ParameterOptions()) {
    if (options.Find(option.name))
      throw app::InputError(option.name + ": the parameters come from --params");
  }
  const std::string source = app::SafeText(*path, app::kLongInputLimit);
  try {
    const params::ParameterFile file = params::ReadParameterFile(FileText(*path), source);
    request.model = file.model;
    if (!file.covariance.empty()) {
      request.covariance = params::ParameterCovariance{file.refined, file.covariance};
    }
  } catch (const params::ParameterFileError& error) {
    throw app::InputError(std::string("--params: ") + error.what());
  }
}

}  // namespace quorvane::cli
