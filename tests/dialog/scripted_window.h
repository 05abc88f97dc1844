#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "dialog/window_system.h"

// The state of one window of the scripted host.
namespace quorvane::dialog {

enum class ScriptedClass {
  Dialog,
  Frame,
  Button,
  Edit,
  Static,
  ListBox,
  ScrollBar,
  ComboBox,
  UpDown,
  TrackBar,
  Progress,
  Tab,
  Other
};

struct ScriptedWindow {
  ScriptedClass windowClass = ScriptedClass::Other;
  ScriptedWindow* dialog = nullptr;  // the dialog a control belongs to
  std::vector<ScriptedWindow*> controls;
  DialogItemTemplate item;  // the template item of a control
  std::int32_t id = 0;
  std::int32_t templateId = 0;
  ModuleHandle module = kProgramModule;
  WindowProcedure procedure = nullptr;
  std::intptr_t userData = 0;
  std::intptr_t messageResult = 0;
  bool destroyed = false;
  bool ended = false;
  std::int32_t result = 0;

  std::string text;
  bool enabled = true;
  std::int32_t check = 0;
  std::int32_t selectionStart = 0;
  std::int32_t selectionEnd = 0;
  // Up-down control: the default range runs from 100 down to 0.
  std::int32_t spinLower = 100;
  std::int32_t spinUpper = 0;
  std::int32_t spinPosition = 0;
  ScrollInfo scroll;
  bool scrollEnabled = true;
  std::int32_t sliderMin = 0, sliderMax = 100, sliderPosition = 0, sliderLine = 1, sliderPage = 10,
               sliderTicks = 1;
  std::int32_t progressLower = 0, progressUpper = 100, progressPosition = 0;
  std::vector<std::string> items;
  std::int32_t currentItem = -1;
};

WindowHandle HandleOf(ScriptedWindow* window);
ScriptedWindow* WindowOf(WindowHandle handle);
ScriptedClass ClassOfItem(const DialogItemTemplate& item);
// The edit box an up-down control writes its position into, if any.
ScriptedWindow* SpinBuddy(ScriptedWindow& spin);

}  // namespace quorvane::dialog
