#pragma once

#include <string>

namespace quorvane::plot {

struct Colour {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// "#rrggbb".
std::string HexOf(Colour colour);

// The categorical palette for series that are not ordered: colour-blind-safe
// colours, taken in turn.
Colour CategoricalColour(int place);

// The viridis map at t in [0, 1], dark purple to yellow: perceptually uniform,
// readable by the colour-blind and in grey. Temperatures run along it.
Colour Viridis(double t);

// Ordered quantities (temperatures, volumes) at t in [0, 1] along viridis,
// short of its palest end, which would not show on white.
Colour Sequential(double t);

}  // namespace quorvane::plot
