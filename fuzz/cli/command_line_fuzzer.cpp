// Any bytes as a command line (the state-point command or a pressure-scale
// command): arguments up to the first NUL, one a line; what follows is
// standard input. Every refusal is one safe line; a request
// small enough to compute runs through the whole command, whose exit code,
// stdout and stderr must agree with one another.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/fit_request.h"
#include "app/input_error.h"
#include "app/state_rows.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/request_options.h"
#include "cli/scale_commands.h"
#include "fuzz/cli/fuzz_checks.h"

namespace {

using namespace quorvane::cli;
namespace app = quorvane::app;
using fuzz::Require;

// More rows than this are not computed: the point is the parsing.
constexpr std::int64_t kMaxComputedRows = 256;
constexpr std::size_t kMaxArguments = 40;

std::vector<std::string> Arguments(std::string_view text) {
  std::vector<std::string> arguments;
  while (!text.empty() && arguments.size() < kMaxArguments) {
    const auto end = text.find('\n');
    arguments.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return arguments;
}

void CheckRange(const std::string& text) {
  try {
    const app::ValueRange range = app::ParseValueRange(text, "--P");
    Require(range.count >= 1 && range.count <= app::kMaxRangeValues);
    Require(range.At(0) == range.start || range.count == 1);
    Require(range.At(range.count - 1) == range.last);
  } catch (const app::InputError& error) {
    fuzz::RequireErrorLine(error.what());
  }
}

// True when the options are accepted and the command is cheap and safe to run.
bool SmallRequest(const std::vector<std::string>& arguments) {
  try {
    const app::TypedOptions options = app::ReadCommandLine(arguments);
    if (options.help) return false;
    // Files named by --params are read, and --plot writes some: neither is run.
    if (options.Find("--params") || options.Find("--plot")) return false;
    const app::EosRequest request = RequestFromOptions(options);
    // Only standard input: a path could name a device that blocks (/dev/tty).
    if (request.inputPath) return *request.inputPath == "-";
    return RowCount(request) <= kMaxComputedRows;
  } catch (const app::InputError& error) {
    fuzz::RequireErrorLine(error.what());
    return false;
  }
}

// The same arguments as those of `quorvane-eos fit`: parsed and checked
// only, since a fit reads its data from a file and may write others.
void CheckFitOptions(const std::vector<std::string>& arguments) {
  try {
    const app::FitCommandRequest request = app::FitRequestFromArguments(arguments);
    Require(request.help || !request.dataPath.empty());
  } catch (const app::InputError& error) {
    fuzz::RequireErrorLine(error.what());
  }
}

// The pressure-scale commands run when they write no file, name no path
// (one could be a device that blocks) and their ranges make few rows; the
// count is an upper bound, each value or range an argument gives.
bool SmallScaleRequest(const std::vector<std::string>& arguments) {
  if (!IsScaleCommand(arguments)) return false;
  std::int64_t rows = 1;
  for (const std::string& argument : arguments) {
    if (argument.rfind("-o", 0) == 0 || argument.rfind("--output", 0) == 0) return false;
    if (argument.find('/') != std::string::npos) return false;
    try {
      rows *= app::ParseValueRange(argument, "--P").count;
    } catch (const app::InputError&) {
      continue;
    }
    if (rows > kMaxComputedRows) return false;
  }
  return true;
}

using Command = int (*)(const std::vector<std::string>&, std::istream&, std::ostream&,
                        std::ostream&);

void RunCommand(Command command, const std::vector<std::string>& arguments,
                std::string_view input) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  std::ostringstream err;
  const int code = command(arguments, in, out, err);
  const std::string errText = err.str();
  Require(fuzz::IsTerminalSafe(errText));
  if (code == kExitBadInput || code == kExitNoStatePoint) {
    Require(out.str().empty());
    Require(!errText.empty() && errText.find('\n') == errText.size() - 1);
    return;
  }
  Require(code == kExitSuccess);
  Require(!out.str().empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto split = bytes.find('\0');
  const std::vector<std::string> arguments = Arguments(bytes.substr(0, split));
  const std::string_view input =
      split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  for (const std::string& argument : arguments) CheckRange(argument);
  if (SmallScaleRequest(arguments)) {
    RunCommand(RunScaleCommand, arguments, input);
  } else if (SmallRequest(arguments)) {
    RunCommand(RunEosCommand, arguments, input);
  }
  CheckFitOptions(arguments);
  return 0;
}
