#include "host/qt/input_serializer.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quorvane::host {
namespace {

bool IsUserInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

// What a real press does before the widget sees it: focus to the first
// widget under the pointer that takes focus by clicking.
void GiveClickFocus(QObject* receiver) {
  for (auto* widget = qobject_cast<QWidget*>(receiver); widget; widget = widget->parentWidget()) {
    if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
      widget->setFocus(Qt::MouseFocusReason);
      return;
    }
    if (widget->isWindow()) return;
  }
}

}  // namespace

InputSerializer::InputSerializer(std::function<bool(QObject*)> heldFor)
    : heldFor_(std::move(heldFor)) {
  qApp->installEventFilter(this);
}

InputSerializer::~InputSerializer() {
  qApp->removeEventFilter(this);
}

void InputSerializer::SetBusy() {
  busy_ = true;
}

void InputSerializer::SetIdle() {
  busy_ = false;
  Replay();
}

bool InputSerializer::eventFilter(QObject* receiver, QEvent* event) {
  if (replaying_ || !IsUserInput(*event) || !heldFor_(receiver)) return false;
  if (!busy_ && held_.empty()) return false;
  held_.push_back(HeldEvent{receiver, std::unique_ptr<QEvent>(event->clone()),
                            receiver == QApplication::focusWidget()});
  return true;
}

void InputSerializer::Replay() {
  // One event at a time: the one that makes the program busy again holds the rest.
  while (!busy_ && !held_.empty() && !replaying_) {
    HeldEvent next = std::move(held_.front());
    held_.pop_front();
    Send(next);
  }
}

void InputSerializer::Send(HeldEvent& held) {
  QObject* receiver = held.receiver;
  const QEvent::Type type = held.event->type();
  // Keys typed at the focus go where the focus is now: earlier keys may have moved it.
  if (held.toFocus && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
    if (QWidget* focus = QApplication::focusWidget(); focus && heldFor_(focus)) receiver = focus;
  }
  if (!receiver) return;
  if (type == QEvent::MouseButtonPress) GiveClickFocus(receiver);
  replaying_ = true;
  QCoreApplication::sendEvent(receiver, held.event.get());
  replaying_ = false;
}

}  // namespace quorvane::host
