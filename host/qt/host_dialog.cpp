#include "host/qt/host_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "dialog/window_styles.h"
#include "host/qt/up_down_widget.h"

namespace quorvane::host {

using dialog::Message;
using dialog::WindowMessage;

bool HostControl::TakesFocus() const {
  switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::EditBox:
      return true;
    default:
      return false;
  }
}

bool HostControl::IsUsable() const {
  return widget && !widget->isHidden() && !widget->testAttribute(Qt::WA_ForceDisabled);
}

HostDialog::HostDialog(QWidget* owner, NotificationSink& sink, dialog::ModuleHandle fromModule)
    : QDialog(owner), module(fromModule), sink_(sink) {}

HostDialog::~HostDialog() {
  // Children go before the records they point into, and silently.
  destroying_ = true;
  for (auto& control : controls) delete control->widget.data();
}

HostControl* HostDialog::FindControl(std::int32_t id) {
  for (auto& control : controls) {
    if (control->id == id) return control.get();
  }
  return nullptr;
}

HostControl* HostDialog::ControlOf(const QObject* object) {
  const auto found = owners_.find(object);
  return found == owners_.end() ? nullptr : controls[found->second].get();
}

HostControl* HostDialog::FocusedControl() {
  return ControlOf(focusWidget());
}

void HostDialog::Attach(HostControl& control) {
  QWidget* widget = control.widget;
  owners_[widget] = control.index;
  widget->installEventFilter(this);
  for (QWidget* inner : widget->findChildren<QWidget*>()) {
    owners_[inner] = control.index;
    inner->installEventFilter(this);
  }
  HostControl* c = &control;
  switch (control.kind) {
    case ControlKind::PushButton:
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
              [this, c] { SendCommand(c->id, dialog::BN_CLICKED, c); });
      break;
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this, [this, c] {
        auto* button = static_cast<QAbstractButton*>(c->widget.data());
        if (c->kind == ControlKind::RadioButton && c->automatic) return ClickRadio(*c);
        // Buttons that do not check themselves keep their state; the program sets it.
        if (!c->automatic) button->setChecked(!button->isChecked());
        sink_.StateChanged(*c);
        SendCommand(c->id, dialog::BN_CLICKED, c);
      });
      break;
    case ControlKind::EditBox: {
      auto* edit = static_cast<QLineEdit*>(widget);
      connect(edit, &QLineEdit::textChanged, this, [this, c] { OnEditTextChanged(*c); });
      connect(edit, &QLineEdit::textEdited, this, [this, c] { OnEditedByUser(*c); });
      ForgetUndo(control);
      connect(edit, &QLineEdit::cursorPositionChanged, this, [this, c] { Refresh(*c); });
      connect(edit, &QLineEdit::selectionChanged, this, [this, c] { Refresh(*c); });
      break;
    }
    case ControlKind::UpDown:
      connect(static_cast<UpDownWidget*>(widget), &UpDownWidget::Stepped, this,
              [this, c](int direction) { StepSpin(*c, direction, true); });
      connect(static_cast<UpDownWidget*>(widget), &UpDownWidget::Released, this,
              [this, c] { EndSpinScroll(*c); });
      break;
    default:
      break;
  }
}

void HostDialog::SendCommand(std::int32_t id, std::int32_t code, const HostControl* control) {
  if (destroying_) return;
  WindowMessage message;
  message.message = Message::Command;
  message.wParam = (static_cast<std::uintptr_t>(id) & 0xFFFFu) |
                   ((static_cast<std::uintptr_t>(code) & 0xFFFFu) << 16);
  message.lParam = control ? static_cast<std::intptr_t>(control->handle) : 0;
  sink_.Emit(*this, message, std::nullopt);
}

std::pair<int, int> HostDialog::GroupRange(int index) const {
  int first = index;
  while (first > 0 && !controls[first]->groupStart) --first;
  int end = index + 1;
  while (end < static_cast<int>(controls.size()) && !controls[end]->groupStart) ++end;
  return {first, end};
}

void HostDialog::ClickRadio(HostControl& radio) {
  if (radio.automatic) {
    const auto [first, end] = GroupRange(radio.index);
    for (int i = first; i < end; ++i) {
      HostControl& other = *controls[i];
      if (other.kind == ControlKind::RadioButton && other.automatic) {
        CheckButton(other, &other == &radio ? 1 : 0);
      }
    }
  }
  SendCommand(radio.id, dialog::BN_CLICKED, &radio);
}

void HostDialog::CheckButton(HostControl& button, int state) {
  auto* widget = qobject_cast<QAbstractButton*>(button.widget.data());
  if (!widget) return;
  auto* box = qobject_cast<QCheckBox*>(widget);
  if (box && box->isTristate()) {
    box->setCheckState(state == 2 ? Qt::PartiallyChecked
                                  : (state != 0 ? Qt::Checked : Qt::Unchecked));
  } else {
    widget->setChecked(state != 0);
  }
  // A checked radio button is its group's tab stop; the others are not.
  if (button.kind == ControlKind::RadioButton) button.tabStop = state != 0;
  Refresh(button);
}

void HostDialog::Refresh(HostControl& control) {
  if (!destroying_) sink_.StateChanged(control);
}

void HostDialog::OnEditTextChanged(HostControl& edit) {
  Refresh(edit);
  if (!programWrite_) EmitEditChange(edit);
}

void HostDialog::EmitEditChange(HostControl& edit) {
  SendCommand(edit.id, dialog::EN_UPDATE, &edit);
  SendCommand(edit.id, dialog::EN_CHANGE, &edit);
}

void HostDialog::SetEditText(HostControl& edit, const QString& text) {
  auto* line = static_cast<QLineEdit*>(edit.widget.data());
  // Typing goes on where it was: the caret keeps its place, or ends the
  // new text when that is shorter.
  const int caret = line->cursorPosition();
  programWrite_ = true;
  line->setText(text);
  programWrite_ = false;
  ForgetUndo(edit);
  line->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
  Refresh(edit);
  EmitEditChange(edit);
}

void HostDialog::DisableControl(HostControl& control, bool enabled) {
  if (!enabled && control.widget->hasFocus()) control.widget->clearFocus();
  control.widget->setEnabled(enabled);
  Refresh(control);
}

bool HostDialog::eventFilter(QObject* watched, QEvent* event) {
  if (destroying_) return false;
  HostControl* control = ControlOf(watched);
  if (!control) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      if (HandleDialogKey(control, static_cast<QKeyEvent&>(*event))) return true;
      if (control->kind != ControlKind::EditBox) return false;
      return HandleUndoKey(*control, static_cast<QKeyEvent&>(*event)) ||
             FilterEdit(*control, *event);
    case QEvent::ContextMenu:
      if (control->kind != ControlKind::EditBox || watched != control->widget) return false;
      ShowEditMenu(*control, static_cast<QContextMenuEvent&>(*event));
      return true;
    case QEvent::FocusIn:
      if (control->kind == ControlKind::EditBox && watched == control->widget) {
        SendCommand(control->id, dialog::EN_SETFOCUS, control);
      }
      return false;
    case QEvent::FocusOut:
      if (control->kind == ControlKind::EditBox && watched == control->widget) {
        SendCommand(control->id, dialog::EN_KILLFOCUS, control);
      }
      return false;
    default:
      return false;
  }
}

void HostDialog::keyPressEvent(QKeyEvent* event) {
  // Keys sent to the dialog itself, and keys a control left alone, stop here:
  // the dialog's own Enter and Escape handling would close it. An edit box
  // keeps its arrow keys even when it does nothing with them.
  HostControl* focus = FocusedControl();
  const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                     event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
  if (!(arrow && focus && focus->kind == ControlKind::EditBox)) HandleDialogKey(focus, *event);
  event->accept();
}

void HostDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (CommandBlocked(dialog::IDCANCEL)) return;
  WindowMessage close;
  close.message = Message::Close;
  WindowMessage cancel;
  cancel.message = Message::Command;
  cancel.wParam = static_cast<std::uintptr_t>(dialog::IDCANCEL);
  const HostControl* control = FindControl(dialog::IDCANCEL);
  cancel.lParam = control ? static_cast<std::intptr_t>(control->handle) : 0;
  sink_.Emit(*this, close, cancel);
}

}  // namespace quorvane::host
