#pragma once

#include "engine/eos_parameters.h"

// The whole state point from the quantities a user can hold fixed. The
// calculator's handlers and quorvane-eos compute along these same paths.
namespace quorvane::engine {

// From pressure and temperature: V by the solver, V(T,0) from T, the ratios.
// P and T are returned as given.
WorkingPoint StateFromPressure(const EosParameters& parameters, double P, double T);

// From volume and temperature: P from the equation of state, V(T,0) from T,
// the ratios.
WorkingPoint StateFromVolume(const EosParameters& parameters, double V, double T);

}  // namespace quorvane::engine
