#pragma once

#include <QPointF>
#include <QWidget>
#include <vector>

#include "workbench/fit_session.h"

class QComboBox;
class QLineSeries;
class QTabWidget;

namespace quorvane::workbench {

class ChartView;

// The fit drawn four ways: the data with their error bars and the fitted
// isotherms with their confidence and prediction bands, the residuals over their sigmas against P,
// F against f for isothermal data, and the joint confidence ellipse of two refined parameters.
class PlotPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PlotPanel(const FitSession& session, QWidget* parent = nullptr);

  // Redraws every plot from the session.
  void Redraw();

 private:
  void DrawIsotherms();
  void DrawBands(const fit::FitResult& result, const fit::FitData& fitted,
                 const std::vector<QPointF>& curve, double T, const QLineSeries* fittedLine);
  void DrawResiduals();
  void DrawStrain();
  void DrawEllipse();
  void FillEllipseChoices();

  const FitSession& session_;
  QTabWidget* tabs_;
  ChartView* isotherms_;
  ChartView* residuals_;
  ChartView* strain_;
  ChartView* ellipse_;
  QComboBox* first_;
  QComboBox* second_;
};

}  // namespace quorvane::workbench
