#pragma once

#include <QObject>
#include <optional>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/fit_data.h"

namespace quorvane::workbench {

// What a fit in the background came to: a result with, when it converged,
// the fit command's text report of it (of many points, its first lines), or
// the message of data or a request no fit can be made of.
struct FitOutcome {
  fit::FitData data;
  std::vector<bool> includedRows;
  std::optional<fit::FitResult> result;
  std::string report;
  std::string error;
};

// Runs FitEos on the thread pool, one fit at a time as far as the user sees.
// The fit itself cannot be interrupted: Cancel forgets it, and its result is
// dropped when it arrives.
class FitRunner : public QObject {
  Q_OBJECT

 public:
  explicit FitRunner(QObject* parent = nullptr);

  void Start(fit::FitData data, std::vector<bool> includedRows, fit::FitRequest request);
  void Cancel();
  bool Running() const { return running_; }

 signals:
  void Finished(const quorvane::workbench::FitOutcome& outcome);
  void RunningChanged(bool running);

 private:
  // Which Start a finishing fit belongs to; an older one is dropped.
  unsigned generation_ = 0;
  bool running_ = false;
};

}  // namespace quorvane::workbench
