#include "models/calculator_parameters.h"

#include "models/model_catalogue.h"

namespace quorvane::models {

Equation EquationOf(engine::EosType type) {
  const int number = static_cast<int>(type);
  return number >= 1 && number <= 4 ? static_cast<Equation>(number - 1) : Equation::Murnaghan;
}

engine::EosParameters CalculatorParameters(const Model& model) {
  engine::EosParameters p;
  // The engine numbers the classic equations from 1 in the catalogue's order.
  p.type = static_cast<engine::EosType>(static_cast<int>(model.equation) + 1);
  p.order = model.order;
  p.V0 = model[Parameter::V0];
  p.K0 = model[Parameter::K0];
  p.Kp0 = model[Parameter::Kp0];
  p.Kpp0 = model[Parameter::Kpp0];
  p.alpha0 = model[Parameter::alpha0];
  p.alpha1 = model[Parameter::alpha1];
  p.dKdT = model[Parameter::dKdT];
  p.Tref = model[Parameter::Tref];
  return p;
}

Model FromCalculatorParameters(const engine::EosParameters& p) {
  Model model = DefaultModel(EquationOf(p.type), p.order, Thermal::Linear, Arithmetic::Calculator);
  model[Parameter::V0] = p.V0;
  model[Parameter::K0] = p.K0;
  model[Parameter::Kp0] = p.Kp0;
  model[Parameter::Kpp0] = p.Kpp0;
  model[Parameter::alpha0] = p.alpha0;
  model[Parameter::alpha1] = p.alpha1;
  model[Parameter::dKdT] = p.dKdT;
  model[Parameter::Tref] = p.Tref;
  return model;
}

}  // namespace quorvane::models
