#pragma once

#include "models/model.h"

namespace quorvane::models {

// Whether the model's entropy is known in closed form, so that its isentrope
// is solved directly: Mie-Grueneisen-Debye, whose entropy is a function of
// theta(V)/T alone. The other models have no entropy of their own (the
// expansion models define no heat capacity; Holland and Powell's Einstein
// pressure does not follow from one free energy with Einstein's heat capacity).
bool HasClosedFormIsentrope(const Model& model);

struct IsentropePoint {
  double T = 0.0;
  double V = 0.0;
  bool converged = false;
};

// The point at pressure P on the isentrope through the state (V0, T0): theta/T
// is the same along it, so T = T0 theta(V) / theta(V0) with V the root of
// P(V, T(V)) = P, found by Newton's method from guess (a neighbour's volume
// is a good one). Not converged where the model has none.
IsentropePoint IsentropeAt(const Model& model, double V0, double T0, double P, double guess);

}  // namespace quorvane::models
