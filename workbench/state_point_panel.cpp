#include "workbench/state_point_panel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::workbench {
namespace {

constexpr int kShownDigits = 10;

QLabel* ResultLabel() {
  auto* label = new QLabel;
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return label;
}

}  // namespace

StatePointPanel::StatePointPanel(const FitSession& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      pressure_(new QLineEdit("0")),
      temperature_(new QLineEdit),
      volume_(ResultLabel()),
      ratio_(ResultLabel()),
      modulus_(ResultLabel()) {
  auto* form = new QFormLayout(this);
  form->addRow(tr("Press&ure P:"), pressure_);
  form->addRow(tr("Te&mperature T:"), temperature_);
  form->addRow(tr("V ± σV:"), volume_);
  form->addRow(tr("V / V0:"), ratio_);
  form->addRow(tr("K_T:"), modulus_);
  connect(pressure_, &QLineEdit::textChanged, this, &StatePointPanel::Update);
  connect(temperature_, &QLineEdit::textChanged, this, &StatePointPanel::Update);
  Update();
}

void StatePointPanel::Update() {
  volume_->clear();
  ratio_->clear();
  modulus_->clear();
  if (!session_.HasResult() || !session_.Result().converged) {
    volume_->setText(tr("no fitted model yet"));
    return;
  }
  const fit::FitResult& result = session_.Result();
  if (temperature_->text().trimmed().isEmpty()) {
    temperature_->setPlaceholderText(
        QString::number(result.model[models::Parameter::Tref], 'g', kShownDigits));
  }
  bool pOk = false, tOk = false;
  const double P = pressure_->text().toDouble(&pOk);
  const QString tText = temperature_->text().trimmed();
  const double T = tText.isEmpty() ? result.model[models::Parameter::Tref] : tText.toDouble(&tOk);
  if (!pOk || (!tText.isEmpty() && !tOk)) {
    volume_->setText(tr("type P and T as numbers"));
    return;
  }
  const auto solution = models::VolumeFromPressure(result.model, P, T);
  if (!solution.converged) {
    volume_->setText(tr("the model reaches no volume at this P and T"));
    return;
  }
  const double V = solution.V;
  const params::ParameterCovariance covariance{
      result.refined, result.dof > 0 ? result.ScaledCovariance() : result.covariance};
  const double sigV = params::VolumeUncertainty(result.model, covariance, V, T);
  volume_->setText(QString("%1 ± %2").arg(V, 0, 'g', kShownDigits).arg(sigV, 0, 'g', 4));
  ratio_->setText(QString::number(V / result.model[models::Parameter::V0], 'g', kShownDigits));
  modulus_->setText(QString::number(models::BulkModulus(result.model, V, T), 'g', kShownDigits));
}

}  // namespace quorvane::workbench
