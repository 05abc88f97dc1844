#include "workbench/fit_runner.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>
#include <utility>

#include "app/fit_report.h"

namespace quorvane::workbench {
namespace {

// A text view lays out every line it is given on the window's thread: the
// report of 200,000 points (17 MB) would hold it for most of a second.
constexpr std::size_t kShownReportLines = 20000;

// The report up to kShownReportLines lines, and where it is cut, how to get
// the rest.
void CutForDisplay(std::string& report) {
  std::size_t end = 0;
  for (std::size_t line = 0; line < kShownReportLines; ++line) {
    end = report.find('\n', end);
    if (end == std::string::npos) return;
    ++end;
  }
  if (end >= report.size()) return;
  const auto more =
      std::count(report.begin() + static_cast<std::ptrdiff_t>(end), report.end(), '\n');
  report.resize(end);
  report += "... ";
  report += std::to_string(more);
  report += " more lines: File > Export report (Ctrl+E) writes the whole report as JSON\n";
}

FitOutcome RunFit(fit::FitData data, std::vector<bool> includedRows,
                  const fit::FitRequest& request) {
  FitOutcome outcome;
  try {
    outcome.result = fit::FitEos(data, request);
    // A report of many points is long in the making: not on the window's thread.
    if (outcome.result->converged) {
      app::AppendFitText(outcome.report, app::MakeFitReport(data, *outcome.result));
      CutForDisplay(outcome.report);
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
