#include "web/page_catalogue.h"

#include "app/command_line.h"
#include "app/fit_request.h"
#include "app/input_error.h"
#include "app/parameter_options.h"
#include "fit/fit_constraints.h"
#include "models/model_catalogue.h"
#include "numtext/double_text.h"
#include "web/page_json.h"

namespace quorvane::web {
namespace {

constexpr int kLowestOrder = 2;
constexpr int kHighestOrder = 4;

// The fit's option for each parameter and model shape, with its help.
const char* const kShapeOptions[] = {"--eos",        "--order",       "--thermal",
                                     "--arithmetic", "--volume-unit", "--Z"};

std::string OptionName(models::Parameter parameter) {
  return std::string("--") + models::Info(parameter).name;
}

// The calculator's start-up values are single-precision numbers: shown as
// the form shows them, not as the long decimal of the double they are.
std::string DefaultText(double value) {
  const auto single = static_cast<float>(value);
  if (static_cast<double>(single) == value) return numtext::ShortestText(single);
  std::string text;
  app::AppendShortest(text, value);
  return text;
}

void AppendEquations(std::string& out) {
  AppendJsonKey(out, "equations");
  out += "[";
  for (int i = 0; i < models::kEquationCount; ++i) {
    const models::EquationInfo& info = models::Info(static_cast<models::Equation>(i));
    out += i == 0 ? "{" : ", {";
    AppendJsonKey(out, "name");
    params::AppendJsonString(out, info.name);
    AppendJsonKey(out, "title");
    params::AppendJsonString(out, info.title);
    AppendJsonKey(out, "orders");
    out += "[";
    for (int order = kLowestOrder; order <= kHighestOrder; ++order) {
      if (!models::IsOfferedOrder(info.equation, order)) continue;
      if (out.back() != '[') out += ", ";
      out += std::to_string(order);
    }
    out += "]}";
  }
  out += "]";
}

void AppendThermals(std::string& out) {
  AppendJsonKey(out, "thermals");
  out += "[";
  for (int i = 0; i < models::kThermalCount; ++i) {
    const models::ThermalInfo& info = models::Info(static_cast<models::Thermal>(i));
    out += i == 0 ? "{" : ", {";
    AppendJsonKey(out, "name");
    params::AppendJsonString(out, info.name);
    AppendJsonKey(out, "title");
    params::AppendJsonString(out, info.title);
    AppendJsonKey(out, "thermal_pressure");
    out += info.thermalPressure ? "true}" : "false}";
  }
  out += "]";
}

void AppendChoices(std::string& out) {
  AppendJsonKey(out, "volume_units");
  out += "[";
  for (auto unit :
       {models::VolumeUnit::CubicCentimetresPerMole, models::VolumeUnit::CubicAngstromsPerCell}) {
    if (out.back() != '[') out += ", ";
    params::AppendJsonString(out, models::VolumeUnitName(unit));
  }
  out += "]";
  AppendJsonKey(out, "esd_scaling");
  out += "[";
  for (auto scaling : {fit::EsdScaling::Auto, fit::EsdScaling::Always, fit::EsdScaling::Never}) {
    if (out.back() != '[') out += ", ";
    params::AppendJsonString(out, fit::EsdScalingName(scaling));
  }
  out += "]";
}

const std::string& HelpOf(const std::string& option) {
  static const std::string none;
  for (const app::ParameterOption& candidate : app::ParameterOptions()) {
    if (candidate.name == option) return candidate.help;
  }
  return none;
}

void AppendOptions(std::string& out) {
  AppendJsonKey(out, "options");
  out += "{";
  for (const char* option : kShapeOptions) {
    AppendJsonKey(out, option);
    params::AppendJsonString(out, HelpOf(option));
  }
  out += "}";
  AppendJsonKey(out, "parameters");
  out += "[";
  for (int i = 0; i < models::kParameterCount; ++i) {
    const models::ParameterInfo& info = models::Info(static_cast<models::Parameter>(i));
    out += i == 0 ? "{" : ", {";
    AppendJsonKey(out, "name");
    params::AppendJsonString(out, info.name);
    AppendJsonKey(out, "symbol");
    params::AppendJsonString(out, info.symbol);
    AppendJsonKey(out, "meaning");
    params::AppendJsonString(out, info.meaning);
    AppendJsonKey(out, "help");
    params::AppendJsonString(out, HelpOf(OptionName(info.parameter)));
    out += "}";
  }
  out += "]";
}

// The start the fit takes for a model of this shape with no value given.
models::Model StartModel(models::Equation equation, int order, models::Thermal thermal) {
  app::TypedOptions options;
  options.values["--eos"] = models::Info(equation).name;
  options.values["--order"] = std::to_string(order);
  options.values["--thermal"] = models::Info(thermal).name;
  return app::ModelFromOptions(options);
}

void AppendModel(std::string& out, const models::Model& model) {
  out += "{\"free\": {";
  std::string implied;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    const models::Role role = models::RoleOf(model, parameter);
    if (role == models::Role::Implied) {
      if (!implied.empty()) implied += ", ";
      params::AppendJsonString(implied, models::Info(parameter).name);
    }
    if (role != models::Role::Free) continue;
    AppendJsonKey(out, models::Info(parameter).name);
    params::AppendJsonString(out, DefaultText(model[parameter]));
  }
  out += "}, \"implied\": [" + implied + "]}";
}

void AppendModels(std::string& out) {
  AppendJsonKey(out, "models");
  out += "{";
  for (int e = 0; e < models::kEquationCount; ++e) {
    const auto equation = static_cast<models::Equation>(e);
    for (int order = kLowestOrder; order <= kHighestOrder; ++order) {
      if (!models::IsOfferedOrder(equation, order)) continue;
      for (int t = 0; t < models::kThermalCount; ++t) {
        const auto thermal = static_cast<models::Thermal>(t);
        AppendJsonKey(out, std::string(models::Info(equation).name) + "/" + std::to_string(order) +
                               "/" + models::Info(thermal).name);
        AppendModel(out, StartModel(equation, order, thermal));
      }
    }
  }
  out += "}";
}

}  // namespace

std::string CatalogueJson() {
  std::string out = "{";
  AppendEquations(out);
  AppendThermals(out);
  AppendChoices(out);
  AppendOptions(out);
  AppendModels(out);
  return out + "}";
}

std::string FitOptionsError(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = options;
  arguments.push_back("-");
  try {
    app::FitRequestFromArguments(arguments);
  } catch (const app::InputError& error) {
    return error.what();
  }
  return {};
}

}  // namespace quorvane::web
