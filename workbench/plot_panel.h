#pragma once

#include <QWidget>

#include "workbench/fit_session.h"

class QComboBox;
class QTabWidget;

namespace quorvane::workbench {

class ChartView;

// The fit drawn four ways: the data with their error bars and the fitted
// isotherms, the residuals over their sigmas against P, F against f for
// isothermal data, and the joint confidence ellipse of two refined parameters.
class PlotPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PlotPanel(const FitSession& session, QWidget* parent = nullptr);

  // Redraws every plot from the session.
  void Redraw();

 private:
  void DrawIsotherms();
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
