#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scales/volume_scale.h"

namespace quorvane::scales {

// A reflection by its Miller indices.
struct Reflection {
  int h = 0;
  int k = 0;
  int l = 0;
};

// "111", "200", "-111": three indices of one digit each, a minus sign before
// one making it negative. Empty for anything else and for 000, which is no
// reflection.
std::optional<Reflection> ReflectionFromText(std::string_view text);

// "111", "-111": the indices as the text would give them.
std::string ReflectionName(const Reflection& reflection);

// sqrt(h^2 + k^2 + l^2): a cubic cell's lattice parameter over the
// reflection's spacing.
double IndexNorm(const Reflection& reflection);

// A spacing name of a data column or option: "d111", "d-111" (any case) is
// that reflection's; empty for any other text.
std::optional<Reflection> SpacingReflection(std::string_view name);

// The cell of a cubic calibrant at P and T: V (A^3), the lattice parameter a
// (A) and the spacing of each reflection asked for, a / sqrt(h^2 + k^2 + l^2),
// each with the standard deviation the scale's covariance implies (0 where
// the scale holds none).
struct CalibrantCell {
  double V = 0.0;
  double sigV = 0.0;
  double a = 0.0;
  double sigA = 0.0;
  std::vector<double> d;
  std::vector<double> sigD;
};

// Throws ScaleError for a scale whose cell is not cubic with volumes in A^3
// per cell, and for P the scale's equation does not reach at T.
CalibrantCell CellAt(const VolumeScale& scale, double P, double T,
                     const std::vector<Reflection>& reflections);

}  // namespace quorvane::scales
