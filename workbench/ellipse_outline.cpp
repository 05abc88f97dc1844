#include "workbench/ellipse_outline.h"

#include <cmath>
#include <numbers>

namespace quorvane::workbench {

std::vector<std::pair<double, double>> EllipseOutline(double cx, double cy, double cxx, double cxy,
                                                      double cyy, double level, int points) {
  // The Cholesky factor L of C maps the circle of radius sqrt(level) onto the
  // ellipse: x = centre + L u with u'u = level.
  if (!(cxx > 0.0) || !(level > 0.0) || points < 3) return {};
  const double l11 = std::sqrt(cxx);
  const double l21 = cxy / l11;
  const double rest = cyy - l21 * l21;
  if (!(rest > 0.0)) return {};
  const double l22 = std::sqrt(rest);
  const double radius = std::sqrt(level);
  std::vector<std::pair<double, double>> outline;
  outline.reserve(static_cast<std::size_t>(points) + 1);
  for (int i = 0; i <= points; ++i) {
    const double angle = 2.0 * std::numbers::pi * i / points;
    const double u = radius * std::cos(angle);
    const double v = radius * std::sin(angle);
    outline.emplace_back(cx + l11 * u, cy + l21 * u + l22 * v);
  }
  return outline;
}

}  // namespace quorvane::workbench
