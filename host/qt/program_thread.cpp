#include "host/qt/program_thread.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace quorvane::host {

ProgramThread::ProgramThread(std::function<void()> program, QObject* parent)
    : QObject(parent), program_(std::move(program)) {}

ProgramThread::~ProgramThread() {
  if (!thread_.joinable()) return;
  while (!finished_) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  thread_.join();
}

void ProgramThread::Start() {
  if (thread_.joinable()) return;
  thread_ = std::thread([this] {
    program_();
    finished_ = true;
    QMetaObject::invokeMethod(
        this, [this] { emit Finished(); }, Qt::QueuedConnection);
  });
}

}  // namespace quorvane::host
