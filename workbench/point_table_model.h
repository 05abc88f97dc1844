#pragma once

#include <QAbstractTableModel>

#include "workbench/fit_session.h"

namespace quorvane::workbench {

// The session's points as a table: P with the check box that includes the
// point in the fit, V, T, the standard deviations (blank: not given) and the
// residual P_obs - P_calc of the last fit that took the point.
class PointTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { P, V, T, SigP, SigV, SigT, Residual, ColumnCount };

  explicit PointTableModel(FitSession& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A value the reader would refuse (a volume or a standard deviation that
  // is not positive, text that is no number) is refused here as well.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // After the session's points or its fit changed as a whole.
  void Reset();

 signals:
  // The user included, excluded or changed a point.
  void PointsEdited();

 private:
  FitSession& session_;
};

}  // namespace quorvane::workbench
