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

// The fit drawn as the command line draws it, from the same figures: the data
// and the fitted isotherm of each temperature group with their bands, the
// residuals over their sigmas against P, V or T, the thermal part of data at
// several temperatures, F against f (of the data reduced to the reference
// isotherm where they have several temperatures), and the joint confidence
// ellipse of two refined parameters.
class PlotPanel : public QWidget {
  Q_OBJECT

 public:
  explicit PlotPanel(const FitSession& session, QWidget* parent = nullptr);

  // Redraws every plot from the session.
  void Redraw();

 private:
  void DrawIsotherms();
  void DrawResiduals();
  void DrawThermal();
  void DrawStrain();
  void DrawEllipse();
  void FillEllipseChoices();

  const FitSession& session_;
  QTabWidget* tabs_;
  ChartView* isotherms_;
  ChartView* residuals_;
  QComboBox* residualAxis_;
  ChartView* thermal_;
  ChartView* strain_;
  ChartView* ellipse_;
  QComboBox* first_;
  QComboBox* second_;
};

}  // namespace quorvane::workbench
