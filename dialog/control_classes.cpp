#include "dialog/control_classes.h"

#include <array>
#include <string>

#include "dialog/form_access.h"
#include "dialog/window_styles.h"

namespace quorvane::dialog {
namespace {

constexpr std::uint32_t kComboTypeMask = 0x3;
constexpr char kActiveXClassStart = '{';

Classification ClassifyButton(std::uint32_t style) {
  switch (style & kButtonTypeMask) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return {ControlClass::PushButton, {}};
    case BS_AUTOCHECKBOX:
      return {ControlClass::CheckBox, {}};
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
      return {ControlClass::RadioButton, {}};
    case BS_GROUPBOX:
      return {ControlClass::GroupBox, {}};
    case BS_OWNERDRAW:
      return {std::nullopt, "BS_OWNERDRAW"};
    case BS_USERBUTTON:
      return {std::nullopt, "BS_USERBUTTON"};
    default:
      return {std::nullopt, "<unknown>"};
  }
}

Classification ClassifyListBox(std::uint32_t style) {
  if ((style & LBS_OWNERDRAWFIXED) != 0) return {std::nullopt, "LBS_OWNERDRAWFIXED"};
  if ((style & LBS_OWNERDRAWVARIABLE) != 0) return {std::nullopt, "LBS_OWNERDRAWVARIABLE"};
  return {ControlClass::ListBox, {}};
}

Classification ClassifyComboBox(std::uint32_t style) {
  if ((style & CBS_OWNERDRAWFIXED) != 0) return {std::nullopt, "CBS_OWNERDRAWFIXED"};
  if ((style & CBS_OWNERDRAWVARIABLE) != 0) return {std::nullopt, "CBS_OWNERDRAWVARIABLE"};
  if ((style & kComboTypeMask) == CBS_DROPDOWNLIST) return {ControlClass::DropDownList, {}};
  return {ControlClass::ComboBox, {}};
}

Classification ClassifyAtom(std::uint16_t atom, std::uint32_t style) {
  switch (atom) {
    case kButtonAtom:
      return ClassifyButton(style);
    case kEditAtom:
      return {ControlClass::EditBox, {}};
    case kStaticAtom:
      return {ControlClass::StaticText, {}};
    case kListBoxAtom:
      return ClassifyListBox(style);
    case kScrollBarAtom:
      return {ControlClass::ScrollBar, {}};
    case kComboBoxAtom:
      return ClassifyComboBox(style);
    default:
      return {};
  }
}

Classification ClassifyName(std::string_view name) {
  if (name == kUpDownClass) return {ControlClass::Spinner, {}};
  if (name == kTrackBarClass) return {ControlClass::Slider, {}};
  if (name == kProgressClass) return {ControlClass::ProgressBar, {}};
  if (name == kTabControlClass) return {ControlClass::TabControl, {}};
  if (!name.empty() && name.front() == kActiveXClassStart) return {ControlClass::ActiveX, {}};
  return {};
}

struct ClassLayout {
  std::vector<std::int32_t> integers;
  std::size_t logicalCount;
  std::size_t handlerCount;
  bool hasText;
};

// Integers after load, number of logicals, number of handler slots, and
// whether the caption becomes the record's text.
ClassLayout LayoutOf(ControlClass controlClass) {
  switch (controlClass) {
    case ControlClass::StaticText:
    case ControlClass::GroupBox:
      return {{}, 1, 0, true};
    case ControlClass::PushButton:
      return {{}, 1, 1, true};
    case ControlClass::CheckBox:
      return {{}, 2, 1, true};
    case ControlClass::RadioButton:
      return {{0, 0}, 2, 1, true};
    case ControlClass::EditBox:
      return {{0, 0}, 1, 4, true};
    case ControlClass::ScrollBar:
      return {{0, 100, 1, 10, 1}, 1, 1, false};
    case ControlClass::ListBox:
      return {{0, 0}, 1, 2, false};
    case ControlClass::ComboBox:
      return {{0}, 1, 6, false};
    case ControlClass::DropDownList:
      return {{0, 0}, 2, 2, false};
    case ControlClass::Spinner:
      return {{0, 100, 1, 1, 0}, 1, 1, false};
    case ControlClass::Slider:
      return {{0, 100, 1, 10, 0, 1}, 1, 1, false};
    case ControlClass::ProgressBar:
      return {{0, 100, 0}, 1, 0, false};
    case ControlClass::TabControl:
      return {{0, 0}, 2, 2, false};
    case ControlClass::ActiveX:
      return {{0}, 1, 1, false};
  }
  return {{}, 1, 0, false};
}

}  // namespace

bool IsButtonWithStyle(const DialogItemTemplate& item, std::uint32_t buttonType) {
  return item.windowClass.ordinal == kButtonAtom && (item.style & kButtonTypeMask) == buttonType;
}

Classification ClassifyItem(const DialogItemTemplate& item) {
  if (item.windowClass.IsOrdinal()) return ClassifyAtom(*item.windowClass.ordinal, item.style);
  return ClassifyName(item.windowClass.name);
}

ControlRecord MakeRecord(ControlClass controlClass, const DialogItemTemplate& item) {
  ClassLayout layout = LayoutOf(controlClass);
  ControlRecord record;
  record.controlClass = controlClass;
  record.id = item.id;
  record.integers = std::move(layout.integers);
  record.logicals.assign(layout.logicalCount, kFalse);
  record.logicals[0] = (item.style & WS_DISABLED) != 0 ? kFalse : kTrue;
  if (controlClass == ControlClass::CheckBox) record.logicals[1] = kTrue;
  const ControlHandler initial =
      controlClass == ControlClass::PushButton ? DefaultPushButtonHandler : NoOpHandler;
  record.handlers.assign(layout.handlerCount, initial);
  record.hasText = layout.hasText;
  if (layout.hasText && !item.title.IsOrdinal()) record.text = TrimTrailingBlanks(item.title.name);
  if (controlClass == ControlClass::EditBox) {
    record.integers[0] = static_cast<std::int32_t>(record.text.size());
  }
  return record;
}

std::optional<std::size_t> HandlerSlot(ControlClass controlClass, EventKind kind) {
  using E = EventKind;
  // Events each class reports, slot 1 first; Default means slot 1.
  static const std::array<std::vector<EventKind>, 16> kEvents = {{
      {},                                                     // (none)
      {},                                                     // static text
      {},                                                     // group box
      {E::Clicked},                                           // push button
      {E::Clicked},                                           // check box
      {E::Clicked},                                           // radio button
      {E::Changed, E::Update, E::GainedFocus, E::LostFocus},  // edit box
      {E::Changed},                                           // scroll bar
      {E::SelectionChanged, E::DoubleClicked},                // list box
      {E::SelectionChanged, E::DoubleClicked, E::Update, E::Changed, E::GainedFocus,
       E::LostFocus},                               // combo box
      {E::SelectionChanged, E::DoubleClicked},      // drop-down list
      {E::Changed},                                 // spinner
      {E::Changed},                                 // slider
      {},                                           // progress bar
      {E::SelectionChanged, E::SelectionChanging},  // tab control
      {},                                           // ActiveX
  }};
  const auto index = static_cast<std::size_t>(controlClass);
  if (index >= kEvents.size()) return std::nullopt;
  const auto& events = kEvents[index];
  if (events.empty()) return std::nullopt;
  if (kind == EventKind::Default) return 0;
  for (std::size_t slot = 0; slot < events.size(); ++slot) {
    if (events[slot] == kind) return slot;
  }
  return std::nullopt;
}

}  // namespace quorvane::dialog
