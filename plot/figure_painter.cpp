#include "plot/figure_painter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/axis_ticks.h"

namespace quorvane::plot {
namespace {

constexpr double kLeft = 96.0;
constexpr double kRight = 24.0;
constexpr double kTop = 48.0;
constexpr double kBottom = 64.0;
constexpr double kMarkerRadius = 4.0;
constexpr int kTickCount = 8;
constexpr double kFontPixels = 15.0;
constexpr double kRangeMargin = 0.04;

// Colour-blind-safe colours, one per series in order.
const QColor kPalette[] = {QColor(0, 114, 178),   QColor(213, 94, 0),   QColor(0, 158, 115),
                           QColor(204, 121, 167), QColor(86, 180, 233), QColor(230, 159, 0)};

QColor ColourOf(const Series& series, std::size_t index) {
  const std::size_t place = series.colour >= 0 ? static_cast<std::size_t>(series.colour) : index;
  return kPalette[place % std::size(kPalette)];
}

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
};

// The axes take in every point, and every error bar up to kLongestErrorBar
// times the spread of the points: one point near zero strain, whose F is
// known to no digit, must not squash the others into a line. Longer bars run
// off the frame.
constexpr double kLongestErrorBar = 10.0;

void Ranges(const Figure& figure, Range& x, Range& y) {
  for (const Series& series : figure.series) {
    for (std::size_t i = 0; i < series.x.size(); ++i) {
      x.Add(series.x[i]);
      y.Add(series.y[i]);
    }
  }
  if (figure.zeroLine) y.Add(0.0);
  const double spread = y.high > y.low ? y.high - y.low : std::fabs(y.high);
  for (const Series& series : figure.series) {
    for (std::size_t i = 0; i < series.yError.size() && i < series.y.size(); ++i) {
      const double e = series.yError[i];
      if (!(e <= kLongestErrorBar * spread) && spread > 0.0) continue;
      y.Add(series.y[i] - e);
      y.Add(series.y[i] + e);
    }
    for (std::size_t i = 0; i < series.xError.size() && i < series.x.size(); ++i) {
      x.Add(series.x[i] - series.xError[i]);
      x.Add(series.x[i] + series.xError[i]);
    }
  }
  if (!(x.low <= x.high)) x.low = x.high = 0.0;
  if (!(y.low <= y.high)) y.low = y.high = 0.0;
  // A margin, so no marker sits on the frame.
  for (Range* range : {&x, &y}) {
    const double margin = kRangeMargin * (range->high - range->low);
    range->low -= margin;
    range->high += margin;
  }
}

QString TickText(double value, double step) {
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
  if (std::fabs(value) >= 1e6 || (value != 0.0 && std::fabs(value) < 1e-4)) {
    return QString::number(value, 'g', 4);
  }
  return QString::number(value, 'f', decimals);
}

QPen LinePen(const Series& series, const QColor& colour) {
  switch (series.stroke) {
    case Series::Stroke::Dashed:
      return QPen(colour, 1.4, Qt::DashLine);
    case Series::Stroke::Dotted:
      return QPen(colour, 1.6, Qt::DotLine);
    case Series::Stroke::Solid:
      break;
  }
  return QPen(colour, 2.0);
}

class Canvas {
 public:
  Canvas(QPainter& painter, QSize size, const AxisTicks& x, const AxisTicks& y)
      : painter_(painter),
        area_(kLeft, kTop, size.width() - kLeft - kRight, size.height() - kTop - kBottom),
        x_(x),
        y_(y) {}

  QPointF At(double x, double y) const {
    return {area_.left() + (x - x_.low) / (x_.high - x_.low) * area_.width(),
            area_.bottom() - (y - y_.low) / (y_.high - y_.low) * area_.height()};
  }

  void Axes(const Figure& figure) {
    const QFontMetricsF metrics(painter_.font());
    painter_.setPen(QPen(QColor(225, 225, 225), 1.0));
    for (double v : x_.values) painter_.drawLine(At(v, y_.low), At(v, y_.high));
    for (double v : y_.values) painter_.drawLine(At(x_.low, v), At(x_.high, v));
    if (figure.zeroLine) {
      painter_.setPen(QPen(QColor(90, 90, 90), 1.2, Qt::DashLine));
      painter_.drawLine(At(x_.low, 0.0), At(x_.high, 0.0));
    }
    painter_.setPen(QPen(Qt::black, 1.2));
    painter_.drawRect(area_);
    for (double v : x_.values) {
      const QPointF p = At(v, y_.low);
      painter_.drawLine(p, p - QPointF(0, 6));
      const QString text = TickText(v, x_.step);
      painter_.drawText(
          QPointF(p.x() - metrics.horizontalAdvance(text) / 2, p.y() + 6 + metrics.ascent()), text);
    }
    for (double v : y_.values) {
      const QPointF p = At(x_.low, v);
      painter_.drawLine(p, p + QPointF(6, 0));
      const QString text = TickText(v, y_.step);
      painter_.drawText(
          QPointF(p.x() - 8 - metrics.horizontalAdvance(text), p.y() + metrics.ascent() / 2 - 1),
          text);
    }
    Labels(figure, metrics);
  }

  void Draw(const Series& series, const QColor& colour) {
    if (series.line) {
      QPolygonF line;
      for (std::size_t i = 0; i < series.x.size(); ++i) {
        if (std::isfinite(series.x[i]) && std::isfinite(series.y[i])) {
          line << At(series.x[i], series.y[i]);
        }
      }
      painter_.setPen(LinePen(series, colour));
      painter_.drawPolyline(line);
      return;
    }
    painter_.setPen(QPen(colour, 1.3));
    for (std::size_t i = 0; i < series.x.size(); ++i) {
      if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
      const double ex = i < series.xError.size() ? series.xError[i] : 0.0;
      if (ex > 0.0) {
        const QPointF left = At(series.x[i] - ex, series.y[i]);
        const QPointF right = At(series.x[i] + ex, series.y[i]);
        painter_.drawLine(left, right);
        painter_.drawLine(left - QPointF(0, 3), left + QPointF(0, 3));
        painter_.drawLine(right - QPointF(0, 3), right + QPointF(0, 3));
      }
      const double e = i < series.yError.size() ? series.yError[i] : 0.0;
      if (e > 0.0) {
        const QPointF top = At(series.x[i], series.y[i] + e);
        const QPointF bottom = At(series.x[i], series.y[i] - e);
        painter_.drawLine(top, bottom);
        painter_.drawLine(top - QPointF(3, 0), top + QPointF(3, 0));
        painter_.drawLine(bottom - QPointF(3, 0), bottom + QPointF(3, 0));
      }
    }
    painter_.setBrush(colour.lighter(130));
    painter_.setPen(QPen(colour.darker(120), 1.2));
    for (std::size_t i = 0; i < series.x.size(); ++i) {
      if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
      painter_.drawEllipse(At(series.x[i], series.y[i]), kMarkerRadius, kMarkerRadius);
    }
    painter_.setBrush(Qt::NoBrush);
  }

  void Legend(const Figure& figure) {
    const QFontMetricsF metrics(painter_.font());
    double width = 0.0;
    int rows = 0;
    for (const Series& series : figure.series) {
      if (series.label.empty()) continue;
      width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(series.label)));
      ++rows;
    }
    if (rows == 0) return;
    const double rowHeight = metrics.height() + 4;
    const QRectF box = LegendBox(figure, QSizeF(width + 46, rows * rowHeight + 10));
    painter_.setPen(QPen(QColor(160, 160, 160), 1.0));
    painter_.setBrush(QColor(255, 255, 255, 230));
    painter_.drawRect(box);
    painter_.setBrush(Qt::NoBrush);
    double y = box.top() + 5 + rowHeight / 2;
    for (std::size_t i = 0; i < figure.series.size(); ++i) {
      const Series& series = figure.series[i];
      if (series.label.empty()) continue;
      const QColor colour = ColourOf(series, i);
      const QPointF key(box.left() + 18, y);
      if (series.line) {
        painter_.setPen(LinePen(series, colour));
        painter_.drawLine(key - QPointF(10, 0), key + QPointF(10, 0));
      } else {
        painter_.setPen(QPen(colour.darker(120), 1.2));
        painter_.setBrush(colour.lighter(130));
        painter_.drawEllipse(key, kMarkerRadius, kMarkerRadius);
        painter_.setBrush(Qt::NoBrush);
      }
      painter_.setPen(Qt::black);
      painter_.drawText(QPointF(box.left() + 36, y + metrics.ascent() / 2 - 1),
                        QString::fromStdString(series.label));
      y += rowHeight;
    }
  }

  const QRectF& Area() const { return area_; }

 private:
  // The corner of the frame whose legend would cover the fewest points.
  QRectF LegendBox(const Figure& figure, QSizeF size) const {
    const double inset = 10.0;
    const QPointF corners[] = {
        {area_.right() - size.width() - inset, area_.top() + inset},
        {area_.left() + inset, area_.top() + inset},
        {area_.right() - size.width() - inset, area_.bottom() - size.height() - inset},
        {area_.left() + inset, area_.bottom() - size.height() - inset}};
    QRectF best(corners[0], size);
    int fewest = std::numeric_limits<int>::max();
    for (const QPointF& corner : corners) {
      const QRectF box(corner, size);
      int covered = 0;
      for (const Series& series : figure.series) {
        for (std::size_t i = 0; i < series.x.size(); ++i) {
          const double e = i < series.yError.size() ? series.yError[i] : 0.0;
          const QPointF top = At(series.x[i], series.y[i] + e);
          const QPointF bottom = At(series.x[i], series.y[i] - e);
          // The marker, or any part of its error bar, under the box.
          const QRectF span(top.x() - 1, top.y(), 2, bottom.y() - top.y());
          if (box.adjusted(-8, -8, 8, 8).intersects(span.adjusted(0, -1, 0, 1))) ++covered;
        }
      }
      if (covered < fewest) {
        fewest = covered;
        best = box;
      }
    }
    return best;
  }

  void Labels(const Figure& figure, const QFontMetricsF& metrics) {
    const QString xLabel = QString::fromStdString(figure.xLabel);
    painter_.drawText(QPointF(area_.center().x() - metrics.horizontalAdvance(xLabel) / 2,
                              area_.bottom() + 2 * metrics.height() + 14),
                      xLabel);
    const QString yLabel = QString::fromStdString(figure.yLabel);
    painter_.save();
    painter_.translate(kLeft - 70, area_.center().y() + metrics.horizontalAdvance(yLabel) / 2);
    painter_.rotate(-90);
    painter_.drawText(QPointF(0, 0), yLabel);
    painter_.restore();
    QFont bold = painter_.font();
    bold.setBold(true);
    painter_.save();
    painter_.setFont(bold);
    const QFontMetricsF boldMetrics(bold);
    const QString title = QString::fromStdString(figure.title);
    painter_.drawText(
        QPointF(area_.center().x() - boldMetrics.horizontalAdvance(title) / 2, kTop - 16), title);
    painter_.restore();
  }

  QPainter& painter_;
  QRectF area_;
  AxisTicks x_;
  AxisTicks y_;
};

}  // namespace

void PaintFigure(QPainter& painter, QSize size, const Figure& figure) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(kFontPixels));
  painter.setFont(font);
  Range x, y;
  Ranges(figure, x, y);
  Canvas canvas(painter, size, NiceTicks(x.low, x.high, kTickCount),
                NiceTicks(y.low, y.high, kTickCount));
  canvas.Axes(figure);
  painter.save();
  painter.setClipRect(canvas.Area());
  for (std::size_t i = 0; i < figure.series.size(); ++i) {
    canvas.Draw(figure.series[i], ColourOf(figure.series[i], i));
  }
  painter.restore();
  canvas.Legend(figure);
}

}  // namespace quorvane::plot
