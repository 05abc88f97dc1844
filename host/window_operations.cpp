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

#include "host/qt_window_system.h"

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
  dialog::ModuleHandle module = dialog::kProgramModule;
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) module = dialog->module;
    if (HostControl* control = FindControl(window)) module = control->dialog->module;
  });
  return module;
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

void QtWindowSystem::SetUserData(WindowHandle window, std::intptr_t value) {
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) dialog->userData = value;
    if (HostControl* control = FindControl(window)) control->userData = value;
  });
}

std::intptr_t QtWindowSystem::UserData(WindowHandle window) {
  std::intptr_t value = 0;
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) value = dialog->userData;
    if (HostControl* control = FindControl(window)) value = control->userData;
  });
  return value;
}

void QtWindowSystem::SetMessageResult(WindowHandle window, std::intptr_t value) {
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) dialog->messageResult = value;
  });
}

WindowHandle QtWindowSystem::DialogItem(WindowHandle window, std::int32_t id) {
  std::uintptr_t handle = 0;
  Perform([&] {
    HostDialog* dialog = FindDialog(window);
    HostControl* control = dialog ? dialog->FindControl(id) : nullptr;
    if (control) handle = control->handle;
  });
  return reinterpret_cast<WindowHandle>(handle);
}

std::int32_t QtWindowSystem::ControlId(WindowHandle window) {
  std::int32_t id = 0;
  Perform([&] {
    if (HostControl* control = FindControl(window)) id = control->id;
  });
  return id;
}

void QtWindowSystem::SetText(WindowHandle window, std::string_view text) {
  const std::string bytes(text);
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) dialog->setWindowTitle(FromBytes(bytes));
    if (HostControl* control = FindControl(window))
      SetControlText(*control, FromBytes(bytes), bytes);
  });
}

std::string QtWindowSystem::Text(WindowHandle window) {
  std::string text;
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) text = ToBytes(dialog->windowTitle());
    if (HostControl* control = FindControl(window)) text = ControlText(*control);
  });
  return text;
}

void QtWindowSystem::Enable(WindowHandle window, bool enabled) {
  Perform([&] {
    if (HostDialog* dialog = FindDialog(window)) dialog->setEnabled(enabled);
    if (HostControl* control = FindControl(window))
      control->dialog->DisableControl(*control, enabled);
  });
}

std::int32_t QtWindowSystem::IsEnabled(WindowHandle window) {
  std::int32_t enabled = 0;
  Perform([&] {
    if (QWidget* widget = Widget(window)) {
      enabled = widget->testAttribute(Qt::WA_ForceDisabled) ? 0 : 1;
    }
  });
  return enabled;
}

void QtWindowSystem::SetCheck(WindowHandle window, std::int32_t state) {
  Perform([&] {
    if (HostControl* control = FindControl(window)) control->dialog->CheckButton(*control, state);
  });
}

std::int32_t QtWindowSystem::Check(WindowHandle window) {
  std::int32_t state = 0;
  Perform([&] {
    HostControl* control = FindControl(window);
    auto* button = control ? qobject_cast<QAbstractButton*>(control->widget.data()) : nullptr;
    if (!button) return;
    auto* box = qobject_cast<QCheckBox*>(button);
    if (box && box->checkState() == Qt::PartiallyChecked) {
      state = 2;
    } else {
      state = button->isChecked() ? 1 : 0;
    }
  });
  return state;
}

void QtWindowSystem::SetSelection(WindowHandle window, std::int32_t start, std::int32_t end) {
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
  std::int32_t end = 0;
  Perform([&] {
    QLineEdit* edit = LineEdit(FindControl(window));
    if (!edit) return;
    end = edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
  });
  return end;
}

void QtWindowSystem::SetSpinRange(WindowHandle window, std::int16_t lower, std::int16_t upper) {
  Perform([&] {
    // Only stored: neither the position nor the buddy's text moves.
    if (HostControl* spin = Spin(FindControl(window)))
      spin->spin = {lower, upper, spin->spin.position, spin->spin.buddy};
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
  std::uint32_t reply = 0;
  Perform([&] {
    if (HostControl* spin = Spin(FindControl(window))) {
      reply = static_cast<std::uint16_t>(spin->spin.upper) |
              (static_cast<std::uint32_t>(static_cast<std::uint16_t>(spin->spin.lower)) << 16);
    }
  });
  return reply;
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
