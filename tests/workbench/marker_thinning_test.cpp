#include "workbench/marker_thinning.h"

#include <gtest/gtest.h>

#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "workbench/chart_view.h"

namespace quorvane::workbench {
namespace {

// A falling curve of count points, as P against V, with extras appended.
std::vector<QPointF> Curve(std::size_t count, std::vector<QPointF> extras = {}) {
  std::vector<QPointF> points;
  for (std::size_t i = 0; i < count; ++i) {
    const double V = 100.0 - 30.0 * static_cast<double>(i) / static_cast<double>(count);
    points.push_back({V, 160.0 * (std::pow(100.0 / V, 3.0) - 1.0)});
  }
  points.insert(points.end(), extras.begin(), extras.end());
  return points;
}

// Few points are all drawn; many are thinned to at most kMaxMarkers, in
// order, keeping a lone outlier and the ends and leaving out what cannot be
// drawn.
TEST(MarkerThinning, DrawsFewPointsAllAndManyWithinTheLimitKeepingOutliers) {
  const QPointF outlier{50.0, -500.0};
  struct Case {
    const char* name;
    std::vector<QPointF> points;
    std::size_t atMost;
    std::vector<std::size_t> mustKeep;
  };
  const Case cases[] = {
      {"ten points", Curve(10), 10, {0, 9}},
      {"exactly the limit", Curve(kMaxMarkers), kMaxMarkers, {0, kMaxMarkers - 1}},
      {"200 000 points and an outlier", Curve(200000, {outlier}), kMaxMarkers, {0, 200000}},
      {"one point repeated", std::vector<QPointF>(50000, QPointF{1.0, 2.0}), 1, {0}},
      {"NaN among many",
       Curve(10000, {{NAN, 1.0}, {1.0, INFINITY}, outlier}),
       kMaxMarkers,
       {10002}},
  };
  for (const Case& c : cases) {
    const std::vector<std::size_t> drawn = MarkersToDraw(c.points);
    EXPECT_LE(drawn.size(), c.atMost) << c.name;
    EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end())) << c.name;
    for (std::size_t index : c.mustKeep) {
      EXPECT_TRUE(std::binary_search(drawn.begin(), drawn.end(), index))
          << c.name << ": point " << index << " left out";
    }
    for (std::size_t index : drawn) {
      EXPECT_TRUE(std::isfinite(c.points[index].x()) && std::isfinite(c.points[index].y()))
          << c.name;
    }
  }
}

// A chart of many points draws the thinned markers, says so in the legend,
// and still spans every point, the outlier included.
TEST(MarkerThinning, AChartOfManyPointsDrawsFewMarkersAndSpansThemAll) {
  ChartView view;
  view.Begin("data", "V", "P");
  const std::vector<QPointF> points = Curve(200000, {{50.0, -500.0}});
  QScatterSeries* series = view.AddPoints("data", points);
  view.AddErrorBars(series, std::vector<double>(points.size(), 1.0));
  view.Finish();

  EXPECT_LE(static_cast<std::size_t>(series->count()), kMaxMarkers);
  EXPECT_NE(series->name().toStdString().find("of 200001 drawn"), std::string::npos)
      << series->name().toStdString();
  const auto* pressure = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Vertical).first());
  ASSERT_NE(pressure, nullptr);
  EXPECT_LT(pressure->min(), -500.0);
}

}  // namespace
}  // namespace quorvane::workbench
