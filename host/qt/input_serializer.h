#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

class QEvent;

// Keeps input in step with a program that handles notifications on another
// thread: while a notification is being handled, key and mouse input for the
// program's dialogs is held back, and applied in order once the handler has
// returned. Typing fast then gives the same texts as typing slowly.
namespace quorvane::host {

class InputSerializer : public QObject {
  Q_OBJECT

 public:
  // heldFor tells whether input for this receiver must wait its turn.
  explicit InputSerializer(std::function<bool(QObject*)> heldFor);
  ~InputSerializer() override;

  // The program has a notification to handle, or has gone back to waiting.
  void SetBusy();
  void SetIdle();
  bool IsBusy() const { return busy_; }
  bool HasHeldInput() const { return !held_.empty(); }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override;

 private:
  struct HeldEvent {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
    bool toFocus = false;  // sent to the focus widget, as a real key is
  };

  void Replay();
  void Send(HeldEvent& held);

  std::function<bool(QObject*)> heldFor_;
  std::deque<HeldEvent> held_;
  bool busy_ = false;
  bool replaying_ = false;
};

}  // namespace quorvane::host
