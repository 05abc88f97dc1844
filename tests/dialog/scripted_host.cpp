#include "scripted_host.h"

#include <algorithm>
#include <string>

#include "dialog/window_styles.h"
#include "scripted_window.h"

namespace quorvane::dialog {
namespace {

std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

std::string CaseFolded(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

ScriptedClass ClassOfAtom(std::uint16_t atom) {
  switch (atom) {
    case kButtonAtom:
      return ScriptedClass::Button;
    case kEditAtom:
      return ScriptedClass::Edit;
    case kStaticAtom:
      return ScriptedClass::Static;
    case kListBoxAtom:
      return ScriptedClass::ListBox;
    case kScrollBarAtom:
      return ScriptedClass::ScrollBar;
    case kComboBoxAtom:
      return ScriptedClass::ComboBox;
    default:
      return ScriptedClass::Other;
  }
}

}  // namespace

WindowHandle HandleOf(ScriptedWindow* window) {
  return reinterpret_cast<WindowHandle>(window);
}
ScriptedWindow* WindowOf(WindowHandle handle) {
  return reinterpret_cast<ScriptedWindow*>(handle);
}

ScriptedClass ClassOfItem(const DialogItemTemplate& item) {
  if (item.windowClass.IsOrdinal()) return ClassOfAtom(*item.windowClass.ordinal);
  const std::string name = CaseFolded(item.windowClass.name);
  if (name == "button") return ScriptedClass::Button;
  if (name == "edit") return ScriptedClass::Edit;
  if (name == "static") return ScriptedClass::Static;
  if (name == "listbox") return ScriptedClass::ListBox;
  if (name == "scrollbar") return ScriptedClass::ScrollBar;
  if (name == "combobox") return ScriptedClass::ComboBox;
  if (name == CaseFolded(kUpDownClass)) return ScriptedClass::UpDown;
  if (name == CaseFolded(kTrackBarClass)) return ScriptedClass::TrackBar;
  if (name == CaseFolded(kProgressClass)) return ScriptedClass::Progress;
  if (name == CaseFolded(kTabControlClass)) return ScriptedClass::Tab;
  return ScriptedClass::Other;
}

ScriptedHost::ScriptedHost(const ResourceTable& resources) : resources_(resources) {
  frame_ = std::make_unique<ScriptedWindow>();
  frame_->windowClass = ScriptedClass::Frame;
}

ScriptedHost::~ScriptedHost() = default;

std::string ScriptedHost::Name(const ScriptedWindow* window) const {
  if (window == nullptr) return "none";
  if (window->windowClass == ScriptedClass::Frame) return "frame";
  if (window->windowClass == ScriptedClass::Dialog) return "dialog";
  return std::to_string(window->id);
}

// Writes the call down (when records are kept) and gives the window when it
// may be used.
ScriptedWindow* ScriptedHost::Live(WindowHandle handle, std::string_view operation,
                                   std::initializer_list<std::int32_t> numbers,
                                   std::optional<std::string_view> text) {
  ScriptedWindow* window = WindowOf(handle);
  if (keepRecord_) {
    std::string line(operation);
    if (operation != "EndDialog") line.append(" ").append(Name(window));
    for (std::int32_t number : numbers) line.append(" ").append(std::to_string(number));
    if (text) line.append(" ").append(Quoted(*text));
    if (window == nullptr) line += " (no window)";
    if (window != nullptr && window->destroyed) line += " (destroyed)";
    Log(std::move(line));
  }
  return window != nullptr && !window->destroyed ? window : nullptr;
}

std::optional<std::span<const std::uint8_t>> ScriptedHost::FindResource(ModuleHandle module,
                                                                        std::int32_t type,
                                                                        std::int32_t id) {
  return resources_.Find(module, type, id);
}

ModuleHandle ScriptedHost::WindowModule(WindowHandle window) {
  ScriptedWindow* w = WindowOf(window);
  return w == nullptr ? kProgramModule : w->module;
}

WindowHandle ScriptedHost::DefaultParent() {
  return useFrame_ ? HandleOf(frame_.get()) : nullptr;
}

void ScriptedHost::EndDialog(WindowHandle dialog, std::int32_t result) {
  ScriptedWindow* window = Live(dialog, "EndDialog", {result});
  if (window == nullptr || window->windowClass != ScriptedClass::Dialog) return;
  window->ended = true;
  window->result = result;
}

void ScriptedHost::SetUserData(WindowHandle window, std::intptr_t value) {
  if (ScriptedWindow* w = WindowOf(window)) w->userData = value;
}

std::intptr_t ScriptedHost::UserData(WindowHandle window) {
  ScriptedWindow* w = WindowOf(window);
  return w == nullptr ? 0 : w->userData;
}

void ScriptedHost::SetMessageResult(WindowHandle dialog, std::intptr_t value) {
  if (ScriptedWindow* w = WindowOf(dialog)) w->messageResult = value;
}

WindowHandle ScriptedHost::DialogItem(WindowHandle dialog, std::int32_t id) {
  ScriptedWindow* w = WindowOf(dialog);
  if (w == nullptr || w->destroyed) return nullptr;
  for (ScriptedWindow* control : w->controls) {
    if (control->id == id) return HandleOf(control);
  }
  return nullptr;
}

std::int32_t ScriptedHost::ControlId(WindowHandle control) {
  ScriptedWindow* w = WindowOf(control);
  return w == nullptr ? 0 : w->id;
}

void ScriptedHost::SetText(WindowHandle control, std::string_view text) {
  ScriptedWindow* w = Live(control, "SetText", {}, text);
  if (w == nullptr) return;
  if (w->windowClass == ScriptedClass::Edit) {
    w->text = std::string(text);
    w->selectionStart = w->selectionEnd = 0;
    NotifyCommand(*w, EN_UPDATE);
    NotifyCommand(*w, EN_CHANGE);
    return;
  }
  w->text = std::string(text);
}

std::string ScriptedHost::Text(WindowHandle control) {
  ScriptedWindow* w = Live(control, "Text");
  return w == nullptr ? std::string() : w->text;
}

void ScriptedHost::Enable(WindowHandle control, bool enabled) {
  ScriptedWindow* w = Live(control, "Enable", {enabled});
  if (w != nullptr) w->enabled = enabled;
}

std::int32_t ScriptedHost::IsEnabled(WindowHandle control) {
  ScriptedWindow* w = Live(control, "IsEnabled");
  return w != nullptr && w->enabled ? 1 : 0;
}

void ScriptedHost::SetCheck(WindowHandle control, std::int32_t state) {
  ScriptedWindow* w = Live(control, "SetCheck", {state});
  if (w != nullptr) w->check = state;
}

std::int32_t ScriptedHost::Check(WindowHandle control) {
  ScriptedWindow* w = Live(control, "Check");
  return w == nullptr ? 0 : w->check;
}

void ScriptedHost::SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) {
  ScriptedWindow* w = Live(edit, "SetSelection", {start, end});
  if (w == nullptr) return;
  const auto length = static_cast<std::int32_t>(w->text.size());
  if (start == -1) {
    w->selectionStart = w->selectionEnd;
    return;
  }
  w->selectionStart = std::clamp(start, 0, length);
  w->selectionEnd = end < 0 ? length : std::clamp(end, 0, length);
}

std::int32_t ScriptedHost::SelectionEnd(WindowHandle edit) {
  ScriptedWindow* w = Live(edit, "SelectionEnd");
  return w == nullptr ? 0 : std::max(w->selectionStart, w->selectionEnd);
}

void ScriptedHost::ShowMessage(std::string_view text, std::string_view caption) {
  Log("ShowMessage " + Quoted(caption) + " " + Quoted(text));
  messages_.emplace_back(text);
}

void ScriptedHost::EndProgram() {
  Log("EndProgram");
  throw ProgramEnded();
}

std::vector<std::string> ScriptedHost::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> matching;
  for (const std::string& line : calls_) {
    if (line.starts_with(prefix)) matching.push_back(line);
  }
  return matching;
}

}  // namespace quorvane::dialog
