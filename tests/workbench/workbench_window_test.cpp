#include "workbench/workbench_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>

#include "models/model_catalogue.h"
#include "workbench/parameter_table_model.h"
#include "workbench/point_table_model.h"
#include "workbench/state_point_panel.h"

namespace quorvane::workbench {
namespace {

using models::Parameter;

// A 3rd-order Birch-Murnaghan isotherm at 298 K (K0 160, K'0 4.5) with a
// deterministic scatter, its V0 that of MgO in A^3 per cell or in cm^3/mol.
fit::FitData Isotherm(int count, double V0) {
  fit::FitData data;
  data.source = "isotherm";
  for (int i = 0; i < count; ++i) {
    const double V = V0 * (1.0 - 0.15 * i / count);
    const double x = std::pow(V0 / V, 2.0 / 3.0);
    const double P =
        1.5 * 160.0 * (std::pow(x, 3.5) - std::pow(x, 2.5)) * (1.0 + 0.75 * 0.5 * (x - 1.0));
    data.points.push_back({P + 0.01 * std::sin(i), V, 298.0, 0.01, 0.0, 0.0});
  }
  return data;
}

std::string WriteCsv(const QTemporaryDir& folder, const char* name, const fit::FitData& data) {
  const std::string path = folder.filePath(name).toStdString();
  std::ofstream out(path);
  out.precision(17);
  out << "P,V,T,sigP\n";
  for (const fit::Observation& p : data.points) {
    out << p.P << ',' << p.V << ',' << p.T << ',' << p.sigP << '\n';
  }
  return path;
}

// Runs the event loop until the fit started, if any, has been shown.
void Fit(WorkbenchWindow& window) {
  QEventLoop loop;
  QObject::connect(&window.Runner(), &FitRunner::Finished, &loop, &QEventLoop::quit,
                   Qt::QueuedConnection);
  window.StartFit();
  if (window.Runner().Running()) loop.exec();
}

bool Open(WorkbenchWindow& window, const std::string& path) {
  bool shown = false;
  QEventLoop loop;
  QObject::connect(&window, &WorkbenchWindow::DataShown, &loop, [&](bool opened) {
    shown = opened;
    loop.quit();
  });
  window.OpenFile(QString::fromStdString(path));
  loop.exec();
  return shown;
}

int RowOf(const ParameterTableModel& model, Parameter parameter) {
  const QString symbol = QString::fromUtf8(models::Info(parameter).symbol);
  for (int row = 0; row < model.rowCount(); ++row) {
    if (model.data(model.index(row, ParameterTableModel::Name), Qt::DisplayRole) == symbol) {
      return row;
    }
  }
  return -1;
}

QString Cell(const QAbstractItemModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

// A value with its standard deviation, "74.1 ± 0.02", not a row's title.
bool StateShowsVolume(WorkbenchWindow& window) {
  for (const QLabel* label : window.findChild<StatePointPanel*>()->findChildren<QLabel*>()) {
    const QString text = label->text();
    if (text.contains(QString::fromUtf8("±")) && !text.isEmpty() && text[0].isDigit()) return true;
  }
  return false;
}

void UntickRefine(ParameterTableModel& model, Parameter parameter) {
  model.setData(model.index(RowOf(model, parameter), ParameterTableModel::Refine), Qt::Unchecked,
                Qt::CheckStateRole);
}

// The window is closed and destroyed with points on show, as when the
// program ends: its tables are hidden after nothing of the window is left
// for them to read, or not at all.
TEST(WorkbenchWindow, EndsWithPointsShown) {
  auto window = std::make_unique<WorkbenchWindow>();
  fit::FitData data;
  for (int i = 0; i < 60; ++i) data.points.push_back({0.1 * i, 100.0 - 0.1 * i, 298.0, 0.01, 0, 0});
  window->show();
  window->Session().SetData(data);
  window->Points().Reset();

  window.reset();
  SUCCEED();
}

// What the window shows after a fit belongs to that fit: the esd columns in
// the report's order; a parameter unticked is held at its fitted value; a
// fit that fails leaves no esd, residual or state point of the one before.
TEST(WorkbenchWindow, ShowsOnlyWhatTheLastFitGave) {
  WorkbenchWindow window;
  window.Session().SetData(Isotherm(40, 74.71));
  window.Points().Reset();
  window.Parameters().Reset();
  Fit(window);
  ASSERT_TRUE(window.Session().HasResult() && window.Session().Result().converged);
  ParameterTableModel& parameters = window.Parameters();
  const fit::FitResult first = window.Session().Result();
  const int kp0 = RowOf(parameters, Parameter::Kp0);
  EXPECT_EQ(parameters.headerData(ParameterTableModel::Esd, Qt::Horizontal, Qt::DisplayRole),
            "esd");
  EXPECT_EQ(parameters.headerData(ParameterTableModel::EsdScaled, Qt::Horizontal, Qt::DisplayRole),
            "esd scaled");
  EXPECT_EQ(Cell(parameters, kp0, ParameterTableModel::Esd).toDouble(),
            QString::number(first.esd[2], 'g', 4).toDouble());
  EXPECT_TRUE(StateShowsVolume(window));

  UntickRefine(parameters, Parameter::Kp0);
  Fit(window);
  ASSERT_TRUE(window.Session().Result().converged) << window.Session().Result().failure;
  EXPECT_EQ(window.Session().Result().model[Parameter::Kp0], first.model[Parameter::Kp0]);
  EXPECT_EQ(window.Session().Result().refined.size(), 2u);

  // Every point left out: no fit.
  for (std::size_t row = 0; row < window.Session().Size(); ++row) {
    window.Session().SetIncluded(row, false);
  }
  Fit(window);
  EXPECT_FALSE(window.Session().HasResult() && window.Session().Result().converged);
  for (int row = 0; row < parameters.rowCount(); ++row) {
    EXPECT_EQ(Cell(parameters, row, ParameterTableModel::Esd), "") << row;
    EXPECT_EQ(Cell(parameters, row, ParameterTableModel::EsdScaled), "") << row;
  }
  EXPECT_EQ(Cell(window.Points(), 0, PointTableModel::Residual), "");
  EXPECT_FALSE(StateShowsVolume(window));
}

// With no Refine box ticked there is nothing to fit: the window says so and
// fits nothing, neither the defaults nor the earlier choice.
TEST(WorkbenchWindow, RefusesToFitWithNothingTicked) {
  WorkbenchWindow window;
  window.Session().SetData(Isotherm(20, 74.71));
  window.Parameters().Reset();
  for (Parameter parameter : {Parameter::V0, Parameter::K0, Parameter::Kp0}) {
    UntickRefine(window.Parameters(), parameter);
  }
  window.StartFit();
  EXPECT_FALSE(window.Runner().Running());
  EXPECT_FALSE(window.Session().HasResult());
  EXPECT_TRUE(
      window.findChild<QPlainTextEdit*>("results")->toPlainText().contains("nothing to fit"));
}

// A file opened after another starts from V0 and K0 read off its own data
// (here in A^3 after a file in cm^3/mol with V0 typed), and the Results pane
// names it; the file is read off the thread that handles events.
TEST(WorkbenchWindow, ANewFileStartsFromItsOwnData) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  WorkbenchWindow window;
  ParameterTableModel& parameters = window.Parameters();
  ASSERT_TRUE(Open(window, WriteCsv(folder, "molar.csv", Isotherm(30, 11.25))));
  const int v0 = RowOf(parameters, Parameter::V0);
  ASSERT_TRUE(
      parameters.setData(parameters.index(v0, ParameterTableModel::Value), "11.248", Qt::EditRole));

  const std::string cell = WriteCsv(folder, "cell.csv", Isotherm(100000, 74.71));
  bool handledWhileReading = false;
  QTimer::singleShot(0, &window, [&] { handledWhileReading = window.Session().Size() == 30; });
  ASSERT_TRUE(Open(window, cell));

  EXPECT_TRUE(handledWhileReading);
  EXPECT_NEAR(Cell(parameters, v0, ParameterTableModel::Value).toDouble(), 74.71, 0.5);
  const QString results = window.findChild<QPlainTextEdit*>("results")->toPlainText();
  EXPECT_TRUE(results.startsWith("100000 point(s) read from cell.csv")) << results.toStdString();
}

// The model panel carries the volume unit and Z of a thermal pressure, and a
// hint while V0 suits the other unit.
TEST(WorkbenchWindow, VolumeUnitAndZReachTheFitAndAMismatchIsHinted) {
  WorkbenchWindow window;
  window.Session().SetData(Isotherm(30, 74.71));
  auto* thermal = window.findChild<QComboBox*>("thermal");
  auto* unit = window.findChild<QComboBox*>("volumeUnit");
  auto* Z = window.findChild<QSpinBox*>("formulaUnits");
  auto* hint = window.findChild<QLabel*>("unitHint");
  thermal->setCurrentIndex(static_cast<int>(models::Thermal::MieGruneisenDebye));
  emit thermal->activated(thermal->currentIndex());
  EXPECT_FALSE(hint->isHidden());
  EXPECT_TRUE(hint->text().contains("A3")) << hint->text().toStdString();

  unit->setCurrentIndex(1);
  emit unit->activated(1);
  Z->setValue(4);
  const models::Model start = RequestFor(window.Setup()).start;
  EXPECT_EQ(start.volumeUnit, models::VolumeUnit::CubicAngstromsPerCell);
  EXPECT_EQ(start.Z, 4.0);
  EXPECT_TRUE(hint->isHidden()) << hint->text().toStdString();
}

// A window with no size remembered takes most of the screen; the menus' keys
// work while a text field has the focus (a line edit takes Ctrl+E for itself).
// A file of cell edges has no V: its refusal says to choose an edge, the
// Fit choice offers its edges, and one chosen is fitted as its cube with the
// edge's own parameters reported.
TEST(WorkbenchWindow, FitsACellEdgeChosenFromTheFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string path = folder.filePath("edges.csv").toStdString();
  {
    std::ofstream out(path);
    out.precision(17);
    out << "P (GPa),sigP,a (A),b (A),sig_b\n";
    for (const fit::Observation& p : Isotherm(30, 1058.0).points) {
      const double b = std::cbrt(p.V);
      out << p.P << ',' << p.sigP << ',' << 0.47 * b << ',' << b << ",0.0002\n";
    }
  }
  WorkbenchWindow window;
  QString refusal;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&refusal] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      refusal = box->text();
      box->accept();
    }
  });
  closer.start(10);
  EXPECT_FALSE(Open(window, path));
  EXPECT_TRUE(refusal.contains("no column") && refusal.contains("choose it under Fit"))
      << refusal.toStdString();
  auto* fitted = window.findChild<QComboBox*>("fitted");
  ASSERT_EQ(fitted->count(), 3);
  EXPECT_EQ(fitted->itemData(1).toString(), "a");
  EXPECT_EQ(fitted->itemData(2).toString(), "b");

  bool shown = false;
  QEventLoop loop;
  QObject::connect(&window, &WorkbenchWindow::DataShown, &loop, [&](bool opened) {
    shown = opened;
    loop.quit();
  });
  fitted->setCurrentIndex(2);
  emit fitted->activated(2);
  loop.exec();
  ASSERT_TRUE(shown);
  EXPECT_EQ(
      window.Points().headerData(PointTableModel::V, Qt::Horizontal, Qt::DisplayRole).toString(),
      "b³");
  Fit(window);
  ASSERT_TRUE(window.Session().HasResult() && window.Session().Result().converged);
  const models::Model& cubed = window.Session().Result().model;
  EXPECT_NEAR(cubed[Parameter::K0], 160.0, 1.0);
  const QString results = window.findChild<QPlainTextEdit*>("results")->toPlainText();
  EXPECT_TRUE(results.contains("Axis b (")) << results.toStdString();
  const QJsonObject axis =
      QJsonDocument::fromJson(QByteArray::fromStdString(window.Session().ReportJson()))
          .object()["axis"]
          .toObject();
  EXPECT_EQ(axis["name"].toString(), "b");
  EXPECT_EQ(axis["M0"].toDouble(), 3.0 * cubed[Parameter::K0]);
  EXPECT_EQ(axis["Mp0"].toDouble(), 3.0 * cubed[Parameter::Kp0]);
  EXPECT_NEAR(axis["L0"].toDouble(), std::cbrt(cubed[Parameter::V0]), 1e-12);
}

TEST(WorkbenchWindow, OpensLargeAndItsKeysWorkFromATextField) {
  WorkbenchWindow window;
  const QSize room = window.screen()->availableGeometry().size();
  EXPECT_EQ(window.size(), room * 0.8);

  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* field = window.findChild<StatePointPanel*>()->findChild<QLineEdit*>();
  window.findChild<QTabWidget*>("resultTabs")->setCurrentIndex(2);
  field->setFocus();
  QString opened;
  QTimer::singleShot(0, &window, [&opened] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      opened = dialog->windowTitle();
      dialog->reject();
    }
  });
  QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(opened, "Export report");
}

}  // namespace
}  // namespace quorvane::workbench
