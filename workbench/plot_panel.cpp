#include "workbench/plot_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "app/fit_report.h"
#include "fit/confidence_band.h"
#include "fit/confidence_ellipse.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "params/confidence_band.h"
#include "workbench/chart_view.h"

namespace quorvane::workbench {
namespace {

constexpr int kCurveSamples = 120;
constexpr int kEllipseSamples = 180;
// More isotherms than this are drawn as points only.
constexpr std::size_t kMaxCurves = 12;

bool Converged(const FitSession& session) {
  return session.HasResult() && session.Result().converged;
}

QString Symbol(models::Parameter parameter) {
  return QString::fromUtf8(models::Info(parameter).symbol);
}

// The effective sigma of P a point has, or 0 where the data gave none.
double PointSigma(const fit::Observation& point, const fit::FitResult* result, std::size_t index) {
  if (result && index < result->residuals.size() && result->weighted) {
    return result->residuals[index].sigma;
  }
  return point.sigP;
}

}  // namespace

PlotPanel::PlotPanel(const FitSession& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      tabs_(new QTabWidget(this)),
      isotherms_(new ChartView),
      residuals_(new ChartView),
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
  tabs_->addTab(isotherms_, tr("Isother&ms"));
  tabs_->addTab(residuals_, tr("Resi&duals"));
  tabs_->addTab(strain_, tr("Strai&n F–f"));
  tabs_->addTab(ellipsePage, tr("E&llipse"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  const auto redraw = [this] { DrawEllipse(); };
  connect(first_, &QComboBox::currentIndexChanged, this, redraw);
  connect(second_, &QComboBox::currentIndexChanged, this, redraw);
  Redraw();
}

void PlotPanel::Redraw() {
  DrawIsotherms();
  DrawResiduals();
  DrawStrain();
  FillEllipseChoices();
  DrawEllipse();
}

void PlotPanel::DrawIsotherms() {
  isotherms_->Begin(tr("Data and fitted isotherms"), tr("V"), tr("P"));
  const bool converged = Converged(session_);
  const fit::FitData shown = converged ? session_.FittedData() : session_.IncludedData();
  const fit::FitResult* result = converged ? &session_.Result() : nullptr;
  std::vector<QPointF> points;
  std::vector<double> sigma;
  std::map<double, std::pair<double, double>> volumesAt;
  for (std::size_t i = 0; i < shown.points.size(); ++i) {
    const fit::Observation& point = shown.points[i];
    points.push_back({point.V, point.P});
    sigma.push_back(PointSigma(point, result, i));
    auto [entry, added] = volumesAt.try_emplace(point.T, point.V, point.V);
    entry->second.first = std::min(entry->second.first, point.V);
    entry->second.second = std::max(entry->second.second, point.V);
  }
  isotherms_->AddErrorBars(isotherms_->AddPoints(tr("data"), points), sigma);
  if (result && volumesAt.size() <= kMaxCurves) {
    for (const auto& [T, range] : volumesAt) {
      std::vector<QPointF> curve;
      for (int k = 0; k <= kCurveSamples; ++k) {
        const double V = range.first + (range.second - range.first) * k / kCurveSamples;
        curve.push_back({V, models::Pressure(result->model, V, T)});
      }
      DrawBands(*result, shown, curve, T, isotherms_->AddLine(tr("fit, T = %1").arg(T), curve));
    }
  }
  isotherms_->Finish();
}

// The 68.3 % bands around one fitted isotherm, offset in V at the curve's
// pressures: the confidence band where the curve itself lies, the prediction
// band where a new measurement would.
void PlotPanel::DrawBands(const fit::FitResult& result, const fit::FitData& fitted,
                          const std::vector<QPointF>& curve, double T,
                          const QLineSeries* fittedLine) {
  if (result.dof <= 0) return;
  const params::ParameterCovariance covariance{result.refined,
                                               fit::ConfidenceCovarianceOf(result).matrix};
  const double z = params::TwoSidedNormalQuantile(fit::kDefaultConfidenceLevel);
  const double scatter = fit::PredictionScatter(fitted, result, T);
  std::vector<QPointF> bound[4];
  for (const QPointF& point : curve) {
    const params::BandHalfWidths half =
        params::VolumeBandHalfWidths(result.model, covariance, point.x(), T, z, scatter);
    const double offsets[4] = {-half.confidence, half.confidence, -half.prediction,
                               half.prediction};
    for (int k = 0; k < 4; ++k) bound[k].push_back({point.x() + offsets[k], point.y()});
  }
  const QString names[4] = {tr("confidence band (curve), T = %1").arg(T), QString(),
                            tr("prediction band (new point), T = %1").arg(T), QString()};
  for (int k = 0; k < 4; ++k) {
    isotherms_->AddBound(names[k], bound[k], fittedLine, k < 2 ? Qt::DashLine : Qt::DotLine);
  }
}

void PlotPanel::DrawResiduals() {
  residuals_->Begin(tr("Residuals"), tr("P"), tr("ΔP / σ"));
  if (Converged(session_)) {
    std::vector<QPointF> points;
    for (const fit::PointResidual& r : session_.Result().residuals) {
      points.push_back({r.Pobs, r.sigma > 0.0 ? r.dP / r.sigma : r.dP});
    }
    residuals_->AddPoints(tr("P obs − calc over σ"), points);
  }
  residuals_->Finish();
}

void PlotPanel::DrawStrain() {
  strain_->Begin(tr("Normalised pressure against Eulerian strain"), tr("f"), tr("F"));
  if (Converged(session_)) {
    const cli::FitReport report = cli::MakeFitReport(session_.FittedData(), session_.Result());
    if (report.strain && !report.strain->empty()) {
      std::vector<QPointF> points;
      std::vector<double> sigma;
      double fMin = report.strain->front().f, fMax = fMin;
      for (const fit::StrainPoint& s : *report.strain) {
        points.push_back({s.f, s.F});
        sigma.push_back(s.sigF);
        fMin = std::min(fMin, s.f);
        fMax = std::max(fMax, s.f);
      }
      strain_->AddErrorBars(strain_->AddPoints(tr("data"), points), sigma);
      const fit::StrainLine& line = report.strainLine;
      if (line.points >= 2) {
        strain_->AddLine(tr("weighted line"), {{fMin, line.intercept + line.slope * fMin},
                                               {fMax, line.intercept + line.slope * fMax}});
      }
    }
  }
  strain_->Finish();
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

void PlotPanel::DrawEllipse() {
  const int i = first_->currentIndex();
  const int j = second_->currentIndex();
  ellipse_->Begin(tr("68.3 % joint confidence region"), first_->currentText(),
                  second_->currentText());
  if (!Converged(session_) || i < 0 || j < 0 || i == j) return ellipse_->Finish();
  const fit::FitResult& result = session_.Result();
  const auto ui = static_cast<std::size_t>(i);
  const auto uj = static_cast<std::size_t>(j);
  if (std::max(ui, uj) >= result.refined.size()) return ellipse_->Finish();
  const double cx = result.model[result.refined[ui]];
  const double cy = result.model[result.refined[uj]];
  std::vector<QPointF> outline;
  try {
    const fit::ConfidenceEllipse ellipse =
        fit::FitEllipse(result, result.refined[ui], result.refined[uj]);
    for (const auto& [x, y] : fit::EllipseOutline(ellipse, kEllipseSamples))
      outline.push_back({x, y});
    outline.push_back(outline.front());
    ellipse_->AddLine(tr("Δχ² = %1").arg(ellipse.deltaChi2, 0, 'g', 4), outline);
  } catch (const fit::FitError&) {
    // A parameter held on a bound has no region to draw.
  }
  ellipse_->AddPoints(tr("fitted values"), {{cx, cy}});
  ellipse_->Finish();
}

}  // namespace quorvane::workbench
