// The up-down control and its buddy edit box: stepping, and the position
// held as the buddy's text.
#include <QLineEdit>
#include <algorithm>

#include "dialog/window_styles.h"
#include "host/qt/host_dialog.h"

namespace quorvane::host {
namespace {

constexpr int kThousandsGroup = 3;

bool SetsBuddyInteger(const HostControl& spin) {
  return (spin.style & dialog::UDS_SETBUDDYINT) != 0;
}

QString FormatPosition(std::int32_t position, bool thousands) {
  QString digits = QString::number(std::abs(static_cast<long long>(position)));
  if (thousands) {
    for (int at = static_cast<int>(digits.size()) - kThousandsGroup; at > 0;
         at -= kThousandsGroup) {
      digits.insert(at, QLatin1Char(','));
    }
  }
  return position < 0 ? QLatin1Char('-') + digits : digits;
}

std::int32_t ClampToRange(std::int32_t value, const SpinState& spin) {
  return std::clamp(value, std::min(spin.lower, spin.upper), std::max(spin.lower, spin.upper));
}

}  // namespace

std::optional<std::int32_t> HostDialog::ReadBuddy(const HostControl& spin) const {
  if (!SetsBuddyInteger(spin) || spin.spin.buddy < 0) return std::nullopt;
  const auto* line = qobject_cast<const QLineEdit*>(controls[spin.spin.buddy]->widget.data());
  if (!line) return std::nullopt;
  // Thousands separators are the control's own and are read past.
  QString text = line->text().trimmed();
  text.remove(QLatin1Char(','));
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok || value != ClampToRange(value, spin.spin)) return std::nullopt;
  return value;
}

void HostDialog::WriteBuddy(HostControl& spin) {
  if (!SetsBuddyInteger(spin) || spin.spin.buddy < 0) return;
  HostControl& buddy = *controls[spin.spin.buddy];
  const QString text =
      FormatPosition(spin.spin.position, (spin.style & dialog::UDS_NOTHOUSANDS) == 0);
  // Only a different text is written, so only then does the buddy report a change.
  if (buddy.kind != ControlKind::EditBox) return;
  auto* edit = static_cast<QLineEdit*>(buddy.widget.data());
  if (edit->text() == text) return;
  // The up-down control writes with WM_SETTEXT, which leaves the caret at the
  // start of the new number (typing then goes in front of it).
  edit->setCursorPosition(0);
  SetEditText(buddy, text);
}

void HostDialog::StepSpin(HostControl& spin, int direction, bool byMouse) {
  if (!spin.IsUsable()) return;
  HostControl* buddy = spin.spin.buddy >= 0 ? controls[spin.spin.buddy].get() : nullptr;
  if (buddy && !buddy->IsUsable()) return;
  if (byMouse && buddy && buddy->TakesFocus()) GiveFocus(*buddy, Qt::MouseFocusReason);

  SpinState& state = spin.spin;
  // A typed text that is no number in range leaves the last good position.
  state.position = ClampToRange(ReadBuddy(spin).value_or(state.position), state);
  const std::int32_t before = state.position;
  const int toward = state.upper >= state.lower ? 1 : -1;
  const std::int32_t wanted = state.position + direction * toward;
  const std::int32_t low = std::min(state.lower, state.upper);
  const std::int32_t high = std::max(state.lower, state.upper);
  if ((spin.style & dialog::UDS_WRAP) != 0 && (wanted < low || wanted > high)) {
    state.position = wanted < low ? high : low;
  } else {
    state.position = std::clamp(wanted, low, high);
  }
  // At the end of the range the position stays and the buddy keeps whatever
  // text it holds.
  if (state.position != before) WriteBuddy(spin);

  // The scroll report goes out even when the position stayed at an end.
  SendScroll(spin, dialog::SB_THUMBPOSITION);
}

void HostDialog::EndSpinScroll(HostControl& spin) {
  if (!spin.IsUsable()) return;
  SendScroll(spin, dialog::SB_ENDSCROLL);
  // Letting go of an arrow leaves the buddy's number selected for typing over.
  HostControl* buddy = spin.spin.buddy >= 0 ? controls[spin.spin.buddy].get() : nullptr;
  if (buddy && buddy->kind == ControlKind::EditBox && buddy->IsUsable()) {
    static_cast<QLineEdit*>(buddy->widget.data())->selectAll();
  }
}

void HostDialog::SendScroll(const HostControl& spin, std::int32_t code) {
  if (destroying_) return;
  dialog::WindowMessage scroll;
  scroll.message = dialog::Message::VScroll;
  scroll.wParam = static_cast<std::uintptr_t>(code) |
                  ((static_cast<std::uintptr_t>(spin.spin.position) & 0xFFFFu) << 16);
  scroll.lParam = static_cast<std::intptr_t>(spin.handle);
  sink_.Emit(*this, scroll, std::nullopt);
}

}  // namespace quorvane::host
