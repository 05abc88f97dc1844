#include "web/page_catalogue.h"

#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "app/decimal_text.h"
#include "app/fit_request.h"
#include "app/input_error.h"
#include "app/parameter_options.h"
#include "fit/fit_constraints.h"
#include "models/model_catalogue.h"
#include "numtext/double_text.h"
#include "params/json_text.h"

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

params::Json OrdersOf(models::Equation equation) {
  params::Json orders = params::Json::array();
  for (int order = kLowestOrder; order <= kHighestOrder; ++order) {
    if (models::IsOfferedOrder(equation, order)) orders.push_back(order);
  }
  return orders;
}

params::Json Equations() {
  params::Json equations = params::Json::array();
  for (int i = 0; i < models::kEquationCount; ++i) {
    const models::EquationInfo& info = models::Info(static_cast<models::Equation>(i));
    equations.push_back(
        {{"name", info.name}, {"title", info.title}, {"orders", OrdersOf(info.equation)}});
  }
  return equations;
}

params::Json Thermals() {
  params::Json thermals = params::Json::array();
  for (int i = 0; i < models::kThermalCount; ++i) {
    const models::ThermalInfo& info = models::Info(static_cast<models::Thermal>(i));
    thermals.push_back(
        {{"name", info.name}, {"title", info.title}, {"thermal_pressure", info.thermalPressure}});
  }
  return thermals;
}

const std::string& HelpOf(const std::string& option) {
  static const std::string none;
  for (const app::ParameterOption& candidate : app::ParameterOptions()) {
    if (candidate.name == option) return candidate.help;
  }
  return none;
}

params::Json Options() {
  params::Json options = params::Json::object();
  for (const char* option : kShapeOptions) options[option] = HelpOf(option);
  return options;
}

params::Json Parameters() {
  params::Json parameters = params::Json::array();
  for (int i = 0; i < models::kParameterCount; ++i) {
    const models::ParameterInfo& info = models::Info(static_cast<models::Parameter>(i));
    parameters.push_back({{"name", info.name},
                          {"symbol", info.symbol},
                          {"meaning", info.meaning},
                          {"help", HelpOf(OptionName(info.parameter))}});
  }
  return parameters;
}

// The start the fit takes for a model of this shape with no value given.
models::Model StartModel(models::Equation equation, int order, models::Thermal thermal) {
  app::TypedOptions options;
  options.values["--eos"] = models::Info(equation).name;
  options.values["--order"] = std::to_string(order);
  options.values["--thermal"] = models::Info(thermal).name;
  return app::ModelFromOptions(options);
}

params::Json ModelJson(const models::Model& model) {
  params::Json free = params::Json::object(), implied = params::Json::array();
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    const models::Role role = models::RoleOf(model, parameter);
    if (role == models::Role::Implied) implied.push_back(models::Info(parameter).name);
    if (role == models::Role::Free)
      free[models::Info(parameter).name] = DefaultText(model[parameter]);
  }
  return {{"free", free}, {"implied", implied}};
}

params::Json Models() {
  params::Json shapes = params::Json::object();
  for (int e = 0; e < models::kEquationCount; ++e) {
    const auto equation = static_cast<models::Equation>(e);
    for (int order = kLowestOrder; order <= kHighestOrder; ++order) {
      if (!models::IsOfferedOrder(equation, order)) continue;
      for (int t = 0; t < models::kThermalCount; ++t) {
        const auto thermal = static_cast<models::Thermal>(t);
        const std::string key = std::string(models::Info(equation).name) + "/" +
                                std::to_string(order) + "/" + models::Info(thermal).name;
        shapes[key] = ModelJson(StartModel(equation, order, thermal));
      }
    }
  }
  return shapes;
}

}  // namespace

std::string CatalogueJson() {
  params::Json volumeUnits = params::Json::array(), esdScaling = params::Json::array();
  for (auto unit :
       {models::VolumeUnit::CubicCentimetresPerMole, models::VolumeUnit::CubicAngstromsPerCell}) {
    volumeUnits.push_back(models::VolumeUnitName(unit));
  }
  for (auto scaling : {fit::EsdScaling::Auto, fit::EsdScaling::Always, fit::EsdScaling::Never}) {
    esdScaling.push_back(fit::EsdScalingName(scaling));
  }
  const params::Json catalogue = {{"equations", Equations()},    {"thermals", Thermals()},
                                  {"volume_units", volumeUnits}, {"esd_scaling", esdScaling},
                                  {"options", Options()},        {"parameters", Parameters()},
                                  {"models", Models()}};
  return catalogue.dump();
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
