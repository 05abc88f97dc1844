#include "app/axial_cell.h"

#include <cmath>
#include <numbers>

#include "app/input_error.h"

namespace quorvane::app {

double CellAngle(double degrees, const std::string& what) {
  if (!(degrees > 0.0 && degrees < 2.0 * kRightAngle)) {
    throw InputError(what + ": not between 0 and 180");
  }
  return degrees;
}

double AngleFactor(const CellAngles& angles) {
  double c[kCellEdges];
  for (std::size_t i = 0; i < kCellEdges; ++i) {
    c[i] = std::cos(angles[i] * std::numbers::pi / (2.0 * kRightAngle));
  }
  const double square = 1.0 - c[0] * c[0] - c[1] * c[1] - c[2] * c[2] + 2.0 * c[0] * c[1] * c[2];
  return square > 0.0 ? std::sqrt(square) : std::nan("");
}

void RequireCell(const CellAngles& angles, const std::string& what) {
  if (std::isnan(AngleFactor(angles))) throw InputError(what + ": these angles close no cell");
}

std::vector<std::string> AxialCell::Columns() const {
  std::vector<std::string> columns;
  for (const Axis& axis : axes) {
    for (const std::string prefix : {"", "sig", "beta"}) columns.push_back(prefix + axis.name);
  }
  if (HasVolume()) columns.insert(columns.end(), {"V", "sigV"});
  return columns;
}

std::vector<double> AxialCell::Row(double P, double T, const std::string& what) const {
  std::vector<double> row;
  double V = AngleFactor(angles), relative = 0.0;
  for (const Axis& axis : axes) {
    const AxisState state = AxisStateAt(axis, P, T, what);
    row.insert(row.end(), {state.L, state.sigL, state.beta});
    V *= state.L;
    relative += (state.sigL / state.L) * (state.sigL / state.L);
  }
  if (HasVolume()) row.insert(row.end(), {V, V * std::sqrt(relative)});
  return row;
}

}  // namespace quorvane::app
