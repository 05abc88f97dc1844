#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

// The program thread: runs the program on a thread of its own while the GUI
// thread keeps its event loop, and tells the GUI thread when it has returned.
namespace quorvane::host {

class ProgramThread : public QObject {
  Q_OBJECT

 public:
  explicit ProgramThread(std::function<void()> program, QObject* parent = nullptr);
  // Waits for the program to return, serving the GUI thread's events meanwhile
  // so that the program's window operations can finish.
  ~ProgramThread() override;

  void Start();
  bool HasFinished() const { return finished_; }

 signals:
  // Queued to the GUI thread once the program has returned.
  void Finished();

 private:
  std::function<void()> program_;
  std::thread thread_;
  std::atomic<bool> finished_{false};
};

}  // namespace quorvane::host
