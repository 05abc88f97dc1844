#include "workbench/workbench_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "files/atomic_file.h"
#include "fit/fit_diagnosis.h"
#include "models/model_catalogue.h"
#include "workbench/parameter_table_model.h"
#include "workbench/plot_panel.h"
#include "workbench/point_table_model.h"
#include "workbench/state_point_panel.h"

namespace quorvane::workbench {
namespace {

constexpr const char* kTitle = "Quorvane Workbench";
constexpr const char* kGeometryKey = "window/geometry";
constexpr const char* kStateKey = "window/state";
constexpr const char* kDirectoryKey = "files/lastDirectory";
constexpr const char* kDataFilter = "Data (*.csv *.tsv *.txt);;All files (*)";
constexpr int kStatusMillis = 5000;
// The first split of the window's width, at 100 % scale.
constexpr int kPointsWidth = 420;
constexpr int kModelWidth = 470;
constexpr int kResultsWidth = 700;
// Without a size remembered, the window takes this much of the screen's
// room in each direction.
constexpr double kFirstShare = 0.8;
constexpr int kLargestZ = 999;

models::Equation EquationAt(int index) {
  return static_cast<models::Equation>(index);
}

models::Thermal ThermalAt(int index) {
  return static_cast<models::Thermal>(index);
}

QString FailureText(const FitOutcome& outcome) {
  if (!outcome.error.empty()) {
    return QObject::tr("No fit can be made of these points with this model:\n%1")
        .arg(QString::fromStdString(outcome.error));
  }
  return QObject::tr(
             "The fit did not converge, so it gives no results:\n%1\n\nTry other starting "
             "values, fewer refined parameters or a lower order.")
      .arg(QString::fromStdString(outcome.result->failure));
}

// Qt's own dialog behaves alike on every desktop and without one, and the
// file name field takes the keys first: a typed path and Enter are enough.
// Its completer completes in the field: a pop-up list, opening while keys
// arrive, would take some of a path typed quickly or pasted key by key.
void PrepareFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  QTimer::singleShot(0, &dialog, [&dialog] {
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (!name) return;
    if (name->completer()) name->completer()->setCompletionMode(QCompleter::InlineCompletion);
    name->setFocus();
  });
}

// A warning whose text Ctrl+C copies, as a message box does on Windows: a
// reader's message names the line to look at, worth pasting elsewhere.
void Warn(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  auto* copy = new QShortcut(QKeySequence::Copy, &box);
  QObject::connect(copy, &QShortcut::activated, &box,
                   [&box] { QGuiApplication::clipboard()->setText(box.text()); });
  box.exec();
}

QTableView* MakeTable(QAbstractItemModel* model) {
  auto* view = new QTableView;
  view->setModel(model);
  view->setTabKeyNavigation(false);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
  return view;
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(QWidget* parent)
    : QMainWindow(parent),
      points_(new PointTableModel(session_, this)),
      parameters_(new ParameterTableModel(setup_, session_, this)),
      pointView_(MakeTable(points_)),
      parameterView_(MakeTable(parameters_)),
      fitted_(new QComboBox),
      equation_(new QComboBox),
      order_(new QComboBox),
      thermal_(new QComboBox),
      volumeUnit_(new QComboBox),
      z_(new QSpinBox),
      unitHint_(new QLabel),
      fitButton_(new QPushButton(tr("Fit"))),
      cancelButton_(new QPushButton(tr("Cancel"))),
      busy_(new QProgressBar),
      results_(new QPlainTextEdit),
      plots_(new PlotPanel(session_)),
      statePoint_(new StatePointPanel(session_)) {
  results_->setObjectName("results");
  results_->setReadOnly(true);
  results_->setLineWrapMode(QPlainTextEdit::NoWrap);
  results_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  results_->setPlaceholderText(tr("Open a data file (Ctrl+O) and fit it (Ctrl+R)."));

  auto* tabs = new QTabWidget;
  tabs->setObjectName("resultTabs");
  tabs->addTab(results_, tr("&Results"));
  tabs->addTab(plots_, tr("&Plots"));
  tabs->addTab(statePoint_, tr("S&tate point"));

  auto* splitter = new QSplitter;
  splitter->addWidget(pointView_);
  splitter->addWidget(BuildModelPanel());
  splitter->addWidget(tabs);
  splitter->setStretchFactor(2, 1);
  splitter->setSizes({kPointsWidth, kModelWidth, kResultsWidth});
  setCentralWidget(splitter);
  // Left to right, top to bottom, as the panels are laid out.
  QWidget* const chain[] = {pointView_, fitted_,       equation_, order_,
                            thermal_,   volumeUnit_,   z_,        parameterView_,
                            fitButton_, cancelButton_, tabs};
  for (std::size_t i = 0; i + 1 < std::size(chain); ++i) {
    setTabOrder(chain[i], chain[i + 1]);
  }
  setAcceptDrops(true);

  BuildMenus();
  connect(points_, &PointTableModel::PointsEdited, this, &WorkbenchWindow::PointsEdited);
  connect(parameters_, &ParameterTableModel::Refused, this,
          [this](const QString& message) { Warn(this, tr("Value refused"), message); });
  connect(parameters_, &ParameterTableModel::SetupEdited, this,
          [this] { statusBar()->showMessage(tr("Model changed: Ctrl+R refits"), kStatusMillis); });
  connect(&runner_, &FitRunner::Finished, this, &WorkbenchWindow::ShowOutcome);
  connect(&runner_, &FitRunner::RunningChanged, this, &WorkbenchWindow::ShowRunning);
  connect(&reader_, &DataReader::Finished, this, &WorkbenchWindow::ShowData);
  // The menus' keys reach the window whichever field has the focus.
  qApp->installEventFilter(this);
  ShowRunning(false);
  UpdateUnitHint();
  RestoreSettings();
  UpdateTitle();
}

// The views ask their models for data as they are hidden, and the models read
// the session: the views go while the session is still there.
WorkbenchWindow::~WorkbenchWindow() {
  delete takeCentralWidget();
}

QWidget* WorkbenchWindow::BuildModelPanel() {
  auto* panel = new QWidget;
  auto* form = new QFormLayout;
  form->addRow(tr("Fit (V or a &cell edge):"), fitted_);
  form->addRow(tr("&Equation:"), equation_);
  fitted_->setObjectName("fitted");
  fitted_->setToolTip(
      tr("A cell edge of the data file in place of V: its cube goes through the equation, "
         "and the report adds the edge's L0, M0 = 3K0 and M'0 = 3K'0"));
  FillEdgeChoices({});
  connect(fitted_, &QComboBox::activated, this, &WorkbenchWindow::EdgeChosen);
  form->addRow(tr("&Order:"), order_);
  form->addRow(tr("T&hermal model:"), thermal_);
  form->addRow(tr("Volume u&nit:"), volumeUnit_);
  form->addRow(tr("&Z (formula units per cell):"), z_);
  volumeUnit_->addItem(tr("cm³/mol"));
  volumeUnit_->addItem(tr("Å³ per unit cell"));
  volumeUnit_->setToolTip(
      tr("The unit of V for the Einstein and Mie-Grüneisen-Debye thermal "
         "pressures; the other models take V in the data's own unit"));
  z_->setRange(1, kLargestZ);
  z_->setEnabled(false);
  connect(volumeUnit_, &QComboBox::activated, this, &WorkbenchWindow::UnitChosen);
  connect(z_, &QSpinBox::valueChanged, this, &WorkbenchWindow::UnitChosen);
  unitHint_->setObjectName("unitHint");
  volumeUnit_->setObjectName("volumeUnit");
  z_->setObjectName("formulaUnits");
  thermal_->setObjectName("thermal");
  unitHint_->setWordWrap(true);
  unitHint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (int i = 0; i < models::kEquationCount; ++i) {
    equation_->addItem(QString::fromUtf8(models::Info(EquationAt(i)).title));
  }
  for (int i = 0; i < models::kThermalCount; ++i) {
    thermal_->addItem(QString::fromUtf8(models::Info(ThermalAt(i)).title));
  }
  FillModelChoices();
  for (QComboBox* box : {equation_, order_, thermal_}) {
    connect(box, &QComboBox::activated, this, &WorkbenchWindow::ModelChosen);
  }
  fitButton_->setToolTip(tr("Fit the checked points (Ctrl+R)"));
  cancelButton_->setToolTip(tr("Forget the running fit (Esc)"));
  busy_->setRange(0, 0);
  busy_->setTextVisible(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(fitButton_);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(busy_, 1);
  connect(fitButton_, &QPushButton::clicked, this, &WorkbenchWindow::StartFit);
  connect(cancelButton_, &QPushButton::clicked, this, &WorkbenchWindow::CancelFit);
  auto* layout = new QVBoxLayout(panel);
  layout->addLayout(form);
  layout->addWidget(unitHint_);
  auto* label = new QLabel(tr("P&arameters:"));
  label->setBuddy(parameterView_);
  layout->addWidget(label);
  layout->addWidget(parameterView_, 1);
  layout->addLayout(buttons);
  return panel;
}

void WorkbenchWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Open…"), QKeySequence::Open, this, &WorkbenchWindow::OpenChosen);
  file->addAction(tr("&Export report…"), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                  &WorkbenchWindow::ExportReport);
  file->addAction(tr("&Save parameters…"), QKeySequence::Save, this, [this] { SaveParameters(); });
  file->addSeparator();
  file->addAction(tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
  QMenu* fit = menuBar()->addMenu(tr("F&it"));
  fit->addAction(tr("&Fit"), QKeySequence(Qt::CTRL | Qt::Key_R), this, &WorkbenchWindow::StartFit);
  fit->addAction(tr("&Cancel fit"), QKeySequence(Qt::Key_Escape), this,
                 &WorkbenchWindow::CancelFit);
  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addAction(tr("&Points"), QKeySequence(Qt::CTRL | Qt::Key_1), this,
                  [this] { pointView_->setFocus(); });
  view->addAction(tr("&Model"), QKeySequence(Qt::CTRL | Qt::Key_2), this,
                  [this] { equation_->setFocus(); });
  view->addAction(tr("Para&meters"), QKeySequence(Qt::CTRL | Qt::Key_3), this,
                  [this] { parameterView_->setFocus(); });
  view->addAction(tr("&Results"), QKeySequence(Qt::CTRL | Qt::Key_4), this,
                  [this] { results_->setFocus(); });
}

void WorkbenchWindow::FillModelChoices() {
  QSignalBlocker blockOrder(order_);
  equation_->setCurrentIndex(static_cast<int>(setup_.equation));
  thermal_->setCurrentIndex(static_cast<int>(setup_.thermal));
  order_->clear();
  const unsigned orders = models::Info(setup_.equation).orders;
  for (int order = 0; order < 8; ++order) {
    if (orders & (1u << order)) order_->addItem(QString::number(order), order);
  }
  order_->setCurrentIndex(order_->findData(setup_.order));
}

bool WorkbenchWindow::FillEdgeChoices(const std::vector<std::string>& edges) {
  fitted_->clear();
  fitted_->addItem(tr("V (the volume)"), QString());
  for (const std::string& edge : edges) {
    const QString name = QString::fromStdString(edge);
    fitted_->addItem(tr("%1 (a cell edge: its cube as V)").arg(name), name);
  }
  const int chosen = fitted_->findData(QString::fromStdString(setup_.axis));
  fitted_->setCurrentIndex(std::max(chosen, 0));
  if (chosen >= 0) return false;
  setup_.axis.clear();
  return true;
}

void WorkbenchWindow::EdgeChosen() {
  const std::string axis = fitted_->currentData().toString().toStdString();
  if (axis == setup_.axis) return;
  setup_.axis = axis;
  if (!askedPath_.isEmpty()) OpenFile(askedPath_);
}

void WorkbenchWindow::ModelChosen() {
  const int order = order_->currentData().isValid() ? order_->currentData().toInt() : setup_.order;
  ChooseModel(setup_, EquationAt(equation_->currentIndex()), order,
              ThermalAt(thermal_->currentIndex()));
  FillModelChoices();
  try {
    parameters_->Reset();
  } catch (const std::exception& error) {
    Warn(this, tr("Model refused"), QString::fromStdString(error.what()));
  }
  UpdateUnitHint();
  statusBar()->showMessage(tr("Model changed: Ctrl+R refits"), kStatusMillis);
}

void WorkbenchWindow::UnitChosen() {
  setup_.volumeUnit = volumeUnit_->currentIndex() == 1
                          ? models::VolumeUnit::CubicAngstromsPerCell
                          : models::VolumeUnit::CubicCentimetresPerMole;
  setup_.Z = z_->value();
  z_->setEnabled(setup_.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell);
  try {
    parameters_->Reset();
  } catch (const std::exception& error) {
    Warn(this, tr("Model refused"), QString::fromStdString(error.what()));
  }
  UpdateUnitHint();
  statusBar()->showMessage(tr("Model changed: Ctrl+R refits"), kStatusMillis);
}

// Judged on the V0 shown: the fitted one, else the start the data give.
void WorkbenchWindow::UpdateUnitHint() {
  const models::Model& start = parameters_->Start();
  const bool fitted = HasFit() && session_.Result().model.thermal == start.thermal;
  models::Model shown = start;
  if (fitted) shown[models::Parameter::V0] = session_.Result().model[models::Parameter::V0];
  const std::string hint = fit::VolumeUnitHint(shown);
  unitHint_->setText(hint.empty() ? QString() : tr("Hint: %1.").arg(QString::fromStdString(hint)));
  unitHint_->setVisible(!hint.empty());
}

void WorkbenchWindow::OpenFile(const QString& path) {
  askedPath_ = path;
  reader_.Start(path, RequestFor(setup_).start[models::Parameter::Tref], setup_.axis);
  busy_->setVisible(true);
  statusBar()->showMessage(tr("Reading %1…").arg(QFileInfo(path).fileName()));
}

void WorkbenchWindow::ShowData(const ReadOutcome& outcome) {
  busy_->setVisible(runner_.Running());
  // An edge this file does not have: its V is read instead.
  if (FillEdgeChoices(outcome.edges) && !outcome.data) {
    OpenFile(outcome.path);
    return;
  }
  if (!outcome.data) {
    statusBar()->clearMessage();
    QString message = QString::fromStdString(outcome.error);
    if (setup_.axis.empty() && !outcome.edges.empty()) {
      message += tr("\n\nTo fit a cell edge of this file in place of V, choose it under Fit.");
    }
    Warn(this, tr("Cannot open the data"), message);
    emit DataShown(false);
    return;
  }
  runner_.Cancel();
  session_.SetData(std::move(*outcome.data));
  path_ = outcome.path;
  RememberDirectory(path_);
  ForgetDataStarts(setup_);
  points_->Reset();
  parameters_->Reset();
  const int count = static_cast<int>(session_.Size());
  results_->setPlainText(tr("%n point(s) read from %1.\nCtrl+R fits them.", nullptr, count)
                             .arg(QFileInfo(path_).fileName()));
  plots_->Redraw();
  statePoint_->Update();
  UpdateUnitHint();
  setWindowModified(false);
  UpdateTitle();
  statusBar()->showMessage(tr("%n point(s) read: Ctrl+R fits them", nullptr, count), kStatusMillis);
  emit DataShown(true);
}

void WorkbenchWindow::OpenChosen() {
  QFileDialog dialog(this, tr("Open data"), lastDirectory_, tr(kDataFilter));
  PrepareFileDialog(dialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenFile(dialog.selectedFiles().first());
}

void WorkbenchWindow::StartFit() {
  if (session_.Size() == 0) {
    statusBar()->showMessage(tr("Open a data file first (Ctrl+O)"), kStatusMillis);
    return;
  }
  if (RefinesNothing(setup_)) {
    results_->setPlainText(
        tr("No parameter is ticked to refine, so there is nothing to fit: tick Refine for at "
           "least one parameter."));
    statusBar()->showMessage(tr("Nothing to refine: no fit"), kStatusMillis);
    return;
  }
  fit::FitRequest request;
  try {
    request = RequestFor(setup_);
  } catch (const std::exception& error) {
    Warn(this, tr("Model refused"), QString::fromStdString(error.what()));
    return;
  }
  runner_.Start(session_.IncludedData(), session_.IncludedRows(), std::move(request));
}

void WorkbenchWindow::CancelFit() {
  if (!runner_.Running()) return;
  runner_.Cancel();
  statusBar()->showMessage(tr("Fit cancelled: its result will be dropped"), kStatusMillis);
}

void WorkbenchWindow::ShowRunning(bool running) {
  busy_->setVisible(running);
  cancelButton_->setEnabled(running);
  fitButton_->setEnabled(!running);
  if (running) statusBar()->showMessage(tr("Fitting…"));
}

// A fit that failed leaves nothing of an earlier one on show: no esds,
// residuals, curves or state point.
void WorkbenchWindow::ShowOutcome(const FitOutcome& outcome) {
  if (outcome.result) {
    session_.SetResult(outcome.data, outcome.includedRows, *outcome.result);
  } else {
    session_.ClearResult();
  }
  points_->Reset();
  parameters_->ShowFit();
  plots_->Redraw();
  statePoint_->Update();
  UpdateUnitHint();
  if (!HasFit()) {
    results_->setPlainText(FailureText(outcome));
    statusBar()->showMessage(outcome.result ? tr("The fit did not converge") : tr("No fit"),
                             kStatusMillis);
    return;
  }
  results_->setPlainText(QString::fromStdString(outcome.report));
  setWindowModified(true);
  statusBar()->showMessage(tr("Fitted: χ²w %1, %2 degrees of freedom")
                               .arg(outcome.result->chi2w, 0, 'g', 6)
                               .arg(outcome.result->dof),
                           kStatusMillis);
}

void WorkbenchWindow::PointsEdited() {
  try {
    parameters_->Reset();
  } catch (const std::exception&) {
    // The setup was accepted when it was made; the data do not change it.
  }
  setWindowModified(true);
  statusBar()->showMessage(tr("Points changed: Ctrl+R refits"), kStatusMillis);
}

bool WorkbenchWindow::HasFit() const {
  return session_.HasResult() && session_.Result().converged;
}

QString WorkbenchWindow::ChooseSavePath(const QString& title, const QString& filter,
                                        const QString& suffix) {
  QFileDialog dialog(this, title, lastDirectory_, filter);
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().first();
  RememberDirectory(path);
  return path;
}

bool WorkbenchWindow::WriteFile(const QString& path, const std::string& bytes) {
  const files::WriteResult written =
      files::WriteFileAtomically(path.toStdString(), bytes, path_.toStdString());
  if (written.Written()) return true;
  Warn(this, tr("Not saved"), QString::fromStdString(written.message));
  return false;
}

void WorkbenchWindow::ExportReport() {
  if (!HasFit()) {
    QMessageBox::information(this, tr("Export report"), tr("Fit the data first (Ctrl+R)."));
    return;
  }
  const QString path =
      ChooseSavePath(tr("Export report"), tr("JSON (*.json);;All files (*)"), "json");
  if (path.isEmpty()) return;
  if (WriteFile(path, session_.ReportJson())) {
    statusBar()->showMessage(tr("Report written to %1").arg(path), kStatusMillis);
  }
}

bool WorkbenchWindow::SaveParameters() {
  if (!HasFit()) {
    QMessageBox::information(this, tr("Save parameters"), tr("Fit the data first (Ctrl+R)."));
    return false;
  }
  const QString path =
      ChooseSavePath(tr("Save parameters"), tr("Parameter files (*.json);;All files (*)"), "json");
  if (path.isEmpty() || !WriteFile(path, session_.ParameterFileText())) return false;
  setWindowModified(false);
  statusBar()->showMessage(tr("Parameters written to %1").arg(path), kStatusMillis);
  return true;
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  if (isWindowModified()) {
    const auto answer = QMessageBox::question(
        this, tr("Unsaved work"), tr("The fit or the points have changed since they were saved."),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !SaveParameters())) {
      event->ignore();
      return;
    }
  }
  runner_.Cancel();
  QSettings settings;
  settings.setValue(kGeometryKey, saveGeometry());
  settings.setValue(kStateKey, saveState());
  settings.setValue(kDirectoryKey, lastDirectory_);
  event->accept();
}

void WorkbenchWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().first().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void WorkbenchWindow::dropEvent(QDropEvent* event) {
  OpenFile(event->mimeData()->urls().first().toLocalFile());
  event->acceptProposedAction();
}

void WorkbenchWindow::UpdateTitle() {
  if (path_.isEmpty()) {
    setWindowTitle(tr(kTitle));
    return;
  }
  setWindowTitle(QString("%1 - %2[*]").arg(tr(kTitle), QFileInfo(path_).fileName()));
}

void WorkbenchWindow::RestoreSettings() {
  QSettings settings;
  if (!restoreGeometry(settings.value(kGeometryKey).toByteArray())) {
    const QRect room = screen()->availableGeometry();
    resize(room.size() * kFirstShare);
    move(room.center() - rect().center());
  }
  restoreState(settings.value(kStateKey).toByteArray());
  lastDirectory_ = settings.value(kDirectoryKey).toString();
}

bool WorkbenchWindow::IsWindowShortcut(const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  for (const QAction* action : menuBar()->findChildren<QAction*>()) {
    if (action->shortcut() == pressed && pressed[0].keyboardModifiers() != Qt::NoModifier) {
      return true;
    }
  }
  return false;
}

// A text field takes some keys the menus use (Ctrl+E moves to the line's end
// in a line edit): the menus have them here, wherever the focus is.
bool WorkbenchWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return QMainWindow::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  if (!IsWindowShortcut(*static_cast<QKeyEvent*>(event))) return false;
  event->ignore();
  return true;
}

void WorkbenchWindow::RememberDirectory(const QString& path) {
  lastDirectory_ = QFileInfo(path).absolutePath();
}

}  // namespace quorvane::workbench
