#pragma once

#include <QChartView>
#include <QPointF>
#include <map>
#include <vector>

#include "plot/figure.h"

class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace quorvane::workbench {

// A chart the user explores: drag a rectangle to zoom in, the wheel or + and -
// to zoom, the right button or the arrow keys to pan, Home to see it all
// again. Hovering over a point of a scatter series names its values.
class ChartView : public QChartView {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  // Clears the chart and gives it new axes titled x and y.
  void Begin(const QString& title, const QString& x, const QString& y);
  // Past kMaxMarkers points the series draws a thinned set (its legend says
  // how many of how many); the axes still take in every point.
  QScatterSeries* AddPoints(const QString& name, const std::vector<QPointF>& points);
  // Bars of half-length sigma about each point given to AddPoints, vertical
  // for ySigma and horizontal for xSigma, drawn over the markers the series
  // draws.
  void AddErrorBars(QScatterSeries* series, const std::vector<double>& ySigma,
                    const std::vector<double>& xSigma = {});
  QLineSeries* AddLine(const QString& name, const std::vector<QPointF>& points);
  // A dashed line in the colour of `like`, without a legend entry when unnamed.
  void AddBound(const QString& name, const std::vector<QPointF>& points, const QLineSeries* like,
                Qt::PenStyle style);
  // Fits the axes to everything added since Begin.
  void Finish();

  // Draws a figure as every host draws it: its series in their colours and
  // strokes, its legend rows beside the data, its axes with their units and
  // its ticks; Home returns to its axes.
  void Show(const plot::Figure& figure);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Include(const std::vector<QPointF>& points);
  void ShowTicks();
  void SetTickIntervals();
  double StepThatFits(const QValueAxis& axis, double step) const;
  void KeyRows(const plot::Figure& figure);

  // For each scatter series of the chart, which of its points it draws.
  std::map<const QScatterSeries*, std::vector<std::size_t>> drawn_;
  QPointF panFrom_;
  bool panning_ = false;
  double xMin_ = 0.0, xMax_ = 0.0, yMin_ = 0.0, yMax_ = 0.0;
  bool empty_ = true;
  // The figure's own axes, which Home returns to; none for charts built
  // series by series.
  bool figureAxes_ = false;
  double xTick_ = 0.0, yTick_ = 0.0;
};

}  // namespace quorvane::workbench
