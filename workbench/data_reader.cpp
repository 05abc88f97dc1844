#include "workbench/data_reader.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>

#include "workbench/fit_session.h"

namespace quorvane::workbench {
namespace {

ReadOutcome Read(const QString& path, double Tref, const std::string& axis) {
  ReadOutcome outcome;
  outcome.path = path;
  outcome.edges = FitSession::EdgeColumns(path.toStdString());
  try {
    outcome.data = FitSession::Read(path.toStdString(), Tref, axis);
  } catch (const std::exception& error) {
    outcome.error = error.what();
  }
  return outcome;
}

}  // namespace

DataReader::DataReader(QObject* parent) : QObject(parent) {}

void DataReader::Start(const QString& path, double Tref, const std::string& axis) {
  const unsigned generation = ++generation_;
  auto* watcher = new QFutureWatcher<ReadOutcome>(this);
  connect(watcher, &QFutureWatcher<ReadOutcome>::finished, this, [this, watcher, generation] {
    watcher->deleteLater();
    if (generation != generation_) return;
    running_ = false;
    emit Finished(watcher->result());
  });
  watcher->setFuture(QtConcurrent::run(Read, path, Tref, axis));
  running_ = true;
}

}  // namespace quorvane::workbench
