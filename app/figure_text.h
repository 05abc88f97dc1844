#pragma once

#include <string>

#include "models/model.h"

namespace quorvane::app {

// The model as a figure's title names it: "3rd-order Birch–Murnaghan +
// Mie–Grüneisen–Debye". The expansion of isothermal data is not named: it
// played no part.
std::string ModelTitle(const models::Model& model, bool isothermal);

// A value in the shortest form that keeps its whole part, or three
// significant digits when it is small: "1273", "0.25". The same text from
// every C++ library.
std::string WholeOrThreeDigits(double value);

}  // namespace quorvane::app
