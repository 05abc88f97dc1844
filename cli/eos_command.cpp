#include "cli/eos_command.h"

#include "app/command_line.h"
#include "app/data_table.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/output_files.h"
#include "app/safe_text.h"
#include "app/state_rows.h"
#include "cli/axes_command.h"
#include "cli/csv_input.h"
#include "cli/fit_command.h"
#include "cli/request_options.h"
#include "cli/state_table.h"
#include "cli/table_figure.h"

namespace quorvane::cli {
namespace {

void ReadInputFile(std::istream& standardInput, app::EosRequest& request) {
  app::ReadDataFile(
      *request.inputPath, "--input", standardInput,
      [&](std::istream& in, const std::string& source) { ReadCsvRows(in, source, request); });
}

// Everything that can be refused is checked before the first character is
// written: the options, the ranges and the whole CSV file.
app::EosRequest CheckedRequest(const std::vector<std::string>& arguments, std::istream& in,
                               bool& help, std::ostream& out) {
  const app::TypedOptions options = app::ReadCommandLine(arguments);
  help = options.help;
  if (help) {
    out << options.helpText;
    return {};
  }
  app::EosRequest request = RequestFromOptions(options);
  if (request.inputPath) ReadInputFile(in, request);
  return request;
}

// Why a single point's pressure is not reached, or nullptr where it is.
const char* UnreachedReason(const TableSummary& summary) {
  if (summary.Count(app::RowOutcome::PressureNotReached) > 0) {
    return "the search gave up and V is V(T,0)";
  }
  if (summary.Count(app::RowOutcome::VolumeNotPositive) > 0) return "V is not above zero";
  return nullptr;
}

// The warning for a single point whose pressure is not reached, or empty.
std::string UnreachedPointWarning(const app::EosRequest& request, const TableSummary& summary) {
  const char* const why = UnreachedReason(summary);
  if (!why) return {};
  std::string warning = "quorvane-eos: warning: the pressure ";
  app::AppendShortest(warning, request.knownValues.start);
  warning += " is not reached at T = ";
  app::AppendShortest(warning, request.partnerValues.start);
  return warning + "; " + why + "\n";
}

// One line for each kind of row of a table that is not a state point.
std::string TableWarnings(const TableSummary& summary) {
  struct Kind {
    app::RowOutcome outcome;
    const char* what;
  };
  static const Kind kKinds[] = {
      {app::RowOutcome::PressureNotReached, "the pressure is not reached; V is V(T,0)"},
      {app::RowOutcome::VolumeNotPositive, "the pressure is not reached; V is not above zero"},
      {app::RowOutcome::PressureNotANumber,
       "the equation of state gives no number for the pressure; V is V(T,0)"},
      {app::RowOutcome::NotFinite, "a value is infinite or not a number"},
      {app::RowOutcome::PressureNotReachedWithoutZeroPressureVolume,
       "the pressure is not reached and no volume has zero pressure at T; V is not a number"},
  };
  std::string warnings;
  for (const Kind& kind : kKinds) {
    const std::int64_t rows = summary.Count(kind.outcome);
    if (rows == 0) continue;
    warnings += "quorvane-eos: warning: " + std::to_string(rows) +
                (rows == 1 ? " row is" : " rows are") +
                " not a state point (converged false): " + kind.what + "\n";
  }
  return warnings;
}

// The plot may replace neither file the table is made from.
void WriteTablePlot(const app::EosRequest& request) {
  std::vector<app::OutputFile> outputs;
  app::AddFigureFiles(outputs, "--plot", TableFigure(request),
                      app::PlotFilesFor(*request.plotPath));
  std::vector<std::string> inputs;
  if (request.inputPath) inputs.push_back(*request.inputPath);
  if (request.paramsPath) inputs.push_back(*request.paramsPath);
  app::WriteOutputFiles(outputs, inputs);
}

int WriteFailed(std::ostream& err) {
  err << "quorvane-eos: writing the table failed\n";
  return kExitWriteFailed;
}

}  // namespace

int RunEosCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  if (!arguments.empty() && arguments.front() == "fit") {
    return RunFitCommand({arguments.begin() + 1, arguments.end()}, in, out, err);
  }
  if (!arguments.empty() && arguments.front() == "axes") {
    return RunAxesCommand({arguments.begin() + 1, arguments.end()}, in, out, err);
  }
  app::EosRequest request;
  bool help = false;
  try {
    request = CheckedRequest(arguments, in, help, out);
  } catch (const app::InputError& error) {
    err << "quorvane-eos: " << error.what() << '\n';
    return kExitBadInput;
  }
  if (help) return out.flush() ? kExitSuccess : kExitWriteFailed;

  const bool single = app::IsSinglePoint(request);
  if (single) {
    const app::StateRow row =
        ComputeStateRow(request.model, request.known, request.solver, RowInput(request, 0));
    const std::string reason = app::NoStatePointReason(row);
    if (!reason.empty()) {
      err << "quorvane-eos: these inputs determine no state point: " << reason << '\n';
      return kExitNoStatePoint;
    }
  }
  if (request.plotPath) {
    try {
      WriteTablePlot(request);
    } catch (const app::InputError& error) {
      err << "quorvane-eos: " << error.what() << '\n';
      return kExitBadInput;
    } catch (const app::WriteError& error) {
      err << "quorvane-eos: " << error.what() << '\n';
      return kExitWriteFailed;
    }
  }
  const TableSummary summary = WriteStateTable(request, out);
  if (!summary.written || !out.flush()) return WriteFailed(err);
  err << (single ? UnreachedPointWarning(request, summary) : TableWarnings(summary));
  return kExitSuccess;
}

}  // namespace quorvane::cli
