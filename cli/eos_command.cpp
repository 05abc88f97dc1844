#include "cli/eos_command.h"

#include <fstream>

#include "cli/command_line.h"
#include "cli/csv_input.h"
#include "cli/decimal_text.h"
#include "cli/input_error.h"
#include "cli/request_options.h"
#include "cli/safe_text.h"
#include "cli/state_rows.h"
#include "cli/state_table.h"

namespace quorvane::cli {
namespace {

void ReadInputFile(std::istream& standardInput, EosRequest& request) {
  const std::string& path = *request.inputPath;
  if (path == "-") {
    ReadCsvRows(standardInput, "<stdin>", request);
    return;
  }
  std::ifstream file(path);
  if (!file) throw InputError("--input: cannot open \"" + SafeText(path, kSourceNameLimit) + "\"");
  ReadCsvRows(file, path, request);
}

// Everything that can be refused is checked before the first character is
// written: the options, the ranges and the whole CSV file.
EosRequest CheckedRequest(const std::vector<std::string>& arguments, std::istream& in, bool& help,
                          std::ostream& out) {
  const TypedOptions options = ReadCommandLine(arguments);
  help = options.help;
  if (help) {
    out << options.helpText;
    return {};
  }
  EosRequest request = RequestFromOptions(options);
  if (request.inputPath) ReadInputFile(in, request);
  return request;
}

void ReportUnreachedPoint(const EosRequest& request, std::ostream& err) {
  std::string message = "quorvane-eos: warning: the pressure ";
  AppendShortest(message, request.knownValues.start);
  message += " is not reached at T = ";
  AppendShortest(message, request.partnerValues.start);
  message += "; the search gave up and V is V(T,0)\n";
  err << message;
}

}  // namespace

int RunEosCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  EosRequest request;
  bool help = false;
  try {
    request = CheckedRequest(arguments, in, help, out);
  } catch (const InputError& error) {
    err << "quorvane-eos: " << error.what() << '\n';
    return kExitBadInput;
  }
  if (help) return out.flush() ? kExitSuccess : kExitWriteFailed;

  const std::int64_t unreached = WriteStateTable(request, out);
  if (unreached > 0 && IsSinglePoint(request)) ReportUnreachedPoint(request, err);
  out.flush();
  if (!out) {
    err << "quorvane-eos: writing the table failed\n";
    return kExitWriteFailed;
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
