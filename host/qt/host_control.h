#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

// One control of a dialog as the host keeps it: its template values, its
// widget and the state the widget itself cannot hold.
namespace quorvane::host {

class HostDialog;

enum class ControlKind {
  StaticText,
  StaticIcon,
  GroupBox,
  PushButton,
  CheckBox,
  RadioButton,
  EditBox,
  UpDown,
  Placeholder,
};

// The up-down control's range and position. A fresh control counts from 100
// down to 0, so its up arrow decreases the position until a range is set.
struct SpinState {
  std::int32_t lower = 100;
  std::int32_t upper = 0;
  std::int32_t position = 0;
  int buddy = -1;  // index of the buddy control in template order, -1 for none
};

// An edit box's one step of undo. Undoing it swaps the text back and makes
// the undone text the next step, so a second undo redoes.
struct EditUndo {
  QString before;   // the text the step returns to
  QString shown;    // the text after the last change
  int runEnd = -1;  // the caret after the last typed insertion, -1 for none
};

struct HostControl {
  std::uintptr_t handle = 0;
  HostDialog* dialog = nullptr;
  int index = 0;  // template order
  std::int32_t id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  ControlKind kind = ControlKind::Placeholder;
  QPointer<QWidget> widget;
  bool tabStop = false;
  bool groupStart = false;
  bool automatic = false;  // a button that checks itself when clicked
  std::string placeholderText;
  SpinState spin;
  int spinOfBuddy = -1;  // for an edit box: the index of the up-down it is the buddy of
  EditUndo undo;

  bool TakesFocus() const;
  bool IsUsable() const;  // visible and enabled
};

}  // namespace quorvane::host
