#include "cli/fit_command.h"

#include <string>
#include <vector>

#include "app/data_table.h"
#include "app/fit_data_input.h"
#include "app/fit_figure_set.h"
#include "app/fit_parameter_file.h"
#include "app/fit_report.h"
#include "app/fit_request.h"
#include "app/input_error.h"
#include "app/output_files.h"
#include "app/safe_text.h"
#include "cli/eos_command.h"

namespace quorvane::cli {
namespace {

constexpr const char* kProgram = "quorvane-eos " QUORVANE_VERSION;
// A fit that did not converge, or results that could not be written.
constexpr int kExitFitFailed = 1;

fit::FitData ReadData(const app::FitCommandRequest& request, std::istream& in) {
  fit::FitData data;
  app::ReadDataFile(request.dataPath, "DATA", in,
                    [&](std::istream& file, const std::string& source) {
                      data = app::ReadFitData(
                          file, source, request.fit.start[models::Parameter::Tref], request.axis);
                    });
  return data;
}

void AddPlotFiles(std::vector<app::OutputFile>& outputs, const std::string& prefix,
                  const app::FitReport& report) {
  const app::PlotFiles files = app::PlotFilesFor(prefix);
  for (const app::NamedFigure& named : FitFigureSet(report)) {
    AddFigureFiles(outputs, "--plot", named.figure, files, "-" + named.name);
  }
}

// Everything is drawn and checked before the first file is written.
void WriteFitFiles(const app::FitCommandRequest& request, const fit::FitData& data,
                   const fit::FitResult& result, const app::FitReport& report) {
  std::vector<app::OutputFile> outputs;
  if (request.plotPrefix) AddPlotFiles(outputs, *request.plotPrefix, report);
  if (request.paramsOut) {
    outputs.push_back(
        {"--params-out", *request.paramsOut, app::FitParameterFileText(kProgram, data, result)});
  }
  app::WriteOutputFiles(outputs, {request.dataPath});
}

int Fit(const app::FitCommandRequest& request, std::istream& in, std::ostream& out,
        std::ostream& err) {
  fit::FitData data;
  fit::FitResult result;
  try {
    data = ReadData(request, in);
    result = fit::FitEos(data, request.fit);
  } catch (const app::InputError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitBadInput;
  } catch (const fit::FitError& error) {
    err << "quorvane-eos fit: " << app::SafeText(data.source, app::kLongInputLimit) << ": "
        << error.what() << '\n';
    return kExitBadInput;
  }
  if (!result.converged) {
    err << "quorvane-eos fit: " << result.failure << "; no results are given\n";
    return kExitFitFailed;
  }
  app::FitReport report = app::MakeFitReport(data, result);
  try {
    report.ellipses = app::MakeEllipseReports(result, request.ellipses);
  } catch (const app::InputError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitBadInput;
  }
  std::string text;
  if (request.format == app::FitFormat::Json) {
    app::AppendFitJson(text, report);
  } else {
    app::AppendFitText(text, report);
  }
  try {
    WriteFitFiles(request, data, result, report);
  } catch (const app::InputError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitBadInput;
  } catch (const app::WriteError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitFitFailed;
  }
  out << text;
  out.flush();
  if (!out) {
    err << "quorvane-eos fit: writing the results failed\n";
    return kExitFitFailed;
  }
  return kExitSuccess;
}

}  // namespace

int RunFitCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  app::FitCommandRequest request;
  try {
    request = app::FitRequestFromArguments(arguments);
  } catch (const app::InputError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitBadInput;
  }
  if (request.help) {
    out << request.helpText;
    return out.flush() ? kExitSuccess : kExitWriteFailed;
  }
  return Fit(request, in, out, err);
}

}  // namespace quorvane::cli
