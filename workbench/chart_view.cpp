#include "workbench/chart_view.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QXYSeries>
#include <algorithm>
#include <cmath>

#include "plot/figure_axes.h"
#include "workbench/marker_thinning.h"

namespace quorvane::workbench {
namespace {

// Past this many, error bars would hide the points and slow every redraw.
constexpr std::size_t kMaxErrorBars = 2000;
constexpr double kZoomStep = 1.25;
constexpr int kPanStep = 20;
// A margin around the data so that no point sits on an axis.
constexpr double kMargin = 0.05;
constexpr qreal kMarkerSize = 7.0;
// Before the first layout the plot takes about this much of the view's width.
constexpr double kPlotShareOfWidth = 0.6;
// Ticks lie at least a label's width and a gap of a fifth of it apart.
constexpr double kLabelRoom = 1.2;

// Error bars are no series of the chart's own kind: an item in the chart's
// scene that maps its points through the chart whenever it is drawn.
class ErrorBars : public QGraphicsItem {
 public:
  ErrorBars(QChart* chart, QScatterSeries* series, std::vector<double> ySigma,
            std::vector<double> xSigma)
      : QGraphicsItem(chart),
        chart_(chart),
        series_(series),
        ySigma_(std::move(ySigma)),
        xSigma_(std::move(xSigma)) {
    setZValue(chart->zValue() + 1);
  }
  QRectF boundingRect() const override { return chart_->plotArea(); }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    painter->setClipRect(chart_->plotArea());
    painter->setPen(QPen(series_->color(), 1.0));
    const QList<QPointF> points = series_->points();
    const std::size_t count = std::min<std::size_t>(points.size(), kMaxErrorBars);
    for (std::size_t i = 0; i < count; ++i) {
      const QPointF p = points[static_cast<qsizetype>(i)];
      const double y = i < ySigma_.size() ? ySigma_[i] : 0.0;
      const double x = i < xSigma_.size() ? xSigma_[i] : 0.0;
      if (y > 0.0) Bar(painter, {p.x(), p.y() - y}, {p.x(), p.y() + y});
      if (x > 0.0) Bar(painter, {p.x() - x, p.y()}, {p.x() + x, p.y()});
    }
  }

 private:
  void Bar(QPainter* painter, QPointF from, QPointF to) const {
    painter->drawLine(chart_->mapToPosition(from, series_), chart_->mapToPosition(to, series_));
  }

  QChart* chart_;
  QScatterSeries* series_;
  std::vector<double> ySigma_;
  std::vector<double> xSigma_;
};

// Decimals enough to tell ticks a step apart.
int DecimalsOf(double step) {
  return std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
}

void SetTicks(QValueAxis* axis, double step) {
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  axis->setTickInterval(step);
  axis->setLabelFormat(QString("%.%1f").arg(DecimalsOf(step)));
}

QColor ColourOf(plot::Colour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

Qt::PenStyle PenStyleOf(plot::Series::Stroke stroke) {
  switch (stroke) {
    case plot::Series::Stroke::Dashed:
      return Qt::DashLine;
    case plot::Series::Stroke::Dotted:
      return Qt::DotLine;
    case plot::Series::Stroke::Solid:
      break;
  }
  return Qt::SolidLine;
}

// The series' points that have values, with their error bars; Qt Charts
// draws nothing sensible of the others.
struct FinitePoints {
  std::vector<QPointF> points;
  std::vector<double> yError;
  std::vector<double> xError;
};

FinitePoints PointsOf(const plot::Series& series) {
  FinitePoints finite;
  for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
    if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
    finite.points.push_back({series.x[i], series.y[i]});
    finite.yError.push_back(i < series.yError.size() ? series.yError[i] : 0.0);
    finite.xError.push_back(i < series.xError.size() ? series.xError[i] : 0.0);
  }
  return finite;
}

// The legend row each series carries, if any: the figure's rows go to the
// first series that matches them, markers by colour, lines by their text.
// Rows of lines alone in a figure's own legend are keys of their own (KeyRows).
std::vector<QString> LegendNames(const plot::Figure& figure) {
  std::vector<QString> names(figure.series.size());
  for (const plot::LegendEntry& entry : plot::LegendOf(figure)) {
    if (!entry.marker && !figure.legend.empty()) continue;
    for (std::size_t i = 0; i < figure.series.size(); ++i) {
      const plot::Series& series = figure.series[i];
      const int place = series.colour >= 0 ? series.colour : static_cast<int>(i);
      const bool match = entry.marker ? !series.line && place == entry.colour
                                      : series.line && series.label == entry.text;
      if (!match || !names[i].isEmpty()) continue;
      names[i] = QString::fromStdString(entry.text);
      break;
    }
  }
  return names;
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QChartView(new QChart, parent) {
  setRenderHint(QPainter::Antialiasing);
  setRubberBand(QChartView::RectangleRubberBand);
  setFocusPolicy(Qt::StrongFocus);
  // Beside the data, never over it.
  chart()->legend()->setAlignment(Qt::AlignRight);
}

void ChartView::Begin(const QString& title, const QString& x, const QString& y) {
  QChart* c = chart();
  c->removeAllSeries();
  for (QGraphicsItem* item : c->childItems()) {
    if (dynamic_cast<ErrorBars*>(item)) delete item;
  }
  for (QAbstractAxis* axis : c->axes()) {
    c->removeAxis(axis);
    delete axis;
  }
  drawn_.clear();
  c->setTitle(title);
  figureAxes_ = false;
  auto* xAxis = new QValueAxis;
  xAxis->setTitleText(x);
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText(y);
  c->addAxis(xAxis, Qt::AlignBottom);
  c->addAxis(yAxis, Qt::AlignLeft);
  connect(xAxis, &QValueAxis::rangeChanged, c, [c] { c->update(); });
  connect(yAxis, &QValueAxis::rangeChanged, c, [c] { c->update(); });
  empty_ = true;
}

void ChartView::Include(const std::vector<QPointF>& points) {
  for (const QPointF& p : points) {
    if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
    if (empty_) {
      xMin_ = xMax_ = p.x();
      yMin_ = yMax_ = p.y();
      empty_ = false;
    }
    xMin_ = std::min(xMin_, p.x());
    xMax_ = std::max(xMax_, p.x());
    yMin_ = std::min(yMin_, p.y());
    yMax_ = std::max(yMax_, p.y());
  }
}

QScatterSeries* ChartView::AddPoints(const QString& name, const std::vector<QPointF>& points) {
  auto* series = new QScatterSeries;
  std::vector<std::size_t> drawn = MarkersToDraw(points);
  series->setName(drawn.size() == points.size()
                      ? name
                      : tr("%1 (%2 of %3 drawn)").arg(name).arg(drawn.size()).arg(points.size()));
  series->setMarkerSize(kMarkerSize);
  QList<QPointF> markers;
  markers.reserve(static_cast<qsizetype>(drawn.size()));
  for (std::size_t i : drawn) markers.append(points[i]);
  series->append(markers);
  drawn_[series] = std::move(drawn);
  chart()->addSeries(series);
  for (QAbstractAxis* axis : chart()->axes()) series->attachAxis(axis);
  connect(series, &QScatterSeries::hovered, this, [this](const QPointF& p, bool state) {
    if (!state) return QToolTip::hideText();
    QToolTip::showText(QCursor::pos(),
                       QString("%1, %2").arg(p.x(), 0, 'g', 8).arg(p.y(), 0, 'g', 8), this);
  });
  Include(points);
  return series;
}

// sigma holds one value per point given to AddPoints; the bars go on the
// markers drawn.
void ChartView::AddErrorBars(QScatterSeries* series, const std::vector<double>& ySigma,
                             const std::vector<double>& xSigma) {
  const std::vector<std::size_t>& drawn = drawn_[series];
  std::vector<double> drawnY, drawnX;
  drawnY.reserve(drawn.size());
  for (std::size_t i : drawn) {
    drawnY.push_back(i < ySigma.size() ? ySigma[i] : 0.0);
    drawnX.push_back(i < xSigma.size() ? xSigma[i] : 0.0);
  }
  std::vector<QPointF> ends;
  const QList<QPointF> points = series->points();
  for (qsizetype i = 0; i < points.size() && static_cast<std::size_t>(i) < drawnY.size(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    ends.push_back({points[i].x() - drawnX[k], points[i].y() - drawnY[k]});
    ends.push_back({points[i].x() + drawnX[k], points[i].y() + drawnY[k]});
  }
  new ErrorBars(chart(), series, std::move(drawnY), std::move(drawnX));
  Include(ends);
}

QLineSeries* ChartView::AddLine(const QString& name, const std::vector<QPointF>& points) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->append(QList<QPointF>(points.begin(), points.end()));
  chart()->addSeries(series);
  for (QAbstractAxis* axis : chart()->axes()) series->attachAxis(axis);
  Include(points);
  return series;
}

void ChartView::AddBound(const QString& name, const std::vector<QPointF>& points,
                         const QLineSeries* like, Qt::PenStyle style) {
  QLineSeries* series = AddLine(name, points);
  QPen pen = series->pen();
  pen.setColor(like->color());
  pen.setStyle(style);
  series->setPen(pen);
  if (name.isEmpty()) {
    for (QLegendMarker* marker : chart()->legend()->markers(series)) marker->setVisible(false);
  }
}

void ChartView::Finish() {
  if (empty_) return;
  const double dx = std::max(xMax_ - xMin_, std::abs(xMax_) * 1e-9 + 1e-12) * kMargin;
  const double dy = std::max(yMax_ - yMin_, std::abs(yMax_) * 1e-9 + 1e-12) * kMargin;
  const QList<QAbstractAxis*> x = chart()->axes(Qt::Horizontal);
  const QList<QAbstractAxis*> y = chart()->axes(Qt::Vertical);
  if (!x.isEmpty()) x.first()->setRange(xMin_ - dx, xMax_ + dx);
  if (!y.isEmpty()) y.first()->setRange(yMin_ - dy, yMax_ + dy);
}

void ChartView::Show(const plot::Figure& figure) {
  Begin(QString::fromStdString(figure.title),
        QString::fromStdString(plot::AxisLabel(figure.xLabel, figure.xUnit)),
        QString::fromStdString(plot::AxisLabel(figure.yLabel, figure.yUnit)));
  const std::vector<QString> names = LegendNames(figure);
  for (std::size_t i = 0; i < figure.series.size(); ++i) {
    const plot::Series& series = figure.series[i];
    const QColor colour = ColourOf(plot::ColourOf(figure, series, i));
    QXYSeries* drawn = nullptr;
    const FinitePoints finite = PointsOf(series);
    if (series.line) {
      QLineSeries* line = AddLine(names[i], finite.points);
      QPen pen(colour, series.stroke == plot::Series::Stroke::Solid ? 2.0 : 1.4);
      pen.setStyle(PenStyleOf(series.stroke));
      line->setPen(pen);
      drawn = line;
    } else {
      QScatterSeries* points = AddPoints(names[i], finite.points);
      points->setColor(colour);
      points->setBorderColor(colour.darker(140));
      if (!series.yError.empty() || !series.xError.empty()) {
        AddErrorBars(points, finite.yError, finite.xError);
      }
      drawn = points;
    }
    if (names[i].isEmpty()) {
      for (QLegendMarker* marker : chart()->legend()->markers(drawn)) marker->setVisible(false);
    }
  }
  KeyRows(figure);
  const plot::FigureAxes axes = plot::AxesOf(figure);
  xMin_ = axes.x.low;
  xMax_ = axes.x.high;
  yMin_ = axes.y.low;
  yMax_ = axes.y.high;
  xTick_ = axes.x.step;
  yTick_ = axes.y.step;
  figureAxes_ = !empty_;
  ShowTicks();
}

// A figure's legend rows of lines alone (the bands of every temperature)
// stand for many series: each is an empty line of its own, after the rest,
// as the figure lists them.
void ChartView::KeyRows(const plot::Figure& figure) {
  if (figure.legend.empty()) return;
  for (const plot::LegendEntry& entry : figure.legend) {
    if (entry.marker) continue;
    QLineSeries* key = AddLine(QString::fromStdString(entry.text), {});
    QPen pen(ColourOf(plot::ColourAt(figure, entry.colour)), 1.4);
    pen.setStyle(PenStyleOf(entry.stroke));
    key->setPen(pen);
  }
}

// Ticks at the figure's round values, wherever zoom and pan take the axes.
void ChartView::ShowTicks() {
  const QList<QAbstractAxis*> x = chart()->axes(Qt::Horizontal);
  const QList<QAbstractAxis*> y = chart()->axes(Qt::Vertical);
  if (x.isEmpty() || y.isEmpty()) return;
  SetTickIntervals();
  x.first()->setRange(xMin_, xMax_);
  y.first()->setRange(yMin_, yMax_);
}

void ChartView::SetTickIntervals() {
  const QList<QAbstractAxis*> x = chart()->axes(Qt::Horizontal);
  const QList<QAbstractAxis*> y = chart()->axes(Qt::Vertical);
  if (x.isEmpty() || y.isEmpty()) return;
  auto* xAxis = qobject_cast<QValueAxis*>(x.first());
  auto* yAxis = qobject_cast<QValueAxis*>(y.first());
  if (xAxis) SetTicks(xAxis, StepThatFits(*xAxis, xTick_));
  if (yAxis) SetTicks(yAxis, yTick_);
}

// Labels wider than the room between two ticks are cut to "163..."; the
// x axis then labels every second, fifth or tenth round value.
double ChartView::StepThatFits(const QValueAxis& axis, double step) const {
  const double plotWidth = chart()->plotArea().width();
  const double room = plotWidth > 0.0 ? plotWidth : width() * kPlotShareOfWidth;
  const QFontMetricsF metrics(axis.labelsFont());
  for (const double factor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}) {
    const double candidate = step * factor;
    const int decimals = DecimalsOf(candidate);
    const double label = std::max(metrics.horizontalAdvance(QString::number(xMin_, 'f', decimals)),
                                  metrics.horizontalAdvance(QString::number(xMax_, 'f', decimals)));
    const double spacing = room * candidate / (xMax_ - xMin_);
    if (spacing >= label * kLabelRoom) return candidate;
  }
  return step * 100.0;
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  if (figureAxes_) SetTickIntervals();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      chart()->zoom(kZoomStep);
      return;
    case Qt::Key_Minus:
      chart()->zoom(1.0 / kZoomStep);
      return;
    case Qt::Key_Left:
      chart()->scroll(-kPanStep, 0);
      return;
    case Qt::Key_Right:
      chart()->scroll(kPanStep, 0);
      return;
    case Qt::Key_Up:
      chart()->scroll(0, kPanStep);
      return;
    case Qt::Key_Down:
      chart()->scroll(0, -kPanStep);
      return;
    case Qt::Key_Home:
      if (figureAxes_) return ShowTicks();
      Finish();
      return;
    default:
      QChartView::keyPressEvent(event);
  }
}

void ChartView::wheelEvent(QWheelEvent* event) {
  chart()->zoom(event->angleDelta().y() > 0 ? kZoomStep : 1.0 / kZoomStep);
  event->accept();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) return QChartView::mousePressEvent(event);
  panning_ = true;
  panFrom_ = event->position();
  event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
  if (!panning_) return QChartView::mouseMoveEvent(event);
  const QPointF delta = event->position() - panFrom_;
  chart()->scroll(-delta.x(), delta.y());
  panFrom_ = event->position();
  event->accept();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton || !panning_) return QChartView::mouseReleaseEvent(event);
  panning_ = false;
  event->accept();
}

}  // namespace quorvane::workbench
