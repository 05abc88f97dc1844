#include "workbench/plot_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "app/axis_units.h"
#include "app/fit_ellipses.h"
#include "app/fit_figures.h"
#include "app/fit_report.h"
#include "app/fit_thermal_figures.h"
#include "app/input_error.h"
#include "models/model_catalogue.h"
#include "workbench/chart_view.h"

namespace quorvane::workbench {
namespace {

bool Converged(const FitSession& session) {
  return session.HasResult() && session.Result().converged;
}

QString Symbol(models::Parameter parameter) {
  return QString::fromUtf8(models::Info(parameter).symbol);
}

}  // namespace

PlotPanel::PlotPanel(const FitSession& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      tabs_(new QTabWidget(this)),
      isotherms_(new ChartView),
      residuals_(new ChartView),
      residualAxis_(new QComboBox),
      thermal_(new ChartView),
      strain_(new ChartView),
      ellipse_(new ChartView),
      first_(new QComboBox),
      second_(new QComboBox) {
  tabs_->setObjectName("plotTabs");
  auto* ellipsePage = new QWidget;
  auto* choices = new QHBoxLayout;
  auto* firstLabel = new QLabel(tr("&X:"));
  firstLabel->setBuddy(first_);
  auto* secondLabel = new QLabel(tr("&Y:"));
  secondLabel->setBuddy(second_);
  choices->addWidget(firstLabel);
  choices->addWidget(first_);
  choices->addWidget(secondLabel);
  choices->addWidget(second_);
  choices->addStretch();
  auto* ellipseLayout = new QVBoxLayout(ellipsePage);
  ellipseLayout->addLayout(choices);
  ellipseLayout->addWidget(ellipse_);
  auto* residualPage = new QWidget;
  auto* residualChoice = new QHBoxLayout;
  auto* againstLabel = new QLabel(tr("&Against:"));
  againstLabel->setBuddy(residualAxis_);
  residualAxis_->addItems({tr("P"), tr("V"), tr("T")});
  residualChoice->addWidget(againstLabel);
  residualChoice->addWidget(residualAxis_);
  residualChoice->addStretch();
  auto* residualLayout = new QVBoxLayout(residualPage);
  residualLayout->addLayout(residualChoice);
  residualLayout->addWidget(residuals_);
  tabs_->addTab(isotherms_, tr("Isother&ms"));
  tabs_->addTab(residualPage, tr("Resi&duals"));
  tabs_->addTab(thermal_, tr("T&hermal"));
  tabs_->addTab(strain_, tr("Strai&n F–f"));
  tabs_->addTab(ellipsePage, tr("E&llipse"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  const auto redraw = [this] { DrawEllipse(); };
  connect(first_, &QComboBox::currentIndexChanged, this, redraw);
  connect(second_, &QComboBox::currentIndexChanged, this, redraw);
  connect(residualAxis_, &QComboBox::currentIndexChanged, this, [this] { DrawResiduals(); });
  Redraw();
}

void PlotPanel::Redraw() {
  DrawIsotherms();
  DrawResiduals();
  DrawThermal();
  DrawStrain();
  FillEllipseChoices();
  DrawEllipse();
}

// Before a fit, the data alone; after it, the fit's own figures.
void PlotPanel::DrawIsotherms() {
  if (!Converged(session_)) return isotherms_->Show(app::DataFigure(session_.IncludedData()));
  const app::FitReport report = app::MakeFitReport(session_.FittedData(), session_.Result());
  isotherms_->Show(app::IsothermFigure(report));
}

void PlotPanel::DrawResiduals() {
  if (!Converged(session_)) {
    residuals_->Begin(tr("Residuals"), tr("P"), tr("ΔP / σ"));
    return residuals_->Finish();
  }
  const app::FitReport report = app::MakeFitReport(session_.FittedData(), session_.Result());
  const auto against = static_cast<app::ResidualAxis>(std::max(0, residualAxis_->currentIndex()));
  residuals_->Show(app::ResidualFigure(report, against));
}

void PlotPanel::DrawThermal() {
  if (!Converged(session_) || fit::IsIsothermal(session_.FittedData())) {
    thermal_->Begin(tr("The thermal part, for data at several temperatures"), tr("T (K)"),
                    QString());
    return thermal_->Finish();
  }
  const app::FitReport report = app::MakeFitReport(session_.FittedData(), session_.Result());
  thermal_->Show(app::ThermalFigure(report));
}

void PlotPanel::DrawStrain() {
  if (!Converged(session_)) {
    strain_->Begin(tr("Normalised pressure against Eulerian strain"), tr("f"), tr("F"));
    return strain_->Finish();
  }
  const app::FitReport report = app::MakeFitReport(session_.FittedData(), session_.Result());
  strain_->Show(report.strain ? app::StrainFigure(report) : app::ReducedStrainFigure(report));
}

void PlotPanel::FillEllipseChoices() {
  const QString firstWas = first_->currentText();
  const QString secondWas = second_->currentText();
  QSignalBlocker blockFirst(first_);
  QSignalBlocker blockSecond(second_);
  first_->clear();
  second_->clear();
  if (!Converged(session_)) return;
  for (models::Parameter parameter : session_.Result().refined) {
    first_->addItem(Symbol(parameter));
    second_->addItem(Symbol(parameter));
  }
  const int count = first_->count();
  first_->setCurrentIndex(std::max(0, first_->findText(firstWas)));
  const int second = second_->findText(secondWas);
  second_->setCurrentIndex(second >= 0 ? second : std::min(1, count - 1));
}

// The same figure as the command line's --ellipse and the page's: the
// region at the default level, the estimate with its 1-D esds as bars.
void PlotPanel::DrawEllipse() {
  const int i = first_->currentIndex();
  const int j = second_->currentIndex();
  const auto blank = [&] {
    ellipse_->Begin(tr("Confidence ellipse"), first_->currentText(), second_->currentText());
    ellipse_->Finish();
  };
  if (!Converged(session_) || i < 0 || j < 0 || i == j) return blank();
  const fit::FitResult& result = session_.Result();
  const auto ui = static_cast<std::size_t>(i);
  const auto uj = static_cast<std::size_t>(j);
  if (std::max(ui, uj) >= result.refined.size()) return blank();
  app::EllipseAsk ask;
  ask.first = result.refined[ui];
  ask.second = result.refined[uj];
  try {
    const std::vector<app::EllipseReport> reports = app::MakeEllipseReports(result, {ask});
    ellipse_->Show(
        app::EllipseFigure(reports.front(), app::AxisUnitsOf(session_.FittedData(), result.model)));
  } catch (const app::InputError&) {
    // A parameter held on a bound has no region to draw.
    blank();
  }
}

}  // namespace quorvane::workbench
