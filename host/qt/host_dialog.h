#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dialog/resources.h"
#include "dialog/window_system.h"
#include "host/qt/host_control.h"

class QContextMenuEvent;
class QKeyEvent;

// A dialog window built from a template, with the dialog manager's keyboard
// handling, control notifications and the rule that only the program ends it.
namespace quorvane::host {

class HostDialog;

// Where a dialog's notifications go. The second message, when given, is sent
// only when the window procedure leaves the first unhandled (the close box
// becomes IDCANCEL that way).
class NotificationSink {
 public:
  virtual ~NotificationSink() = default;
  virtual void Emit(HostDialog& dialog, const dialog::WindowMessage& message,
                    const std::optional<dialog::WindowMessage>& fallback) = 0;
  // A control's text, caret, check or enabled state has changed; told before
  // any notification the change causes.
  virtual void StateChanged(HostControl& control) = 0;
};

class HostDialog : public QDialog {
  Q_OBJECT

 public:
  HostDialog(QWidget* owner, NotificationSink& sink, dialog::ModuleHandle module);
  ~HostDialog() override;

  std::uintptr_t handle = 0;
  dialog::ModuleHandle module = dialog::kProgramModule;
  std::vector<std::unique_ptr<HostControl>> controls;

  HostControl* FindControl(std::int32_t id);
  HostControl* ControlOf(const QObject* object);
  HostControl* FocusedControl();

  // Wires a control's widget (and its inner widgets) to the dialog's input handling.
  void Attach(HostControl& control);

  // User actions, as the dialog manager performs them.
  void ClickRadio(HostControl& radio);
  void StepSpin(HostControl& spin, int direction, bool byMouse);
  void EndSpinScroll(HostControl& spin);
  void SendCommand(std::int32_t id, std::int32_t code, const HostControl* control);

  // Keyboard navigation and the Enter and Escape commands.
  bool HandleDialogKey(HostControl* focus, QKeyEvent& event);
  void GiveFocus(HostControl& control, Qt::FocusReason reason);
  void FocusFirstTabStop();

  // Program-side changes that keep the dialog manager's bookkeeping.
  void CheckButton(HostControl& button, int state);
  void SetEditText(HostControl& edit, const QString& text);
  void WriteBuddy(HostControl& spin);
  void DisableControl(HostControl& control, bool enabled);
  // Tells the sink that the control's state has changed.
  void Refresh(HostControl& control);

  // The spin position from its buddy's text; nothing when the text is no
  // number in range.
  std::optional<std::int32_t> ReadBuddy(const HostControl& spin) const;

  void done(int) override {}
  void accept() override {}
  void reject() override {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool FilterEdit(HostControl& edit, QEvent& event);
  void MoveTab(HostControl* focus, bool forward);
  void MoveInGroup(HostControl& focus, bool forward);
  std::int32_t DefaultCommandId() const;
  bool CommandBlocked(std::int32_t id) const;
  void OnEditTextChanged(HostControl& edit);
  void OnEditedByUser(HostControl& edit);
  void ForgetUndo(HostControl& edit);
  bool CanUndo(HostControl& edit);
  void UndoEdit(HostControl& edit);
  bool HandleUndoKey(HostControl& edit, const QKeyEvent& key);
  void ShowEditMenu(HostControl& edit, const QContextMenuEvent& event);
  void EmitEditChange(HostControl& edit);

  std::pair<int, int> GroupRange(int index) const;
  void SendScroll(const HostControl& spin, std::int32_t code);

  NotificationSink& sink_;
  std::unordered_map<const QObject*, int> owners_;
  bool programWrite_ = false;
  bool destroying_ = false;
};

}  // namespace quorvane::host
