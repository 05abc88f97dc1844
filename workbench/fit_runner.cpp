#include "workbench/fit_runner.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <utility>

#include "cli/fit_report.h"

namespace quorvane::workbench {
namespace {

FitOutcome RunFit(fit::FitData data, std::vector<bool> includedRows,
                  const fit::FitRequest& request) {
  FitOutcome outcome;
  try {
    outcome.result = fit::FitEos(data, request);
    // A report of many points is long in the making: not on the window's thread.
    if (outcome.result->converged) {
      cli::AppendFitText(outcome.report, cli::MakeFitReport(data, *outcome.result));
    }
  } catch (const std::exception& error) {
    outcome.error = error.what();
  }
  outcome.data = std::move(data);
  outcome.includedRows = std::move(includedRows);
  return outcome;
}

}  // namespace

FitRunner::FitRunner(QObject* parent) : QObject(parent) {}

void FitRunner::Start(fit::FitData data, std::vector<bool> includedRows, fit::FitRequest request) {
  const unsigned generation = ++generation_;
  auto* watcher = new QFutureWatcher<FitOutcome>(this);
  connect(watcher, &QFutureWatcher<FitOutcome>::finished, this, [this, watcher, generation] {
    watcher->deleteLater();
    if (generation != generation_) return;
    running_ = false;
    emit RunningChanged(false);
    emit Finished(watcher->result());
  });
  watcher->setFuture(
      QtConcurrent::run(RunFit, std::move(data), std::move(includedRows), std::move(request)));
  running_ = true;
  emit RunningChanged(true);
}

void FitRunner::Cancel() {
  if (!running_) return;
  ++generation_;
  running_ = false;
  emit RunningChanged(false);
}

}  // namespace quorvane::workbench
