#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "fit/fit_data.h"

namespace quorvane::workbench {

// A data file read in the background: its points, or the reader's message
// naming the line at fault, and the columns that can be a cell edge.
struct ReadOutcome {
  QString path;
  std::optional<fit::FitData> data;
  std::string error;
  std::vector<std::string> edges;
};

// Reads data files on the thread pool, so that a file of a few hundred
// thousand points leaves the window drawing. Of files asked for one after
// another only the last is delivered.
class DataReader : public QObject {
  Q_OBJECT

 public:
  explicit DataReader(QObject* parent = nullptr);

  void Start(const QString& path, double Tref, const std::string& axis);
  bool Running() const { return running_; }

 signals:
  void Finished(const quorvane::workbench::ReadOutcome& outcome);

 private:
  // Which Start a finishing read belongs to; an older one is dropped.
  unsigned generation_ = 0;
  bool running_ = false;
};

}  // namespace quorvane::workbench
