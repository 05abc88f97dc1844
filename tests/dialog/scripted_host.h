#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/dialog_template.h"
#include "dialog/resources.h"
#include "dialog/window_system.h"

// An in-memory windowing host for tests. It creates dialogs from the same
// template bytes as the real host, keeps each control's state, raises the
// notifications the real controls raise, records every call the runtime makes
// (in order, as one line each), and runs a script of user actions inside the
// modal loop.
//
// Call log lines (control windows are named by their id, the dialog by "dialog"):
//   RunModalDialog <module> <template id> <parent>   parent: none | frame | dialog <id>
//   EndDialog <result>
//   SetText <id> "<text>"            Text <id>
//   Enable <id> <0|1>                IsEnabled <id>
//   SetCheck <id> <state>            Check <id>
//   SetSelection <id> <start> <end>  SelectionEnd <id>
//   SetSpinRange <id> <lower> <upper>  SetSpinPosition <id> <position>
//   SpinPosition <id>                SpinRange <id>
//   SetScrollInfo <id> <min> <max> <page> <position>  GetScrollInfo <id>
//   SetScrollPosition <id> <position>  EnableScrollBar <id> <0|1>
//   SetSliderRange <id> <lower> <upper>  SetSliderPosition|LineSize|PageSize|TickFrequency <id> <v>
//   SliderPosition|SliderRangeMax|SliderRangeMin|SliderLineSize|SliderPageSize <id>
//   SetProgressRange <id> <lower> <upper>  SetProgressPosition <id> <v>
//   ClearItems <id>  AddItem <id> "<text>"  ItemCount <id>  ItemText <id> <index>
//   SetCurrentItem <id> <index>  CurrentItem <id>
//   ShowMessage "<caption>" "<text>"
//   EndProgram
// A call on a window that is already destroyed is logged with " (destroyed)"
// appended and otherwise ignored.
namespace quorvane::dialog {

// Thrown by EndProgram so that a test can watch the fatal path end the program.
struct ProgramEnded : std::runtime_error {
  ProgramEnded() : std::runtime_error("the program was ended") {}
};

struct ScriptedWindow;

class ScriptedHost final : public WindowSystem {
 public:
  // Dialog templates and other resources come from resources (by module, type and id).
  explicit ScriptedHost(const ResourceTable& resources = ProcessResources());
  ~ScriptedHost() override;
  ScriptedHost(const ScriptedHost&) = delete;
  ScriptedHost& operator=(const ScriptedHost&) = delete;

  // ---- The script. Each call queues one step; the steps run in order, one at
  // a time, inside whichever modal loop is innermost when the step's turn
  // comes. A loop whose script runs dry (or that exceeds kStepLimit steps)
  // stops: the dialog is destroyed and RunModalDialog returns -1.
  static constexpr int kStepLimit = 100000;

  // Selects all of the edit box's text and types the characters one by one:
  // each accepted character raises EN_UPDATE and EN_CHANGE. An ES_NUMBER edit
  // box refuses characters other than digits. Nothing on a disabled control.
  void TypeText(std::int32_t controlId, std::string_view text);
  // A mouse click: push buttons notify; automatic check boxes toggle and
  // automatic radio buttons check themselves and clear their WS_GROUP group,
  // then notify BN_CLICKED. Nothing on a disabled control.
  void Click(std::int32_t controlId);
  // IDCANCEL (Escape, and the title bar's close box) and the Enter key (the
  // default push button's id, else IDOK); silent when that control is disabled.
  void PressEscape();
  void PressCloseBox();
  void PressEnter();
  // A click on an up-down control's arrows: UDN_DELTAPOS, the position moved
  // and clamped to the range, the buddy rewritten, WM_VSCROLL SB_THUMBPOSITION
  // with the new position, then SB_ENDSCROLL.
  void SpinUp(std::int32_t spinnerId);
  void SpinDown(std::int32_t spinnerId);
  // A list box, combo box or tab control selection by the user (index from 0).
  void SelectItem(std::int32_t controlId, std::int32_t index);
  // Raw notifications, for the dispatch tables.
  void SendCommand(std::int32_t controlId, std::int32_t code);
  void SendNotify(std::int32_t controlId, std::int32_t code);
  void SendScroll(std::int32_t controlId, std::int32_t code, std::int32_t position,
                  bool vertical = true);
  void SendSize(std::int32_t sizeType);
  // Any code, run inside the loop at this point of the script.
  void Then(std::function<void()> step);

  // ---- What the innermost shown dialog shows now (for Then steps).
  bool IsShowing() const;
  std::string ShownText(std::int32_t controlId) const;
  bool ShownEnabled(std::int32_t controlId) const;
  std::int32_t ShownCheck(std::int32_t controlId) const;
  std::int32_t ShownSpinPosition(std::int32_t controlId) const;
  std::int32_t ShownSelectionEnd(std::int32_t controlId) const;
  std::string ShownTitle() const;

  // ---- The record of the runtime's calls.
  const std::vector<std::string>& Calls() const { return calls_; }
  // Whether calls are written down (on by default; benchmarks turn it off).
  void KeepRecord(bool keep) { keepRecord_ = keep; }
  void ClearCalls() { calls_.clear(); }
  // Lines of the log that begin with prefix.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;
  const std::vector<std::string>& Messages() const { return messages_; }
  bool SafetyStopped() const { return safetyStopped_; }

  // ---- Set-up.
  // Gives DefaultParent() a hidden frame window (logged as "frame").
  void UseFrame(bool enabled) { useFrame_ = enabled; }
  // The next RunModalDialog calls fail (-1) as when the host cannot create the window.
  void RefuseDialogs(bool refused) { refuseDialogs_ = refused; }

  // ---- WindowSystem.
  std::optional<std::span<const std::uint8_t>> FindResource(ModuleHandle module, std::int32_t type,
                                                            std::int32_t id) override;
  ModuleHandle WindowModule(WindowHandle window) override;
  WindowHandle DefaultParent() override;
  std::int32_t RunModalDialog(ModuleHandle module, std::int32_t templateId, WindowHandle parent,
                              WindowProcedure procedure, std::intptr_t creationParameter) override;
  void EndDialog(WindowHandle dialog, std::int32_t result) override;
  void SetUserData(WindowHandle window, std::intptr_t value) override;
  std::intptr_t UserData(WindowHandle window) override;
  void SetMessageResult(WindowHandle dialog, std::intptr_t value) override;
  WindowHandle DialogItem(WindowHandle dialog, std::int32_t id) override;
  std::int32_t ControlId(WindowHandle control) override;
  void SetText(WindowHandle control, std::string_view text) override;
  std::string Text(WindowHandle control) override;
  void Enable(WindowHandle control, bool enabled) override;
  std::int32_t IsEnabled(WindowHandle control) override;
  void SetCheck(WindowHandle control, std::int32_t state) override;
  std::int32_t Check(WindowHandle control) override;
  void SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) override;
  std::int32_t SelectionEnd(WindowHandle edit) override;
  void SetSpinRange(WindowHandle spin, std::int16_t lower, std::int16_t upper) override;
  void SetSpinPosition(WindowHandle spin, std::int32_t position) override;
  std::uint32_t SpinPosition(WindowHandle spin) override;
  std::uint32_t SpinRange(WindowHandle spin) override;
  void SetScrollInfo(WindowHandle bar, const ScrollInfo& info) override;
  ScrollInfo GetScrollInfo(WindowHandle bar) override;
  void SetScrollPosition(WindowHandle bar, std::int32_t position) override;
  void EnableScrollBar(WindowHandle bar, bool enabled) override;
  void SetSliderRange(WindowHandle slider, std::int16_t lower, std::int16_t upper) override;
  void SetSliderPosition(WindowHandle slider, std::int32_t value) override;
  void SetSliderLineSize(WindowHandle slider, std::int32_t value) override;
  void SetSliderPageSize(WindowHandle slider, std::int32_t value) override;
  void SetSliderTickFrequency(WindowHandle slider, std::int32_t value) override;
  std::int32_t SliderPosition(WindowHandle slider) override;
  std::int32_t SliderRangeMax(WindowHandle slider) override;
  std::int32_t SliderRangeMin(WindowHandle slider) override;
  std::int32_t SliderLineSize(WindowHandle slider) override;
  std::int32_t SliderPageSize(WindowHandle slider) override;
  void SetProgressRange(WindowHandle progress, std::int16_t lower, std::int16_t upper) override;
  void SetProgressPosition(WindowHandle progress, std::int32_t value) override;
  void ClearItems(WindowHandle list) override;
  void AddItem(WindowHandle list, std::string_view text) override;
  std::int32_t ItemCount(WindowHandle list) override;
  std::string ItemText(WindowHandle list, std::int32_t index) override;
  void SetCurrentItem(WindowHandle list, std::int32_t index) override;
  std::int32_t CurrentItem(WindowHandle list) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  [[noreturn]] void EndProgram() override;

 private:
  void Queue(std::function<void()> step);
  void RunLoop(ScriptedWindow& dialog);
  ScriptedWindow* CreateDialog(ModuleHandle module, std::int32_t templateId,
                               const DialogTemplate& dialogTemplate, WindowProcedure procedure);
  ScriptedWindow* Innermost() const;
  ScriptedWindow* ShownControl(std::int32_t controlId) const;
  ScriptedWindow* Live(WindowHandle window, std::string_view operation,
                       std::initializer_list<std::int32_t> numbers = {},
                       std::optional<std::string_view> text = std::nullopt);
  void Log(std::string line) {
    if (keepRecord_) calls_.push_back(std::move(line));
  }
  std::string Name(const ScriptedWindow* window) const;
  // Sends one message to the dialog's window procedure.
  std::intptr_t Send(ScriptedWindow& dialog, const WindowMessage& message);
  void NotifyCommand(ScriptedWindow& control, std::int32_t code);
  void TypeInto(ScriptedWindow& edit, std::string_view text);
  void StepSpinner(std::int32_t spinnerId, int direction);
  void MoveSpin(ScriptedWindow& spin, std::int32_t position);
  std::uint32_t SpinReply(ScriptedWindow& spin);
  void ClickAutomaticRadio(ScriptedWindow& radio);
  void PressCommand(std::int32_t id);

  const ResourceTable& resources_;
  std::vector<std::unique_ptr<ScriptedWindow>> windows_;  // kept until the host goes
  std::vector<ScriptedWindow*> running_;                  // shown dialogs, innermost last
  std::deque<std::function<void()>> script_;
  std::vector<std::string> calls_;
  std::vector<std::string> messages_;
  std::unique_ptr<ScriptedWindow> frame_;
  int stepsRun_ = 0;
  bool keepRecord_ = true;
  bool useFrame_ = false;
  bool refuseDialogs_ = false;
  bool safetyStopped_ = false;
};

}  // namespace quorvane::dialog
