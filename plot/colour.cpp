#include "plot/colour.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace quorvane::plot {
namespace {

// Okabe and Ito's colours for the colour-blind ("Color Universal Design",
// 2002): blue, vermilion, bluish green, reddish purple, sky blue, orange.
constexpr Colour kCategorical[] = {{0, 114, 178},   {213, 94, 0},   {0, 158, 115},
                                   {204, 121, 167}, {86, 180, 233}, {230, 159, 0}};

// Viridis (van der Walt and Smith, 2015, released CC0), every 32nd entry of
// its 256-entry table and the last: rows 0, 32, ..., 224 and 255 of
// _viridis_data in matplotlib's lib/matplotlib/_cm_listed.py, as red, green,
// blue fractions. Between them it is interpolated linearly, which departs
// from the full table by less than one step of eight bits.
struct Stop {
  double red, green, blue;
};
constexpr Stop kViridis[] = {
    {0.267004, 0.004874, 0.329415}, {0.278826, 0.175490, 0.483397}, {0.229739, 0.322361, 0.545706},
    {0.172719, 0.448791, 0.557885}, {0.127568, 0.566949, 0.550556}, {0.157851, 0.683765, 0.501686},
    {0.369214, 0.788888, 0.382914}, {0.678489, 0.863742, 0.189503}, {0.993248, 0.906157, 0.143936}};
// The table's index of each stop, over its last index.
constexpr double kStopAt[] = {0, 32, 64, 96, 128, 160, 192, 224, 255};
constexpr double kLastIndex = 255.0;
// Where the sequential colours end: yellow-green, still dark enough on white.
constexpr double kPalestSequential = 0.85;

unsigned char Byte(double fraction) {
  return static_cast<unsigned char>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

}  // namespace

std::string HexOf(Colour colour) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "#";
  for (unsigned char byte : {colour.red, colour.green, colour.blue}) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

Colour CategoricalColour(int place) {
  const int count = static_cast<int>(std::size(kCategorical));
  return kCategorical[((place % count) + count) % count];
}

Colour Viridis(double t) {
  const double index = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0) * kLastIndex;
  std::size_t upper = 1;
  while (upper + 1 < std::size(kStopAt) && kStopAt[upper] < index) ++upper;
  const Stop& a = kViridis[upper - 1];
  const Stop& b = kViridis[upper];
  const double w = (index - kStopAt[upper - 1]) / (kStopAt[upper] - kStopAt[upper - 1]);
  return {Byte(a.red + w * (b.red - a.red)), Byte(a.green + w * (b.green - a.green)),
          Byte(a.blue + w * (b.blue - a.blue))};
}

Colour Sequential(double t) {
  return Viridis(kPalestSequential * std::clamp(t, 0.0, 1.0));
}

}  // namespace quorvane::plot
