#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "models/model.h"

namespace quorvane::models {

// What a parameter's value is measured in; the user chooses the units.
enum class UnitKind {
  None,
  Volume,
  Pressure,
  InversePressure,
  Temperature,
  PerTemperature,
  PerTemperatureSquared,
  PressurePerTemperature,
};

struct ParameterInfo {
  Parameter parameter;
  // The name on the command line, in Python and in parameter files ("Kp0").
  const char* name;
  // The name a reader of the results expects ("K'0").
  const char* symbol;
  const char* meaning;
  UnitKind unit;
  // The value as typed is this many times the value the formulas use.
  double scale;
  double defaultValue;
  // Only values above the bound are allowed (V0, K0, temperatures, n).
  bool positive;
};

struct EquationInfo {
  Equation equation;
  const char* name;       // "birch-murnaghan"
  const char* shortName;  // "bm"
  const char* title;      // "Birch-Murnaghan"
  // Bit k set: order k offered.
  unsigned orders;
  bool calculator;  // the form offers it
};

struct ThermalInfo {
  Thermal thermal;
  const char* name;  // "mgd"
  const char* title;
  bool thermalPressure;
};

const ParameterInfo& Info(Parameter parameter);
const EquationInfo& Info(Equation equation);
const ThermalInfo& Info(Thermal thermal);

// Names in any case; the equations also by their short names.
std::optional<Parameter> ParameterFromName(std::string_view name);
std::optional<Equation> EquationFromName(std::string_view name);
std::optional<Thermal> ThermalFromName(std::string_view name);
std::optional<VolumeUnit> VolumeUnitFromName(std::string_view name);
const char* VolumeUnitName(VolumeUnit unit);

bool IsOfferedOrder(Equation equation, int order);

// Whether the model is one the calculator computes: a classic equation at an
// order the form offers, with the linear expansion.
bool IsCalculatorFamily(const Model& model);

// Unused: the model has no such parameter. Implied: the equation and order
// compute it (K'0 at 2nd order, K''0 below 4th and for Vinet and Murnaghan).
enum class Role { Unused, Free, Implied };
Role RoleOf(const Model& model, Parameter parameter);

// RoleOf, except that the calculator's arithmetic holds K''0 for every
// equation, Murnaghan's (0) included, as an implied value, and its parameter
// sets have always listed it.
Role ListedRole(const Model& model, Parameter parameter);

// A model with every parameter at its default, implied coefficients applied.
Model DefaultModel(Equation equation, int order, Thermal thermal, Arithmetic arithmetic);

// Writes the implied K'0 and K''0 into the model, at K0.
void ApplyImpliedCoefficients(Model& model);

// Whether the model has values only above 0 K: the Fei expansion's alpha2/T^2
// term diverges there, and a thermal pressure has none at or below it.
bool NeedsPositiveTemperature(const Model& model);

// "T = -100 must be above zero for the fei thermal model", the one refusal of
// such a temperature everywhere; empty where the model takes T.
std::string TemperatureError(const Model& model, double T);

// Empty when the model can be computed; otherwise one line naming what is
// wrong (an order not offered, the calculator's arithmetic for a model it
// does not compute, a parameter outside its range).
std::string ValidationError(const Model& model);

}  // namespace quorvane::models
