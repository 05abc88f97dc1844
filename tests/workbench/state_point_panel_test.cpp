#include "workbench/state_point_panel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "models/thermodynamic_properties.h"

namespace quorvane::workbench {
namespace {

fit::FitResult FittedMgO() {
  fit::FitResult result;
  result.model =
      models::DefaultModel(models::Equation::BirchMurnaghan, 3, models::Thermal::MieGruneisenDebye,
                           models::Arithmetic::Textbook);
  result.model[models::Parameter::V0] = 11.248;
  result.model[models::Parameter::K0] = 160.2;
  result.model[models::Parameter::Kp0] = 3.99;
  result.model[models::Parameter::Tref] = 300.0;
  result.model[models::Parameter::theta0] = 773.0;
  result.model[models::Parameter::natoms] = 2.0;
  models::ApplyImpliedCoefficients(result.model);
  result.refined = {models::Parameter::K0};
  result.covariance = {{4.0}};
  result.converged = true;
  return result;
}

// The label whose text the form shows beside the named row label.
QString Field(const StatePointPanel& panel, const QString& label) {
  for (const QLabel* candidate : panel.findChildren<QLabel*>()) {
    if (candidate->text() != label) continue;
    const auto* layout = panel.layout();
    for (int i = 0; i + 1 < layout->count(); ++i) {
      if (layout->itemAt(i)->widget() == candidate) {
        return static_cast<QLabel*>(layout->itemAt(i + 1)->widget())->text();
      }
    }
  }
  return {};
}

// Either direction gives the same state point: P from V and T, then V from
// that P, with the properties of the model there.
TEST(StatePointPanel, WorksInEitherDirection) {
  FitSession session;
  session.SetResult({}, {}, FittedMgO());
  StatePointPanel panel(session);
  const models::Model& model = session.Result().model;
  auto edits = panel.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  panel.findChild<QComboBox*>()->setCurrentIndex(1);
  edits[0]->setText("9.5");
  edits[1]->setText("2000");
  const double P = models::Pressure(model, 9.5, 2000.0);
  EXPECT_TRUE(Field(panel, "P ± σP:").startsWith(QString::number(P, 'g', 10) + " ± "));
  const double KS = models::PropertiesAt(model, 9.5, 2000.0).KS;
  EXPECT_TRUE(Field(panel, "Properties:").contains("KS = " + QString::number(KS, 'g', 10)));

  panel.findChild<QComboBox*>()->setCurrentIndex(0);
  edits[0]->setText(QString::number(P, 'g', 17));
  const double V = models::VolumeFromPressure(model, P, 2000.0).V;
  EXPECT_NEAR(V, 9.5, 1e-12);
  EXPECT_TRUE(Field(panel, "V ± σV:").startsWith(QString::number(V, 'g', 10) + " ± "));
  EXPECT_TRUE(Field(panel, "Properties:").contains("CV = "));
}

}  // namespace
}  // namespace quorvane::workbench
