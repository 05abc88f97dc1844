#include "fit/fit_data.h"

namespace quorvane::fit {

bool IsIsothermal(const FitData& data) {
  for (const Observation& point : data.points) {
    if (point.T != data.points.front().T) return false;
  }
  return true;
}

bool HasSigmas(const FitData& data) {
  for (const Observation& point : data.points) {
    if (point.sigP > 0.0 || point.sigV > 0.0 || point.sigT > 0.0) return true;
  }
  return false;
}

std::string PointName(const FitData& data, std::size_t index) {
  const std::string point = "point " + std::to_string(index + 1);
  if (index < data.lines.size()) return "line " + std::to_string(data.lines[index]) + ", " + point;
  return point;
}

}  // namespace quorvane::fit
