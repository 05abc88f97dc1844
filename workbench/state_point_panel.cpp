#include "workbench/state_point_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <cmath>

#include "app/property_columns.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::workbench {
namespace {

constexpr int kShownDigits = 10;
constexpr int kSigmaDigits = 4;

QLabel* ResultLabel() {
  auto* label = new QLabel;
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return label;
}

QString WithSigma(double value, double sigma) {
  return QString("%1 ± %2").arg(value, 0, 'g', kShownDigits).arg(sigma, 0, 'g', kSigmaDigits);
}

params::ParameterCovariance CovarianceOf(const fit::FitResult& result) {
  return {result.refined, result.dof > 0 ? result.ScaledCovariance() : result.covariance};
}

}  // namespace

StatePointPanel::StatePointPanel(const FitSession& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      direction_(new QComboBox),
      knownLabel_(new QLabel),
      known_(new QLineEdit("0")),
      temperature_(new QLineEdit),
      derivedLabel_(new QLabel),
      derived_(ResultLabel()),
      ratio_(ResultLabel()),
      properties_(ResultLabel()) {
  direction_->addItems({tr("P, T → V"), tr("V, T → P")});
  knownLabel_->setBuddy(known_);
  auto* form = new QFormLayout(this);
  form->addRow(tr("&Direction:"), direction_);
  form->addRow(knownLabel_, known_);
  form->addRow(tr("Te&mperature T:"), temperature_);
  form->addRow(derivedLabel_, derived_);
  form->addRow(tr("V / V0:"), ratio_);
  form->addRow(tr("Properties:"), properties_);
  connect(direction_, &QComboBox::currentIndexChanged, this, &StatePointPanel::Update);
  connect(known_, &QLineEdit::textChanged, this, &StatePointPanel::Update);
  connect(temperature_, &QLineEdit::textChanged, this, &StatePointPanel::Update);
  Update();
}

bool StatePointPanel::PressureKnown() const {
  return direction_->currentIndex() == 0;
}

void StatePointPanel::Update() {
  knownLabel_->setText(PressureKnown() ? tr("Press&ure P:") : tr("Vol&ume V:"));
  derivedLabel_->setText(PressureKnown() ? tr("V ± σV:") : tr("P ± σP:"));
  derived_->clear();
  ratio_->clear();
  properties_->clear();
  if (!session_.HasResult() || !session_.Result().converged) {
    derived_->setText(tr("no fitted model yet"));
    return;
  }
  const fit::FitResult& result = session_.Result();
  if (temperature_->text().trimmed().isEmpty()) {
    temperature_->setPlaceholderText(
        QString::number(result.model[models::Parameter::Tref], 'g', kShownDigits));
  }
  bool knownOk = false, tOk = false;
  const double known = known_->text().toDouble(&knownOk);
  const QString tText = temperature_->text().trimmed();
  const double T = tText.isEmpty() ? result.model[models::Parameter::Tref] : tText.toDouble(&tOk);
  if (!knownOk || (!tText.isEmpty() && !tOk)) {
    derived_->setText(PressureKnown() ? tr("type P and T as numbers")
                                      : tr("type V and T as numbers"));
    return;
  }
  const params::ParameterCovariance covariance = CovarianceOf(result);
  double V = known;
  if (PressureKnown()) {
    const auto solution = models::VolumeFromPressure(result.model, known, T);
    if (!solution.converged) {
      derived_->setText(tr("the model reaches no volume at this P and T"));
      return;
    }
    V = solution.V;
    derived_->setText(WithSigma(V, params::VolumeUncertainty(result.model, covariance, V, T)));
  } else {
    const double P = models::Pressure(result.model, V, T);
    if (!std::isfinite(P)) {
      derived_->setText(tr("the model has no pressure at this V and T"));
      return;
    }
    derived_->setText(WithSigma(P, params::PressureUncertainty(result.model, covariance, V, T)));
  }
  ratio_->setText(QString::number(V / result.model[models::Parameter::V0], 'g', kShownDigits));
  ShowProperties(result, V, T);
}

// The columns of quorvane-eos --properties, computed by the same function.
void StatePointPanel::ShowProperties(const fit::FitResult& result, double V, double T) {
  const app::PropertyRequest request{true, std::nullopt, std::nullopt};
  const app::PropertySet set = app::PropertiesOf(result.model, request, true);
  const params::ParameterCovariance covariance = CovarianceOf(result);
  std::array<double, 2 * app::kPropertyCount> values{};
  app::ComputeProperties(result.model, request, &covariance, set, V, T, PressureKnown(),
                         {values.data(), static_cast<std::size_t>(set.ValueCount())});
  QStringList lines;
  for (int i = 0; i < set.count; ++i) {
    lines << QString("%1 = %2").arg(set.Name(i), WithSigma(values[i], values[set.count + i]));
  }
  properties_->setText(lines.join('\n'));
}

}  // namespace quorvane::workbench
