#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "dialog/window_system.h"

// The program thread's message queue: notifications the GUI thread raised
// from user input, taken one at a time by whichever modal loop is running.
namespace quorvane::host {

// One modal run of a dialog, shared by the GUI thread (which builds and shows
// the dialog) and the thread that runs the loop.
struct ModalRun {
  dialog::WindowProcedure procedure = nullptr;
  std::uintptr_t handle = 0;
  bool onGuiThread = false;
  std::atomic<bool> ended{false};
  std::atomic<std::int32_t> result{0};
  std::atomic<bool> destroyed{false};
};

struct QueuedMessage {
  std::shared_ptr<ModalRun> run;
  dialog::WindowMessage message;
  std::optional<dialog::WindowMessage> fallback;  // sent when message is left unhandled
};

// Hands a message to its dialog's window procedure; the fallback follows when
// the procedure did not handle the message. Nothing for a destroyed dialog.
void DeliverMessage(const QueuedMessage& queued);

class MessageQueue {
 public:
  void Post(QueuedMessage message);
  // The next message, waiting for one; nothing once run has ended. Before it
  // waits it calls idle with the number of messages taken so far.
  std::optional<QueuedMessage> Take(const ModalRun& run,
                                    const std::function<void(std::uint64_t)>& idle);
  // Wakes a waiting Take so that it sees its run has ended.
  void Wake();

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<QueuedMessage> messages_;
  std::uint64_t taken_ = 0;
};

}  // namespace quorvane::host
