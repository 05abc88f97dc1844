#include "host/qt/message_queue.h"

namespace quorvane::host {

void DeliverMessage(const QueuedMessage& queued) {
  const ModalRun& run = *queued.run;
  if (run.destroyed || run.procedure == nullptr) return;
  const auto window = reinterpret_cast<dialog::WindowHandle>(run.handle);
  const std::intptr_t handled = run.procedure(window, queued.message);
  if (handled == 0 && queued.fallback && !run.destroyed) run.procedure(window, *queued.fallback);
}

void MessageQueue::Post(QueuedMessage message) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(std::move(message));
  }
  ready_.notify_all();
}

std::optional<QueuedMessage> MessageQueue::Take(const ModalRun& run,
                                                const std::function<void(std::uint64_t)>& idle) {
  std::unique_lock lock(mutex_);
  if (messages_.empty() && !run.ended) {
    const std::uint64_t taken = taken_;
    lock.unlock();
    idle(taken);
    lock.lock();
  }
  ready_.wait(lock, [&] { return !messages_.empty() || run.ended; });
  if (run.ended) return std::nullopt;
  QueuedMessage message = std::move(messages_.front());
  messages_.pop_front();
  ++taken_;
  return message;
}

void MessageQueue::Wake() {
  { std::lock_guard lock(mutex_); }
  ready_.notify_all();
}

}  // namespace quorvane::host
