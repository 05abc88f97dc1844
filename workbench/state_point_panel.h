#pragma once

#include <QWidget>

#include "workbench/fit_session.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace quorvane::workbench {

// The fitted model at a state point the user types, in either direction:
// V from P and T, or P from V and T, with the standard deviation the fit's
// covariance implies, V/V0 and the thermodynamic properties the model
// defines, each with its sigma.
class StatePointPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatePointPanel(const FitSession& session, QWidget* parent = nullptr);

  // After a fit, or when the typed state changes.
  void Update();

 private:
  bool PressureKnown() const;
  void ShowProperties(const fit::FitResult& result, double V, double T);

  const FitSession& session_;
  QComboBox* direction_;
  QLabel* knownLabel_;
  QLineEdit* known_;
  QLineEdit* temperature_;
  QLabel* derivedLabel_;
  QLabel* derived_;
  QLabel* ratio_;
  QLabel* properties_;
};

}  // namespace quorvane::workbench
