#include "cli/fit_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cli/data_table.h"
#include "cli/eos_command.h"
#include "cli/fit_data_input.h"
#include "cli/fit_figures.h"
#include "cli/fit_report.h"
#include "cli/fit_request.h"
#include "cli/input_error.h"
#include "cli/safe_text.h"
#include "fit/parameter_file.h"
#include "plot/figure_writer.h"

namespace quorvane::cli {
namespace {

constexpr const char* kProgram = "quorvane-eos " QUORVANE_VERSION;
// A fit that did not converge, or results that could not be written.
constexpr int kExitFitFailed = 1;

// A command's failure after its input was accepted.
struct Failure {
  std::string message;
};

fit::FitData ReadData(const FitCommandRequest& request, std::istream& in) {
  fit::FitData data;
  ReadDataFile(request.dataPath, "DATA", in, [&](std::istream& file, const std::string& source) {
    data = ReadFitData(file, source, request.fit.start.Tref);
  });
  return data;
}

// The file appears whole or not at all: written beside, then renamed.
void WriteWholeFile(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file << text;
    file.flush();
    if (!file) {
      std::remove(partial.c_str());
      throw Failure{"cannot write " + QuotedInput(path)};
    }
  }
  // std::filesystem::rename replaces an existing file on Windows as well,
  // where std::rename refuses to.
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::remove(partial.c_str());
    throw Failure{"cannot write " + QuotedInput(path)};
  }
}

std::string ParameterFileText(const fit::FitData& data, const fit::FitResult& result) {
  fit::ParameterFile file;
  file.parameters = result.parameters;
  file.refined = result.refined;
  file.covarianceScaled = result.dof > 0;
  file.covariance = file.covarianceScaled ? result.ScaledCovariance() : result.covariance;
  file.hasProvenance = true;
  file.provenance = {kProgram, data.source, result.chi2w, result.dof, result.converged};
  return fit::WriteParameterFile(file);
}

void WritePlots(const std::string& prefix, const FitReport& report) {
  if (!plot::FiguresAvailable()) throw Failure{"--plot: " + plot::WriteFigure({}, prefix)};
  // The painter's messages quote the path as given.
  std::vector<std::pair<std::string, plot::Figure>> figures{{"-isotherm", IsothermFigure(report)},
                                                            {"-residuals", ResidualFigure(report)}};
  if (report.strain) figures.emplace_back("-ff", StrainFigure(report));
  for (const auto& [suffix, figure] : figures) {
    const std::string problem = plot::WriteFigure(figure, prefix + suffix);
    if (!problem.empty()) throw Failure{"--plot: " + SafeText(problem, kLongInputLimit)};
  }
}

int Fit(const FitCommandRequest& request, std::istream& in, std::ostream& out, std::ostream& err) {
  fit::FitData data;
  fit::FitResult result;
  try {
    data = ReadData(request, in);
    result = fit::FitEos(data, request.fit);
  } catch (const InputError& error) {
    err << "quorvane-eos fit: " << error.what() << '\n';
    return kExitBadInput;
  } catch (const fit::FitError& error) {
    err << "quorvane-eos fit: " << SafeText(data.source, kLongInputLimit) << ": " << error.what()
        << '\n';
    return kExitBadInput;
  }
  if (!result.converged) {
    err << "quorvane-eos fit: " << result.failure << "; no results are given\n";
    return kExitFitFailed;
  }
  const FitReport report = MakeFitReport(data, result);
  std::string text;
  if (request.format == FitFormat::Json) {
    AppendFitJson(text, report);
  } else {
    AppendFitText(text, report);
  }
  try {
    if (request.plotPrefix) WritePlots(*request.plotPrefix, report);
    if (request.paramsOut) WriteWholeFile(*request.paramsOut, ParameterFileText(data, result));
  } catch (const Failure& failure) {
    err << "quorvane-eos fit: " << failure.message << '\n';
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
  FitCommandRequest request;
  try {
    request = FitRequestFromArguments(arguments);
  } catch (const InputError& error) {
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
