#pragma once

#include <QWidget>

#include "workbench/fit_session.h"

class QLabel;
class QLineEdit;

namespace quorvane::workbench {

// The fitted model at a state point the user types: V, V/V0 and K_T at P and
// T, with the standard deviation of V the fit's covariance implies.
class StatePointPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatePointPanel(const FitSession& session, QWidget* parent = nullptr);

  // After a fit, or when the typed state changes.
  void Update();

 private:
  const FitSession& session_;
  QLineEdit* pressure_;
  QLineEdit* temperature_;
  QLabel* volume_;
  QLabel* ratio_;
  QLabel* modulus_;
};

}  // namespace quorvane::workbench
