#pragma once

#include <QAbstractTableModel>
#include <set>
#include <vector>

#include "models/model.h"
#include "workbench/fit_session.h"
#include "workbench/fit_setup.h"

namespace quorvane::workbench {

// The parameters of the chosen model: the value (the fitted one after a fit
// of this model, else the start, V0 and K0 as the fit reads them off the
// data), whether the fit refines it, and after a fit its esd unscaled and
// scaled, in the order of the fit report. Parameters the equation and order imply are
// listed greyed and cannot be changed.
class ParameterTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { Name, Value, Refine, Esd, EsdScaled, ColumnCount };

  ParameterTableModel(FitSetup& setup, const FitSession& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // After the setup's model, the session's points or its fit changed.
  void Reset();
  // After a fit: its values replace the starts typed before it.
  void ShowFit();
  const models::Model& Start() const { return start_; }

 signals:
  // A value the fit command's rules refuse; the setup keeps the old one.
  void Refused(const QString& message);
  void SetupEdited();

 private:
  models::Parameter ParameterAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  bool Implied(models::Parameter parameter) const;
  bool Refined(models::Parameter parameter) const;
  // The index of the parameter among the fit's refined ones, or -1.
  int FittedIndex(models::Parameter parameter) const;
  // The value the Value column shows.
  double Shown(models::Parameter parameter) const;
  bool SetValue(models::Parameter parameter, const QString& text);
  void SetRefined(models::Parameter parameter, bool refined);

  FitSetup& setup_;
  const FitSession& session_;
  models::Model start_;
  std::vector<models::Parameter> rows_;
  std::vector<models::Parameter> refined_;
  std::set<models::Parameter> editedSinceFit_;
};

}  // namespace quorvane::workbench
