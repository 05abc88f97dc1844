#pragma once

#include <QPointF>
#include <cstddef>
#include <vector>

namespace quorvane::workbench {

// Qt Charts makes a graphics item of every marker of a scatter series, and a
// window with a hundred thousand of them takes minutes to draw. Past this
// many points a series is drawn thinned.
inline constexpr std::size_t kMaxMarkers = 3000;

// The indices, in order, of the points a scatter plot draws: all of them up
// to kMaxMarkers, else the first finite point in each cell of a grid laid over
// the points' extent, so that every part of the plot holding data keeps a
// marker, an outlier as much as a dense run. Never more than kMaxMarkers.
std::vector<std::size_t> MarkersToDraw(const std::vector<QPointF>& points);

}  // namespace quorvane::workbench
