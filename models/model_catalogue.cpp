#include "models/model_catalogue.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "engine/eos_parameters.h"
#include "models/isothermal_equations.h"
#include "numtext/double_text.h"

namespace quorvane::models {
namespace {

constexpr engine::EosParameters kCalculatorStart{};

constexpr ParameterInfo kParameters[] = {
    {Parameter::V0, "V0", "V0", "volume at zero pressure and Tref", UnitKind::Volume, 1.0,
     kCalculatorStart.V0, true},
    {Parameter::K0, "K0", "K0", "isothermal bulk modulus at zero pressure and Tref",
     UnitKind::Pressure, 1.0, kCalculatorStart.K0, true},
    {Parameter::Kp0, "Kp0", "K'0", "pressure derivative of the bulk modulus", UnitKind::None, 1.0,
     kCalculatorStart.Kp0, false},
    {Parameter::Kpp0, "Kpp0", "K''0", "second pressure derivative of the bulk modulus",
     UnitKind::InversePressure, 1.0, 0.0, false},
    {Parameter::alpha0, "alpha0", "alpha0", "constant term of the thermal expansion, x 1e-5",
     UnitKind::PerTemperature, 1e-5, kCalculatorStart.alpha0, false},
    {Parameter::alpha1, "alpha1", "alpha1", "linear term of the thermal expansion, x 1e-8",
     UnitKind::PerTemperatureSquared, 1e-8, kCalculatorStart.alpha1, false},
    {Parameter::alpha2, "alpha2", "alpha2", "T^-2 term of the thermal expansion",
     UnitKind::Temperature, 1.0, 0.0, false},
    {Parameter::dKdT, "dKdT", "dK/dT", "change of the bulk modulus with temperature",
     UnitKind::PressurePerTemperature, 1.0, kCalculatorStart.dKdT, false},
    {Parameter::Tref, "Tref", "Tref", "reference temperature of V0 and K0", UnitKind::Temperature,
     1.0, kCalculatorStart.Tref, false},
    {Parameter::theta0, "theta0", "theta0", "Einstein or Debye temperature at V0",
     UnitKind::Temperature, 1.0, 500.0, true},
    {Parameter::gamma0, "gamma0", "gamma0", "Grueneisen parameter at V0", UnitKind::None, 1.0, 1.5,
     false},
    {Parameter::q, "q", "q", "volume exponent of the Grueneisen parameter", UnitKind::None, 1.0,
     1.0, false},
    {Parameter::natoms, "natoms", "n", "atoms per formula unit", UnitKind::None, 1.0, 1.0, true},
};

constexpr unsigned kOrders234 = 0b11100;
constexpr unsigned kOrders23 = 0b01100;
constexpr unsigned kOrder3 = 0b01000;

constexpr EquationInfo kEquations[] = {
    {Equation::Murnaghan, "murnaghan", "m", "Murnaghan", kOrder3, true},
    {Equation::BirchMurnaghan, "birch-murnaghan", "bm", "Birch-Murnaghan", kOrders234, true},
    {Equation::Vinet, "vinet", "v", "Vinet", kOrders23, true},
    {Equation::NaturalStrain, "natural-strain", "ns", "natural strain", kOrders234, true},
    {Equation::Tait, "tait", "t", "modified Tait", kOrders234, false},
};

constexpr ThermalInfo kThermals[] = {
    {Thermal::Linear, "linear", "alpha = alpha0 + alpha1 T", false},
    {Thermal::Berman, "berman", "alpha = alpha0 + alpha1 (T - Tref)", false},
    {Thermal::Fei, "fei", "alpha = alpha0 + alpha1 T + alpha2 / T^2", false},
    {Thermal::Einstein, "einstein", "Einstein thermal pressure", true},
    {Thermal::MieGruneisenDebye, "mgd", "Mie-Grueneisen-Debye thermal pressure", true},
    {Thermal::HollandPowell, "holland-powell", "alpha = alpha0 (1 - 10 / sqrt(T))", false},
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool UsesThermalParameter(Thermal thermal, Parameter parameter) {
  switch (parameter) {
    case Parameter::alpha0:
      return thermal != Thermal::MieGruneisenDebye;
    case Parameter::alpha1:
      return !Info(thermal).thermalPressure && thermal != Thermal::HollandPowell;
    case Parameter::dKdT:
      return !Info(thermal).thermalPressure;
    case Parameter::alpha2:
      return thermal == Thermal::Fei;
    case Parameter::theta0:
      return Info(thermal).thermalPressure;
    case Parameter::gamma0:
    case Parameter::q:
    case Parameter::natoms:
      return thermal == Thermal::MieGruneisenDebye;
    default:
      return true;
  }
}

std::string OrdersText(const EquationInfo& info) {
  std::string text;
  for (int order = 2; order <= 4; ++order) {
    if (!(info.orders & (1u << order))) continue;
    if (!text.empty()) text += ", ";
    text += std::to_string(order);
  }
  return text;
}

std::string RangeError(const Model& model) {
  for (const ParameterInfo& info : kParameters) {
    if (RoleOf(model, info.parameter) == Role::Unused) continue;
    const double value = model[info.parameter];
    const bool positive =
        info.positive || (info.parameter == Parameter::Tref && NeedsPositiveTemperature(model));
    if (!std::isfinite(value)) return std::string(info.name) + " is not a finite number";
    if (positive && !(value > 0.0)) return std::string(info.name) + " must be above zero";
  }
  if (model.volumeUnit == VolumeUnit::CubicAngstromsPerCell &&
      !(model.Z > 0.0 && std::isfinite(model.Z))) {
    return "Z must be a finite number above zero";
  }
  return "";
}

// The Tait equation divides by 1 + K'0 and takes no pressure from K'0 <= -1.
std::string TaitError(const Model& model) {
  if (model.equation != Equation::Tait) return "";
  if (ImpliedKp(model.equation, model.order, model[Parameter::Kp0]) > -1.0) return "";
  return "the Tait equation needs K'0 above -1";
}

}  // namespace

const ParameterInfo& Info(Parameter parameter) {
  return kParameters[Index(parameter)];
}
const EquationInfo& Info(Equation equation) {
  return kEquations[static_cast<int>(equation)];
}
const ThermalInfo& Info(Thermal thermal) {
  return kThermals[static_cast<int>(thermal)];
}

std::optional<Parameter> ParameterFromName(std::string_view name) {
  for (const ParameterInfo& info : kParameters) {
    if (SameName(name, info.name)) return info.parameter;
  }
  return std::nullopt;
}

std::optional<Equation> EquationFromName(std::string_view name) {
  for (const EquationInfo& info : kEquations) {
    if (SameName(name, info.name) || SameName(name, info.shortName)) return info.equation;
  }
  return std::nullopt;
}

std::optional<Thermal> ThermalFromName(std::string_view name) {
  for (const ThermalInfo& info : kThermals) {
    if (SameName(name, info.name)) return info.thermal;
  }
  return std::nullopt;
}

std::optional<VolumeUnit> VolumeUnitFromName(std::string_view name) {
  if (SameName(name, "cm3/mol")) return VolumeUnit::CubicCentimetresPerMole;
  if (SameName(name, "A3")) return VolumeUnit::CubicAngstromsPerCell;
  return std::nullopt;
}

const char* VolumeUnitName(VolumeUnit unit) {
  return unit == VolumeUnit::CubicAngstromsPerCell ? "A3" : "cm3/mol";
}

bool IsOfferedOrder(Equation equation, int order) {
  return order >= 2 && order <= 4 && (Info(equation).orders & (1u << order)) != 0;
}

bool IsCalculatorFamily(const Model& model) {
  return Info(model.equation).calculator && model.thermal == Thermal::Linear &&
         IsOfferedOrder(model.equation, model.order);
}

Role RoleOf(const Model& model, Parameter parameter) {
  if (!UsesThermalParameter(model.thermal, parameter)) return Role::Unused;
  if (parameter == Parameter::Kp0) {
    const bool implied = model.order == 2 && model.equation != Equation::Murnaghan;
    return implied ? Role::Implied : Role::Free;
  }
  if (parameter != Parameter::Kpp0) return Role::Free;
  if (model.equation == Equation::Murnaghan) return Role::Unused;
  return HasFreeKpp(model.equation, model.order) ? Role::Free : Role::Implied;
}

Role ListedRole(const Model& model, Parameter parameter) {
  const Role role = RoleOf(model, parameter);
  const bool held = model.arithmetic == Arithmetic::Calculator && parameter == Parameter::Kpp0;
  return role == Role::Unused && held ? Role::Implied : role;
}

Model DefaultModel(Equation equation, int order, Thermal thermal, Arithmetic arithmetic) {
  Model model;
  model.equation = equation;
  model.order = order;
  model.thermal = thermal;
  model.arithmetic = arithmetic;
  for (const ParameterInfo& info : kParameters) model[info.parameter] = info.defaultValue;
  ApplyImpliedCoefficients(model);
  return model;
}

void ApplyImpliedCoefficients(Model& model) {
  const EquationConstants& c = ConstantsOf(model.arithmetic);
  model[Parameter::Kp0] = ImpliedKp(model.equation, model.order, model[Parameter::Kp0]);
  model[Parameter::Kpp0] = ImpliedKpp(model.equation, model.order, c, model[Parameter::K0],
                                      model[Parameter::Kp0], model[Parameter::Kpp0]);
}

bool NeedsPositiveTemperature(const Model& model) {
  return model.thermal == Thermal::Fei || model.thermal == Thermal::HollandPowell ||
         Info(model.thermal).thermalPressure;
}

std::string TemperatureError(const Model& model, double T) {
  if (!NeedsPositiveTemperature(model) || T > 0.0) return "";
  return "T = " + numtext::ShortestText(T) + " must be above zero for the " +
         Info(model.thermal).name + " thermal model";
}

std::string ValidationError(const Model& model) {
  const EquationInfo& equation = Info(model.equation);
  if (!IsOfferedOrder(model.equation, model.order)) {
    return std::string("the ") + equation.title + " equation is offered at order " +
           OrdersText(equation) + " only";
  }
  if (model.arithmetic == Arithmetic::Calculator && !IsCalculatorFamily(model)) {
    return "the calculator's arithmetic computes only the four classic equations with the "
           "linear thermal expansion";
  }
  const std::string rangeError = RangeError(model);
  if (!rangeError.empty()) return rangeError;
  return TaitError(model);
}

}  // namespace quorvane::models
