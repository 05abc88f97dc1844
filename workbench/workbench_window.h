#pragma once

#include <QMainWindow>
#include <QString>
#include <string>
#include <vector>

#include "workbench/data_reader.h"
#include "workbench/fit_runner.h"
#include "workbench/fit_session.h"
#include "workbench/fit_setup.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace quorvane::workbench {

class ParameterTableModel;
class PlotPanel;
class PointTableModel;
class StatePointPanel;

// The workbench: the points of a data file, the model to fit, the fit run in
// the background, and its report, plots and parameter file.
class WorkbenchWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit WorkbenchWindow(QWidget* parent = nullptr);
  ~WorkbenchWindow() override;

  // Reads a data file in place of the open one, in the background; DataShown
  // tells when it is done. An unreadable file is named in a message box,
  // line and all, and the open data stay.
  void OpenFile(const QString& path);
  // Fits the included points with the chosen model in the background.
  void StartFit();
  void CancelFit();

  FitSession& Session() { return session_; }
  PointTableModel& Points() { return *points_; }
  FitRunner& Runner() { return runner_; }
  FitSetup& Setup() { return setup_; }
  ParameterTableModel& Parameters() { return *parameters_; }

 signals:
  // A file asked for is shown, or was refused.
  void DataShown(bool shown);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildModelPanel();
  void FillModelChoices();
  // The file's edges beside V; true where the edge chosen is not among them
  // and V is chosen in its place.
  bool FillEdgeChoices(const std::vector<std::string>& edges);
  void EdgeChosen();
  void ModelChosen();
  void UnitChosen();
  void UpdateUnitHint();
  void ShowData(const ReadOutcome& outcome);
  void ShowOutcome(const FitOutcome& outcome);
  void ShowRunning(bool running);
  void PointsEdited();
  void OpenChosen();
  void ExportReport();
  bool SaveParameters();
  // A save dialog whose file-name field has the focus; empty when cancelled.
  QString ChooseSavePath(const QString& title, const QString& filter, const QString& suffix);
  bool WriteFile(const QString& path, const std::string& bytes);
  bool HasFit() const;
  void UpdateTitle();
  void RestoreSettings();
  bool IsWindowShortcut(const QKeyEvent& key) const;
  void RememberDirectory(const QString& path);

  FitSession session_;
  FitSetup setup_;
  FitRunner runner_;
  DataReader reader_;
  QString path_;
  // The file last asked for, shown or not: choosing an edge reads it again.
  QString askedPath_;
  QString lastDirectory_;
  PointTableModel* points_;
  ParameterTableModel* parameters_;
  QTableView* pointView_;
  QTableView* parameterView_;
  QComboBox* fitted_;
  QComboBox* equation_;
  QComboBox* order_;
  QComboBox* thermal_;
  QComboBox* volumeUnit_;
  QSpinBox* z_;
  QLabel* unitHint_;
  QPushButton* fitButton_;
  QPushButton* cancelButton_;
  QProgressBar* busy_;
  QPlainTextEdit* results_;
  PlotPanel* plots_;
  StatePointPanel* statePoint_;
};

}  // namespace quorvane::workbench
