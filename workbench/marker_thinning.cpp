#include "workbench/marker_thinning.h"

#include <algorithm>
#include <cmath>

namespace quorvane::workbench {
namespace {

// Cells of the grid: wider than tall, as the plots are, and no more of them
// than markers allowed.
constexpr std::size_t kColumns = 64;
constexpr std::size_t kRows = kMaxMarkers / kColumns;

bool Finite(const QPointF& p) {
  return std::isfinite(p.x()) && std::isfinite(p.y());
}

// The cell of value in cells equal parts of [low, high]; a zero extent is one cell.
std::size_t CellOf(double value, double low, double high, std::size_t cells) {
  if (!(high > low)) return 0;
  const double at = (value - low) / (high - low) * static_cast<double>(cells);
  return std::min(cells - 1, static_cast<std::size_t>(std::max(0.0, at)));
}

}  // namespace

std::vector<std::size_t> MarkersToDraw(const std::vector<QPointF>& points) {
  std::vector<std::size_t> kept;
  if (points.size() <= kMaxMarkers) {
    for (std::size_t i = 0; i < points.size(); ++i) kept.push_back(i);
    return kept;
  }
  double xLow = INFINITY, xHigh = -INFINITY, yLow = INFINITY, yHigh = -INFINITY;
  for (const QPointF& p : points) {
    if (!Finite(p)) continue;
    xLow = std::min(xLow, p.x());
    xHigh = std::max(xHigh, p.x());
    yLow = std::min(yLow, p.y());
    yHigh = std::max(yHigh, p.y());
  }
  std::vector<bool> taken(kColumns * kRows, false);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!Finite(points[i])) continue;
    const std::size_t cell = CellOf(points[i].y(), yLow, yHigh, kRows) * kColumns +
                             CellOf(points[i].x(), xLow, xHigh, kColumns);
    if (taken[cell]) continue;
    taken[cell] = true;
    kept.push_back(i);
  }
  return kept;
}

}  // namespace quorvane::workbench
