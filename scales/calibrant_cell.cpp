#include "scales/calibrant_cell.h"

#include <cmath>

#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"
#include "scales/scale_info.h"

namespace quorvane::scales {
namespace {

constexpr int kIndexCount = 3;

}  // namespace

double IndexNorm(const Reflection& r) {
  return std::sqrt(static_cast<double>(r.h * r.h + r.k * r.k + r.l * r.l));
}

std::optional<Reflection> SpacingReflection(std::string_view name) {
  if (name.empty() || (name.front() != 'd' && name.front() != 'D')) return {};
  return ReflectionFromText(name.substr(1));
}

std::optional<Reflection> ReflectionFromText(std::string_view text) {
  int indices[kIndexCount] = {};
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool negative = text[i] == '-';
    if (negative) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9' || count == kIndexCount) return {};
    indices[count++] = (negative ? -1 : 1) * (text[i] - '0');
  }
  if (count != kIndexCount) return {};
  const Reflection reflection{indices[0], indices[1], indices[2]};
  if (reflection.h == 0 && reflection.k == 0 && reflection.l == 0) return {};
  return reflection;
}

std::string ReflectionName(const Reflection& reflection) {
  std::string name;
  for (const int index : {reflection.h, reflection.k, reflection.l}) name += std::to_string(index);
  return name;
}

CalibrantCell CellAt(const VolumeScale& scale, double P, double T,
                     const std::vector<Reflection>& reflections) {
  if (!scale.cubic || !IsCellVolumeScale(scale)) {
    throw ScaleError(scale.info.name + " has no cubic cell with its volume in A^3");
  }
  const engine::VolumeSolution solution = models::VolumeFromPressure(scale.model, P, T);
  if (!solution.converged || !(solution.V > 0.0)) {
    throw ScaleError(scale.info.name + " does not reach that pressure at that temperature");
  }
  CalibrantCell cell;
  cell.V = solution.V;
  if (scale.covariance) {
    cell.sigV = params::VolumeUncertainty(scale.model, *scale.covariance, cell.V, T);
  }
  cell.a = std::cbrt(cell.V);
  // a = V^(1/3): the relative error of a is a third of V's.
  cell.sigA = cell.a * cell.sigV / (3.0 * cell.V);
  for (const Reflection& reflection : reflections) {
    const double norm = IndexNorm(reflection);
    cell.d.push_back(cell.a / norm);
    cell.sigD.push_back(cell.sigA / norm);
  }
  return cell;
}

}  // namespace quorvane::scales
