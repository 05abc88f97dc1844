#include "app/fit_request.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "app/command_line.h"
#include "app/data_table.h"
#include "app/fit_constraint_options.h"
#include "app/input_error.h"
#include "app/output_files.h"
#include "app/parameter_options.h"
#include "app/safe_text.h"
#include "fit/fit_checks.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"

namespace quorvane::app {
namespace {

// For a refined parameter, the value given is its start instead of the one
// the data suggest.
std::string FitHelp(const ParameterOption& option) {
  if (option.name == "--V0" || option.name == "--K0") {
    return option.help + "; when refined, the start (default: from the data)";
  }
  if (option.name == "--Tref") return option.help + "; also the temperature of rows without T";
  return option.help;
}

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return SafeText(text, kLongInputLimit);
}

// The catalogue's parameter names but T(ref), which no fit refines.
std::string RefinableNames() {
  std::string names;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    if (parameter == models::Parameter::Tref) continue;
    names += std::string(names.empty() ? "" : ", ") + models::Info(parameter).name;
  }
  return names;
}

std::vector<models::Parameter> RefinedFromList(const std::string& list) {
  std::vector<models::Parameter> refined;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, comma - start);
    const auto parameter = models::ParameterFromName(name);
    if (!parameter || *parameter == models::Parameter::Tref) {
      throw InputError("--refine: " + QuotedInput(name) + " is not one of " + RefinableNames());
    }
    if (std::find(refined.begin(), refined.end(), *parameter) != refined.end()) {
      throw InputError("--refine: " + name + " is named twice");
    }
    refined.push_back(*parameter);
    start = comma + 1;
  }
  return refined;
}

// The axis names a data column of its own: not one the fit reads for
// something else.
std::string AxisFromText(const std::string& text) {
  for (const char* taken : {"", "P", "T", "sigP", "sigT"}) {
    if (SameColumnName(text, taken)) {
      throw InputError("--axis: " + QuotedInput(text) + " is no column an axis can be read from");
    }
  }
  return text;
}

FitFormat FormatFromText(const std::string& text) {
  if (text == "text") return FitFormat::Text;
  if (text == "json") return FitFormat::Json;
  throw InputError("--format: " + QuotedInput(text) + " is not one of text, json");
}

}  // namespace

FitCommandRequest FitRequestFromArguments(const std::vector<std::string>& arguments) {
  CLI::App app{
      "Fits an equation of state to measured P-V or P-V-T data by weighted least squares in "
      "pressure, with effective variances from sigP, sigV and sigT. DATA is a CSV or TSV file "
      "(- for standard input) with columns P and V and optionally T, sigP, sigV, sigT.",
      "quorvane-eos fit"};
  std::map<std::string, std::string> typed;
  for (const ParameterOption& option : ParameterOptions()) {
    app.add_option(option.name, typed[option.name], FitHelp(option))->allow_extra_args(false);
  }
  std::string refine, format = "text", paramsOut, plotPrefix, dataPath, axis;
  app.add_option("--refine", refine,
                 "parameters to refine, e.g. V0,K0,Kp0 (default: V0, K0, K'0 and K''0 where the "
                 "order leaves them free; alpha0 and dKdT too with several temperatures)");
  app.add_option("--format", format, "text | json (default text)");
  app.add_option("--axis", axis,
                 "fit the column of a cell edge (a, b, c or any name; sigma from sigNAME or "
                 "sig_NAME) in place of V: its cube goes through the equation, and the axis' "
                 "L0, M0 = 3K0 and M'0 = 3K'0 are reported");
  app.add_option("--params-out", paramsOut, "write the fitted set as a JSON parameter file");
  app.add_option("--plot", plotPrefix,
                 "write PREFIX-isotherm, -residuals, -residuals-V, -ff and, for several "
                 "temperatures, -residuals-T and -thermal as .svg, and as .png where the build has "
                 "Qt (PREFIX.svg: SVG alone)");
  std::vector<std::string> ellipses;
  app.add_option("--ellipse", ellipses,
                 "P1,P2[:LEVEL]: the confidence ellipse of two refined parameters at LEVEL "
                 "(default 0.683); repeatable; drawn by --plot as PREFIX-ellipse-P1-P2")
      ->allow_extra_args(false);
  // Uncertainties and constraints.
  std::string esdScaling = "auto";
  std::vector<std::string> constrain, bounds;
  app.add_option("--esd-scaling", esdScaling,
                 "auto | always | never: scale the covariance by chi2w/dof (auto: where it "
                 "is above 1, or the data give no sigmas)");
  app.add_option("--constrain", constrain,
                 "NAME=VALUE:SIGMA, a Gaussian prior on a refined parameter (repeatable or "
                 "comma-separated)")
      ->allow_extra_args(false);
  app.add_option("--bounds", bounds,
                 "NAME=LOWER:UPPER, limits a refined parameter stays within (repeatable or "
                 "comma-separated)")
      ->allow_extra_args(false);
  app.add_option("DATA", dataPath, "the data file")->required();

  std::vector<const char*> argv{"quorvane-eos fit"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  FitCommandRequest request;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    request.help = true;
    request.helpText = app.help();
    return request;
  } catch (const CLI::ParseError& error) {
    throw InputError(OneLine(error.what()));
  }

  TypedOptions options;
  for (const ParameterOption& option : ParameterOptions()) {
    if (app.count(option.name) > 0) options.values[option.name] = typed[option.name];
  }
  // The options give the calculator's parameter set; the fit takes it as the
  // catalogue's model of the same arithmetic.
  request.fit.start = ModelFromOptions(options);
  try {
    fit::CheckTemperatures({}, request.fit.start);
  } catch (const fit::FitError& error) {
    throw InputError(std::string("--Tref: ") + error.what());
  }
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    if (options.Find(std::string("--") + models::Info(parameter).name)) {
      request.fit.givenStart.push_back(parameter);
    }
  }
  if (app.count("--refine") > 0) request.fit.refined = RefinedFromList(refine);
  request.format = FormatFromText(format);
  if (app.count("--axis") > 0) request.axis = AxisFromText(axis);
  request.fit.esdScaling = EsdScalingFromOption(esdScaling);
  request.fit.priors = PriorsFromOptions(constrain);
  request.fit.bounds = BoundsFromOptions(bounds);
  if (app.count("--params-out") > 0) {
    CheckFileName("--params-out", paramsOut);
    request.paramsOut = paramsOut;
  }
  if (app.count("--plot") > 0) {
    CheckFileName("--plot", plotPrefix);
    request.plotPrefix = plotPrefix;
  }
  for (const std::string& text : ellipses) request.ellipses.push_back(EllipseAskFromText(text));
  // An empty name would otherwise reach the reader as a file nobody named.
  if (dataPath.empty()) throw InputError("DATA: the data file name is empty");
  request.dataPath = dataPath;
  return request;
}

}  // namespace quorvane::app
