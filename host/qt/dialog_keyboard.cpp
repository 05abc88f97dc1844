// The dialog manager's keyboard interface: Tab order, arrow keys within a
// group, and the commands of Enter and Escape.
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

#include "dialog/window_styles.h"
#include "host/qt/host_dialog.h"

namespace quorvane::host {
namespace {

bool IsNavigable(const HostControl& control) {
  return control.TakesFocus() && control.IsUsable();
}

bool HasArrowKeys(const HostControl& spin) {
  return (spin.style & dialog::UDS_ARROWKEYS) != 0;
}

}  // namespace

void HostDialog::GiveFocus(HostControl& control, Qt::FocusReason reason) {
  control.widget->setFocus(reason);
  // Focus that arrives from the keyboard selects all of an edit box's text.
  if (control.kind == ControlKind::EditBox && reason != Qt::MouseFocusReason) {
    static_cast<QLineEdit*>(control.widget.data())->selectAll();
  }
}

void HostDialog::FocusFirstTabStop() {
  for (auto& control : controls) {
    if (control->tabStop && IsNavigable(*control)) return GiveFocus(*control, Qt::TabFocusReason);
  }
}

void HostDialog::MoveTab(HostControl* focus, bool forward) {
  const int count = static_cast<int>(controls.size());
  if (count == 0) return;
  const int step = forward ? 1 : -1;
  int index = focus ? focus->index : (forward ? -1 : count);
  for (int tried = 0; tried < count; ++tried) {
    index = ((index + step) % count + count) % count;
    HostControl& candidate = *controls[index];
    if (candidate.tabStop && IsNavigable(candidate)) {
      return GiveFocus(candidate, forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
  }
}

void HostDialog::MoveInGroup(HostControl& focus, bool forward) {
  const auto [first, end] = GroupRange(focus.index);
  const int size = end - first;
  int offset = focus.index - first;
  for (int tried = 1; tried < size; ++tried) {
    offset = ((offset + (forward ? 1 : -1)) % size + size) % size;
    HostControl& candidate = *controls[first + offset];
    if (!IsNavigable(candidate)) continue;
    GiveFocus(candidate, Qt::OtherFocusReason);
    auto* button = qobject_cast<QAbstractButton*>(candidate.widget.data());
    if (candidate.kind == ControlKind::RadioButton && candidate.automatic && button &&
        !button->isChecked()) {
      ClickRadio(candidate);
    }
    return;
  }
}

std::int32_t HostDialog::DefaultCommandId() const {
  for (const auto& control : controls) {
    if (control->kind == ControlKind::PushButton &&
        (control->style & 0xFu) == dialog::BS_DEFPUSHBUTTON) {
      return control->id;
    }
  }
  return dialog::IDOK;
}

bool HostDialog::CommandBlocked(std::int32_t id) const {
  for (const auto& control : controls) {
    if (control->id == id) return !control->IsUsable();
  }
  return false;
}

bool HostDialog::HandleDialogKey(HostControl* focus, QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const bool plain = (modifiers & (Qt::ControlModifier | Qt::AltModifier)) == 0;
  switch (event.key()) {
    case Qt::Key_Tab:
      if (!plain) return false;
      MoveTab(focus, (modifiers & Qt::ShiftModifier) == 0);
      return true;
    case Qt::Key_Backtab:
      if (!plain) return false;
      MoveTab(focus, false);
      return true;
    case Qt::Key_Escape:
      if (!CommandBlocked(dialog::IDCANCEL)) {
        SendCommand(dialog::IDCANCEL, dialog::BN_CLICKED, FindControl(dialog::IDCANCEL));
      }
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      const std::int32_t id =
          focus && focus->kind == ControlKind::PushButton ? focus->id : DefaultCommandId();
      if (!CommandBlocked(id)) SendCommand(id, dialog::BN_CLICKED, FindControl(id));
      return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      break;
    default:
      return false;
  }
  if (!plain || !focus) return false;
  const bool vertical = event.key() == Qt::Key_Up || event.key() == Qt::Key_Down;
  const int direction = event.key() == Qt::Key_Up ? 1 : -1;
  if (focus->kind == ControlKind::EditBox) {
    if (!vertical) return false;
    if (focus->spinOfBuddy >= 0 && HasArrowKeys(*controls[focus->spinOfBuddy])) {
      StepSpin(*controls[focus->spinOfBuddy], direction, false);
      return true;
    }
    // A one-line edit box moves its caret with Up and Down as with Left and
    // Right, extending the selection with Shift.
    auto* edit = static_cast<QLineEdit*>(focus->widget.data());
    const bool mark = (modifiers & Qt::ShiftModifier) != 0;
    if (direction > 0) {
      edit->cursorBackward(mark);
    } else {
      edit->cursorForward(mark);
    }
    return true;
  }
  if (focus->kind == ControlKind::UpDown) {
    if (vertical && HasArrowKeys(*focus)) StepSpin(*focus, direction, false);
    return true;
  }
  MoveInGroup(*focus, event.key() == Qt::Key_Right || event.key() == Qt::Key_Down);
  return true;
}

}  // namespace quorvane::host
