// Renders the workbench after a fit of a data file to PNGs for the
// documentation: the window with its results (workbench.png) and with the
// confidence ellipse (workbench-ellipse.png).
// Usage: quorvane_render_workbench DATA OUTPUT_FOLDER
#include <QApplication>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "workbench/workbench_window.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 820;

bool Save(QWidget& window, const QString& path) {
  QApplication::processEvents();
  return window.grab().save(path);
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever the user's settings hold, the pictures are the same.
  QTemporaryDir settings;
  if (!settings.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fputs("usage: quorvane_render_workbench DATA OUTPUT_FOLDER\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[2]);
  quorvane::workbench::WorkbenchWindow window;
  window.resize(kWidth, kHeight);
  window.show();
  bool shown = false;
  QEventLoop reading;
  QObject::connect(&window, &quorvane::workbench::WorkbenchWindow::DataShown, &reading,
                   [&](bool opened) {
                     shown = opened;
                     reading.quit();
                   });
  window.OpenFile(QString::fromLocal8Bit(argv[1]));
  reading.exec();
  if (!shown) return 1;
  QEventLoop loop;
  QObject::connect(&window.Runner(), &quorvane::workbench::FitRunner::Finished, &loop,
                   &QEventLoop::quit, Qt::QueuedConnection);
  window.StartFit();
  loop.exec();
  auto* results = window.findChild<QTabWidget*>("resultTabs");
  auto* plots = window.findChild<QTabWidget*>("plotTabs");
  if (!results || !plots) return 1;
  bool ok = Save(window, folder + "/workbench.png");
  results->setCurrentIndex(results->indexOf(plots->parentWidget()));
  plots->setCurrentIndex(plots->count() - 1);
  ok = Save(window, folder + "/workbench-ellipse.png") && ok;
  return ok ? 0 : 1;
}
