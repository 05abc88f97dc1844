#pragma once

#include "engine/eos_parameters.h"
#include "models/model.h"

namespace quorvane::models {

// The catalogue's equation of an engine type; types the form never sets
// compute as Murnaghan.
Equation EquationOf(engine::EosType type);

// The engine's parameter set of a calculator-family model, and back.
engine::EosParameters CalculatorParameters(const Model& model);
Model FromCalculatorParameters(const engine::EosParameters& parameters);

}  // namespace quorvane::models
