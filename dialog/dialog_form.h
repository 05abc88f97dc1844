#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/resources.h"
#include "dialog/window_system.h"

// A form loaded from a dialog template: one typed record per control.
namespace quorvane::dialog {

// Logical values: true is -1, false is 0; only bit 0 is ever tested.
using Logical = std::int32_t;
inline constexpr Logical kTrue = -1;
inline constexpr Logical kFalse = 0;
inline bool IsTrue(Logical value) {
  return (value & 1) != 0;
}

// Value kinds and event kinds share one signed number space; a positive
// number as a value kind is an item index.
enum class ValueKind : std::int32_t {
  Default = -1,
  Title = -2,
  Enabled = -3,
  State = -5,
  RangeMax = -8,
  Position = -9,
  BigStep = -11,
  SmallStep = -12,
  ItemCount = -13,
  RangeMin = -16,
  TickFrequency = -17,
  AddItem = -21,
  TextLength = -22,
  ObjectHandle = -23,
};

enum class EventKind : std::int32_t {
  Init = 0,
  Default = -1,
  Clicked = -4,
  Changed = -6,
  Update = -7,
  SelectionChanged = -10,
  DoubleClicked = -14,
  Destroy = -15,
  GainedFocus = -18,
  LostFocus = -19,
  SelectionChanging = -20,
  SizeChanged = -24,
};

struct DialogForm;

// A routine called for an event of a control: the form, the control id and
// the event that fired.
using ControlHandler = void (*)(DialogForm& form, std::int32_t controlId, EventKind eventKind);

// Ignores its arguments.
void NoOpHandler(DialogForm& form, std::int32_t controlId, EventKind eventKind);
// Sets the form's result to the button's id and ends the run.
void DefaultPushButtonHandler(DialogForm& form, std::int32_t controlId, EventKind eventKind);

enum class ControlClass : std::int32_t {
  StaticText = 1,
  GroupBox = 2,
  PushButton = 3,
  CheckBox = 4,
  RadioButton = 5,
  EditBox = 6,
  ScrollBar = 7,
  ListBox = 8,
  ComboBox = 9,
  DropDownList = 10,
  Spinner = 11,
  Slider = 12,
  ProgressBar = 13,
  TabControl = 14,
  ActiveX = 15,
};

// The values of one control. Lists are indexed from 1 in the documentation of
// each class; here element [0] is integer 1, logical 1 and slot 1.
struct ControlRecord {
  ControlClass controlClass = ControlClass::StaticText;
  std::int32_t id = 0;
  Logical changed = kTrue;
  Logical duplicate = kFalse;
  std::vector<std::int32_t> integers;
  std::vector<Logical> logicals;       // [0] enabled, [1] checked state where the class has one
  std::vector<std::string> itemTexts;  // list-type classes only
  std::vector<ControlHandler> handlers;
  std::string text;  // caption or contents, trailing blanks removed
  bool hasText = false;
};

// The record after the controls: the form as a whole.
struct FormRecord {
  ModuleHandle module = kProgramModule;
  Logical hasActiveX = kFalse;
  ControlHandler sizeChangedHandler = NoOpHandler;
  std::string title;
  bool hasTitle = false;
};

struct DialogForm {
  std::int32_t templateId = 0;
  WindowHandle window = nullptr;
  std::int32_t result = 1;
  Logical formChanged = kTrue;
  Logical writing = kFalse;
  Logical selectionFlag = kTrue;
  ControlHandler initHandler = NoOpHandler;
  std::vector<ControlRecord> controls;  // in template order
  FormRecord formRecord;
  bool modal = false;
};

// Loads template templateId of the program's own module into form.
// -1 when loaded, 0 when there is no such template (or it is malformed).
Logical LoadForm(DialogForm& form, std::int32_t templateId);
Logical LoadFormFromModule(DialogForm& form, std::int32_t templateId, ModuleHandle module);

}  // namespace quorvane::dialog
