#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/axial_state.h"

namespace quorvane::app {

inline constexpr std::size_t kCellEdges = 3;
inline constexpr double kRightAngle = 90.0;

// alpha, beta, gamma in degrees.
using CellAngles = std::array<double, kCellEdges>;

// An angle given for the cell; throws InputError, "what: not between 0 and
// 180", for any other (NaN too).
double CellAngle(double degrees, const std::string& what);

// sqrt(1 - cos^2 alpha - cos^2 beta - cos^2 gamma + 2 cos alpha cos beta
// cos gamma), the cell volume over abc, or NaN for angles that close no cell.
double AngleFactor(const CellAngles& angles);

// Throws InputError, "what: these angles close no cell", where AngleFactor
// is NaN.
void RequireCell(const CellAngles& angles, const std::string& what);

// Edges from their axial fits, in the order a, b, c, and the angles between
// them. With three edges the cell volume and its sigma come with them, the
// edges' sigmas taken as independent (each from a fit of its own).
struct AxialCell {
  std::vector<Axis> axes;
  CellAngles angles = {kRightAngle, kRightAngle, kRightAngle};

  bool HasVolume() const { return axes.size() == kCellEdges; }
  // NAME, sigNAME and betaNAME of each axis, then V and sigV with a volume.
  std::vector<std::string> Columns() const;
  // The values of Columns at P and T; throws InputError as AxisStateAt.
  std::vector<double> Row(double P, double T, const std::string& what) const;
};

}  // namespace quorvane::app
