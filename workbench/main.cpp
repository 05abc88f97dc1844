#include <QApplication>
#include <QThreadPool>
#include <QTimer>
#include <cstdlib>

#include "workbench/workbench_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // QSettings keeps the window and the last folder under these names.
  QApplication::setOrganizationName("quorvane");
  QApplication::setApplicationName("quorvane-workbench");
  QApplication::setWindowIcon(QIcon::fromTheme("quorvane"));
  quorvane::workbench::WorkbenchWindow window;
  window.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    // Once the window is up, so that a message about the file has a parent.
    QTimer::singleShot(0, &window, [&window, path = arguments.at(1)] { window.OpenFile(path); });
  }
  const int status = QApplication::exec();
  // A fit still running cannot be stopped and holds no file: the process
  // ends without waiting for it, where the thread pool would.
  if (QThreadPool::globalInstance()->activeThreadCount() > 0) std::_Exit(status);
  return status;
}
