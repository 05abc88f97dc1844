#include "app/parameter_options.h"

#include <charconv>
#include <cmath>
#include <string>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "numtext/double_text.h"

namespace quorvane::app {
namespace {

using engine::EosParameters;
using models::Arithmetic;
using models::Equation;
using models::Model;
using models::Parameter;
using models::Role;
using models::Thermal;

constexpr int kMinOrder = 2;
constexpr int kMaxOrder = 4;

std::string OptionOf(Parameter parameter) {
  return std::string("--") + models::Info(parameter).name;
}

std::string Ordinal(int order) {
  return std::to_string(order) + (order == 2 ? "nd" : order == 3 ? "rd" : "th");
}

// "3rd order only", "2nd or 3rd order only".
std::string OrdersOnly(Equation equation) {
  std::string text;
  for (int order = kMinOrder; order <= kMaxOrder; ++order) {
    if (!models::IsOfferedOrder(equation, order)) continue;
    if (!text.empty()) text += " or ";
    text += Ordinal(order);
  }
  return text + " order only";
}

std::string EquationNames() {
  std::string text;
  for (int i = 0; i < models::kEquationCount; ++i) {
    const models::EquationInfo& info = models::Info(static_cast<Equation>(i));
    if (!text.empty()) text += i + 1 == models::kEquationCount ? " or " : ", ";
    text += std::string(info.name) + " (" + info.shortName + ")";
  }
  return text;
}

std::string ThermalNames(const char* separator) {
  std::string text;
  for (int i = 0; i < models::kThermalCount; ++i) {
    if (!text.empty()) text += separator;
    text += models::Info(static_cast<Thermal>(i)).name;
  }
  return text;
}

// The thermal models that use the parameter, where not all do.
std::string UsedBy(Parameter parameter) {
  std::string text;
  int users = 0;
  for (int i = 0; i < models::kThermalCount; ++i) {
    const auto thermal = static_cast<Thermal>(i);
    const Model model =
        models::DefaultModel(Equation::BirchMurnaghan, kMaxOrder, thermal, Arithmetic::Textbook);
    if (models::RoleOf(model, parameter) == Role::Unused) continue;
    if (!text.empty()) text += ", ";
    text += models::Info(thermal).name;
    ++users;
  }
  return users == models::kThermalCount ? "" : "; " + text + " only";
}

// The calculator's start-up values are single-precision numbers: the
// shortest text of the float, as the form shows it, then the double it is,
// which is what a value typed on the command line must be to equal it.
void AppendDefault(std::string& help, double value) {
  std::string asDouble;
  AppendShortest(asDouble, value);
  const auto single = static_cast<float>(value);
  const std::string asFloat = numtext::ShortestText(single);
  if (static_cast<double>(single) != value || asFloat == asDouble) {
    help += asDouble;
    return;
  }
  help += asFloat + " as a single-precision number, " + asDouble;
}

std::string ParameterHelp(const models::ParameterInfo& info) {
  std::string help = info.meaning;
  help += UsedBy(info.parameter);
  if (info.parameter == Parameter::Kp0) return help + " (default 4); implied at 2nd order";
  if (info.parameter == Parameter::Kpp0) {
    return help + ", free at 4th order only (default: the 3rd-order implied value)";
  }
  help += " (default ";
  AppendDefault(help, info.defaultValue);
  return help + ")";
}

std::vector<ParameterOption> BuildParameterOptions() {
  std::vector<ParameterOption> options = {
      {"--eos", EquationNames() + ", in any case (default birch-murnaghan)"},
      {"--order", "2, 3 or 4 (default 3); murnaghan is 3rd order, vinet 2nd or 3rd"},
      {"--thermal",
       ThermalNames(" | ") +
           " (default linear): alpha = alpha0 + alpha1 T (the calculator's), alpha0 + alpha1 "
           "(T - Tref), alpha0 + alpha1 T + alpha2 / T^2, the Einstein or "
           "Mie-Grueneisen-Debye thermal pressure, or alpha = alpha0 (1 - 10 / sqrt(T)) of "
           "Holland and Powell (1998); einstein and mgd compute in GPa and K, with "
           "volumes in cm3/mol or in A3 per unit cell (--volume-unit A3 --Z)"},
      {"--arithmetic",
       "calculator | textbook: calculator, the form's own arithmetic with single-precision "
       "exponents, computes the four classic equations with the linear thermal model and is "
       "their default; textbook, in full double precision, is the default of every other "
       "model"},
      {"--volume-unit",
       "cm3/mol | A3 (default cm3/mol): the volume unit of the thermal pressure, A3 per unit "
       "cell of Z formula units"},
      {"--Z", "formula units per unit cell, with --volume-unit A3 (default 1)"},
  };
  for (int i = 0; i < models::kParameterCount; ++i) {
    const models::ParameterInfo& info = models::Info(static_cast<Parameter>(i));
    options.push_back({OptionOf(info.parameter), ParameterHelp(info)});
  }
  return options;
}

Equation EquationFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--eos");
  if (!text) return Equation::BirchMurnaghan;
  if (const auto equation = models::EquationFromName(*text)) return *equation;
  throw InputError("--eos: " + QuotedInput(*text) + " is not one of " + EquationNames());
}

Thermal ThermalFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--thermal");
  if (!text) return Thermal::Linear;
  if (const auto thermal = models::ThermalFromName(*text)) return *thermal;
  throw InputError("--thermal: " + QuotedInput(*text) + " is not one of " + ThermalNames(", "));
}

int OrderFromOptions(const TypedOptions& options, Equation equation) {
  const std::string* text = options.Find("--order");
  if (!text) return 3;
  if (*text != "2" && *text != "3" && *text != "4") {
    throw InputError("--order: " + QuotedInput(*text) + " is not 2, 3 or 4");
  }
  const int order = (*text)[0] - '0';
  if (!models::IsOfferedOrder(equation, order)) {
    throw InputError("--order " + *text + ": " + models::Info(equation).name + " is " +
                     OrdersOnly(equation));
  }
  return order;
}

Arithmetic ArithmeticFromOptions(const TypedOptions& options, Equation equation, Thermal thermal) {
  const std::string* text = options.Find("--arithmetic");
  if (!text) {
    const bool calculator = models::Info(equation).calculator && thermal == Thermal::Linear;
    return calculator ? Arithmetic::Calculator : Arithmetic::Textbook;
  }
  if (*text == "calculator") return Arithmetic::Calculator;
  if (*text == "textbook") return Arithmetic::Textbook;
  throw InputError("--arithmetic: " + QuotedInput(*text) + " is not one of calculator, textbook");
}

void ReadNumber(const TypedOptions& options, const std::string& name, double& parameter) {
  const std::string* text = options.Find(name);
  if (!text) return;
  const auto value = ParseDecimal(*text);
  if (!value)
    throw InputError(name + ": " + QuotedInput(*text) + " " + DecimalSyntaxProblem(*text));
  parameter = *value;
}

void ReadUnits(const TypedOptions& options, Model& model) {
  if (const std::string* text = options.Find("--volume-unit")) {
    const auto unit = models::VolumeUnitFromName(*text);
    if (!unit)
      throw InputError("--volume-unit: " + QuotedInput(*text) + " is not one of cm3/mol, A3");
    model.volumeUnit = *unit;
  }
  if (!options.Find("--Z")) return;
  if (model.volumeUnit != models::VolumeUnit::CubicAngstromsPerCell) {
    throw InputError("--Z: give it with --volume-unit A3");
  }
  ReadNumber(options, "--Z", model.Z);
}

// A parameter the model does not use, or one its equation and order imply.
void RefuseParametersNotFree(const TypedOptions& options, const Model& model) {
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    const std::string name = OptionOf(parameter);
    if (!options.Find(name)) continue;
    const Role role = models::RoleOf(model, parameter);
    if (role == Role::Free) continue;
    const models::ParameterInfo& info = models::Info(parameter);
    if (parameter == Parameter::Kp0 || parameter == Parameter::Kpp0) {
      throw InputError(name + ": " + info.symbol + " is implied by " +
                       models::Info(model.equation).name + " at order " +
                       std::to_string(model.order) + " and cannot be given");
    }
    throw InputError(name + ": the " + models::Info(model.thermal).name + " thermal model has no " +
                     info.name);
  }
}

void CheckFloor(const char* name, double magnitude) {
  if (magnitude < engine::kParameterFloor) {
    throw InputError(std::string(name) + " must be at least 0.0010000000474974513" +
                     (std::string(name) == "--Kp0" ? " in magnitude" : ""));
  }
}

// The form's own procedure, on its own parameter set.
Model CalculatorModel(const TypedOptions& options, const Model& shape) {
  EosParameters p = models::CalculatorParameters(
      models::DefaultModel(shape.equation, shape.order, Thermal::Linear, Arithmetic::Calculator));
  p.Kpp0 = 0.0;
  ReadNumber(options, "--V0", p.V0);
  ReadNumber(options, "--K0", p.K0);
  ReadNumber(options, "--Kp0", p.Kp0);
  ReadNumber(options, "--alpha0", p.alpha0);
  ReadNumber(options, "--alpha1", p.alpha1);
  ReadNumber(options, "--dKdT", p.dKdT);
  ReadNumber(options, "--Tref", p.Tref);
  CheckFloor("--V0", p.V0);
  CheckFloor("--K0", p.K0);
  CheckFloor("--Kp0", std::fabs(p.Kp0));

  // At 4th order the form starts from the K''0 that 3rd order implied.
  const engine::EosOrder order = p.order;
  if (order == 4) p.order = 3;
  engine::UpdateImpliedCoefficients(p);
  p.order = order;
  ReadNumber(options, "--Kpp0", p.Kpp0);
  engine::UpdateImpliedCoefficients(p);

  Model model = models::FromCalculatorParameters(p);
  model.volumeUnit = shape.volumeUnit;
  model.Z = shape.Z;
  return model;
}

// Every other model: the catalogue's defaults and rules; at 4th order K''0
// starts, as on the form, from the value 3rd order implies.
Model CatalogueModel(const TypedOptions& options, Model model) {
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (parameter != Parameter::Kpp0) ReadNumber(options, OptionOf(parameter), model[parameter]);
  }
  if (model.order == kMaxOrder && !options.Find("--Kpp0")) {
    Model third = model;
    third.order = 3;
    models::ApplyImpliedCoefficients(third);
    model[Parameter::Kpp0] = third[Parameter::Kpp0];
  }
  ReadNumber(options, "--Kpp0", model[Parameter::Kpp0]);
  models::ApplyImpliedCoefficients(model);
  return model;
}

}  // namespace

const std::vector<ParameterOption>& ParameterOptions() {
  static const std::vector<ParameterOption> options = BuildParameterOptions();
  return options;
}

Model ModelFromOptions(const TypedOptions& options) {
  const Equation equation = EquationFromOptions(options);
  const Thermal thermal = ThermalFromOptions(options);
  const int order = OrderFromOptions(options, equation);
  Model model = models::DefaultModel(equation, order, thermal,
                                     ArithmeticFromOptions(options, equation, thermal));
  ReadUnits(options, model);
  RefuseParametersNotFree(options, model);
  const std::string invalid = models::ValidationError(model);
  if (!invalid.empty()) throw InputError(invalid);
  if (model.arithmetic == Arithmetic::Calculator) return CalculatorModel(options, model);
  model = CatalogueModel(options, model);
  const std::string error = models::ValidationError(model);
  if (!error.empty()) throw InputError(error);
  return model;
}

EosParameters ParametersFromOptions(const TypedOptions& options) {
  const Model model = ModelFromOptions(options);
  if (model.arithmetic != Arithmetic::Calculator) {
    throw InputError(
        "quorvane.Eos computes only the calculator's equations with the linear thermal expansion, "
        "in "
        "the calculator's arithmetic");
  }
  return models::CalculatorParameters(model);
}

}  // namespace quorvane::app
