// The control operations of the windowing system, each carried out on the GUI thread.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/qt/qt_window_system.h"

namespace quorvane::host {
namespace {

using dialog::WindowHandle;

// Texts cross the runtime in the host's single-byte code page.
QString FromBytes(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
  return text.toLatin1().toStdString();
}

QLineEdit* LineEdit(HostControl* control) {
  return control && control->kind == ControlKind::EditBox
             ? static_cast<QLineEdit*>(control->widget.data())
             : nullptr;
}

std::uintptr_t Key(WindowHandle window) {
  return reinterpret_cast<std::uintptr_t>(window);
}

HostControl* Spin(HostControl* control) {
  return control && control->kind == ControlKind::UpDown ? control : nullptr;
}

std::int32_t ClampToRange(std::int32_t value, const SpinState& spin) {
  return std::clamp(value, std::min(spin.lower, spin.upper), std::max(spin.lower, spin.upper));
}

void SetControlText(HostControl& control, const QString& text, const std::string& bytes) {
  switch (control.kind) {
    case ControlKind::StaticText:
      static_cast<QLabel*>(control.widget.data())->setText(text);
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(control.widget.data())->setTitle(text);
      break;
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      static_cast<QAbstractButton*>(control.widget.data())->setText(text);
      break;
    case ControlKind::EditBox:
      control.dialog->SetEditText(control, text);
      break;
    case ControlKind::Placeholder:
      control.placeholderText = bytes;
      break;
    default:
      break;
  }
}

std::string ControlText(const HostControl& control) {
  switch (control.kind) {
    case ControlKind::StaticText:
      return ToBytes(static_cast<QLabel*>(control.widget.data())->text());
    case ControlKind::GroupBox:
      return ToBytes(static_cast<QGroupBox*>(control.widget.data())->title());
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return ToBytes(static_cast<QAbstractButton*>(control.widget.data())->text());
    case ControlKind::EditBox:
      return ToBytes(static_cast<QLineEdit*>(control.widget.data())->text());
    case ControlKind::Placeholder:
      return control.placeholderText;
    default:
      return std::string();
  }
}

}  // namespace

std::optional<std::span<const std::uint8_t>> QtWindowSystem::FindResource(
    dialog::ModuleHandle module, std::int32_t type, std::int32_t id) {
  // The table is filled before any form runs and only read afterwards.
  return resources_.Find(module, type, id);
}

dialog::ModuleHandle QtWindowSystem::WindowModule(WindowHandle window) {
  return views_.Read(Key(window), dialog::kProgramModule,
                     [](const WindowView& view) { return view.module; });
}

void QtWindowSystem::EndDialog(WindowHandle window, std::int32_t result) {
  Perform([&] {
    HostDialog* dialog = FindDialog(window);
    if (!dialog) return;
    for (auto& run : runs_) {
      if (run->handle != dialog->handle || run->ended) continue;
      run->result = result;
      run->ended = true;
      dialog->hide();
    }
  });
  queue_.Wake();
}

// The user data and reply slots belong to the program; the GUI never reads them.
void QtWindowSystem::SetUserData(WindowHandle window, std::intptr_t value) {
  views_.Update(Key(window), [&](WindowView& view) { view.userData = value; });
}

std::intptr_t QtWindowSystem::UserData(WindowHandle window) {
  return views_.Read(Key(window), std::intptr_t{0},
                     [](const WindowView& view) { return view.userData; });
}

void QtWindowSystem::SetMessageResult(WindowHandle window, std::intptr_t value) {
  views_.Update(Key(window), [&](WindowView& view) { view.messageResult = value; });
}

WindowHandle QtWindowSystem::DialogItem(WindowHandle window, std::int32_t id) {
  const std::uintptr_t handle =
      views_.Read(Key(window), std::uintptr_t{0}, [id](const WindowView& view) {
        for (const auto& [itemId, itemHandle] : view.items) {
          if (itemId == id) return itemHandle;
        }
        return std::uintptr_t{0};
      });
  return reinterpret_cast<WindowHandle>(handle);
}

std::int32_t QtWindowSystem::ControlId(WindowHandle window) {
  return views_.Read(Key(window), std::int32_t{0}, [](const WindowView& view) { return view.id; });
}

void QtWindowSystem::SetText(WindowHandle window, std::string_view text) {
  const std::string bytes(text);
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) {
      dialog->setWindowTitle(FromBytes(bytes));
      RefreshView(*dialog);
    }
    if (HostControl* control = FindControl(window)) {
      SetControlText(*control, FromBytes(bytes), bytes);
      RefreshView(*control);
    }
  });
}

std::string QtWindowSystem::Text(WindowHandle window) {
  return views_.Read(Key(window), std::string(), [](const WindowView& view) { return view.text; });
}

void QtWindowSystem::Enable(WindowHandle window, bool enabled) {
  // The runtime writes every record in full; a state the window already has
  // needs no trip to the GUI thread.
  const std::int32_t wanted = enabled ? 1 : 0;
  if (views_.Read(Key(window), -1, [](const WindowView& view) { return view.enabled; }) == wanted) {
    return;
  }
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) {
      dialog->setEnabled(enabled);
      RefreshView(*dialog);
    }
    if (HostControl* control = FindControl(window))
      control->dialog->DisableControl(*control, enabled);
  });
}

std::int32_t QtWindowSystem::IsEnabled(WindowHandle window) {
  return views_.Read(Key(window), std::int32_t{0},
                     [](const WindowView& view) { return view.enabled; });
}

void QtWindowSystem::SetCheck(WindowHandle window, std::int32_t state) {
  Perform([&] {
    if (HostControl* control = FindControl(window)) control->dialog->CheckButton(*control, state);
  });
}

std::int32_t QtWindowSystem::Check(WindowHandle window) {
  return views_.Read(Key(window), std::int32_t{0},
                     [](const WindowView& view) { return view.check; });
}

void QtWindowSystem::SetSelection(WindowHandle window, std::int32_t start, std::int32_t end) {
  const bool caretAlreadyThere =
      start >= 0 && start == end && views_.Read(Key(window), false, [&](const WindowView& view) {
        return !view.hasSelection && view.selectionEnd == start;
      });
  if (caretAlreadyThere) return;
  Perform([&] {
    QLineEdit* edit = LineEdit(FindControl(window));
    if (!edit) return;
    const int length = static_cast<int>(edit->text().size());
    if (start == -1) return edit->deselect();
    // A negative end, or one past the text, means the end of the text; the
    // start is the anchor and the end the caret.
    const int anchor = std::clamp(start, 0, length);
    const int caret = end < 0 ? length : std::min(end, length);
    if (anchor == caret) {
      edit->deselect();
      edit->setCursorPosition(caret);
    } else {
      edit->setSelection(anchor, caret - anchor);
    }
  });
}

std::int32_t QtWindowSystem::SelectionEnd(WindowHandle window) {
  return views_.Read(Key(window), std::int32_t{0},
                     [](const WindowView& view) { return view.selectionEnd; });
}

void QtWindowSystem::SetSpinRange(WindowHandle window, std::int16_t lower, std::int16_t upper) {
  Perform([&] {
    // Only stored: neither the position nor the buddy's text moves.
    HostControl* spin = Spin(FindControl(window));
    if (!spin) return;
    spin->spin.lower = lower;
    spin->spin.upper = upper;
    RefreshView(*spin);
  });
}

void QtWindowSystem::SetSpinPosition(WindowHandle window, std::int32_t position) {
  Perform([&] {
    HostControl* spin = Spin(FindControl(window));
    if (!spin) return;
    spin->spin.position = ClampToRange(position, spin->spin);
    spin->dialog->WriteBuddy(*spin);
  });
}

std::uint32_t QtWindowSystem::SpinPosition(WindowHandle window) {
  std::uint32_t reply = 1u << 16;
  Perform([&] {
    HostControl* spin = Spin(FindControl(window));
    if (!spin) return;
    if (const auto read = spin->dialog->ReadBuddy(*spin)) {
      spin->spin.position = *read;
      reply = static_cast<std::uint16_t>(*read);
      return;
    }
    // The high word flags a buddy text that is no number in range.
    reply = static_cast<std::uint16_t>(ClampToRange(spin->spin.position, spin->spin)) | (1u << 16);
  });
  return reply;
}

std::uint32_t QtWindowSystem::SpinRange(WindowHandle window) {
  return views_.Read(Key(window), std::uint32_t{0},
                     [](const WindowView& view) { return view.spinRange; });
}

void QtWindowSystem::RefreshView(HostControl& control) {
  WindowView fresh;
  fresh.text = ControlText(control);
  fresh.enabled = control.widget->testAttribute(Qt::WA_ForceDisabled) ? 0 : 1;
  if (QLineEdit* edit = LineEdit(&control)) {
    fresh.hasSelection = edit->hasSelectedText();
    fresh.selectionEnd = fresh.hasSelection ? edit->selectionEnd() : edit->cursorPosition();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(control.widget.data())) {
    auto* box = qobject_cast<QCheckBox*>(button);
    const bool partly = box && box->checkState() == Qt::PartiallyChecked;
    fresh.check = partly ? 2 : (button->isChecked() ? 1 : 0);
  }
  if (control.kind == ControlKind::UpDown) {
    fresh.spinRange =
        static_cast<std::uint16_t>(control.spin.upper) |
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(control.spin.lower)) << 16);
  }
  views_.Update(control.handle, [&](WindowView& view) {
    view.text = std::move(fresh.text);
    view.enabled = fresh.enabled;
    view.selectionEnd = fresh.selectionEnd;
    view.hasSelection = fresh.hasSelection;
    view.check = fresh.check;
    view.spinRange = fresh.spinRange;
  });
}

void QtWindowSystem::RefreshView(HostDialog& dialog) {
  std::string title = ToBytes(dialog.windowTitle());
  const std::int32_t enabled = dialog.testAttribute(Qt::WA_ForceDisabled) ? 0 : 1;
  views_.Update(dialog.handle, [&](WindowView& view) {
    view.text = std::move(title);
    view.enabled = enabled;
  });
}

void QtWindowSystem::ShowMessage(std::string_view text, std::string_view caption) {
  const std::string body(text);
  const std::string title(caption);
  Perform([&] {
    QWidget* owner = Widget(ActiveDialog());
    if (!owner) owner = OwnerWidget(nullptr);
    QMessageBox box(QMessageBox::Warning, FromBytes(title), FromBytes(body), QMessageBox::Ok,
                    owner);
    box.exec();
  });
}

void QtWindowSystem::EndProgram() {
  std::fflush(nullptr);
  // Other threads still run; leave without running anyone's destructors.
  std::_Exit(0);
}

}  // namespace quorvane::host
