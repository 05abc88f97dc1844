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
  if (!file) throw InputError("--params: cannot open " + QuotedInput(path));
  std::string text(static_cast<std::size_t>(kMaxParameterFileBytes) + 1, '\0');
  file.read(text.data(), kMaxParameterFileBytes + 1);
  if (file.bad()) throw InputError("--params: cannot read " + QuotedInput(path));
  if (file.gcount() > kMaxParameterFileBytes) {
    throw InputError("--params: " + QuotedInput(path) + " is too large for a parameter file");
  }
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

void ReadParamsOption(const TypedOptions& options, EosRequest& request) {
  const std::string* path = options.Find("--params");
  if (!path) {
    request.model = ModelFromOptions(options);
    return;
  }
  for (const ParameterOption& option : ParameterOptions()) {
    if (options.Find(option.name))
      throw InputError(option.name + ": the parameters come from --params");
  }
  const std::string source = SafeText(*path, kLongInputLimit);
  try {
    const params::ParameterFile file = params::ReadParameterFile(FileText(*path), source);
    request.model = file.model;
    if (!file.covariance.empty()) {
      request.covariance = params::ParameterCovariance{file.refined, file.covariance};
    }
  } catch (const params::ParameterFileError& error) {
    throw InputError(std::string("--params: ") + error.what());
  }
}

}  // namespace quorvane::cli
