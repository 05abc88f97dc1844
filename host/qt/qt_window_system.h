#pragma once

#include <QObject>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialog/resources.h"
#include "dialog/window_system.h"
#include "host/qt/host_dialog.h"
#include "host/qt/input_serializer.h"
#include "host/qt/message_queue.h"
#include "host/qt/window_view.h"

class QWidget;

// The dialog runtime's windowing system on Qt Widgets.
//
// Constructed on the GUI thread. Every operation may be called from the
// program thread: it is carried out synchronously on the GUI thread, and the
// notifications it causes reach the window procedure on the calling thread
// before it returns. RunModalDialog called on the program thread runs the
// modal loop there, taking user notifications from a queue in the order the
// GUI thread raised them; the GUI thread never waits for the program thread.
namespace quorvane::host {

class QtWindowSystem : public dialog::WindowSystem, private NotificationSink {
 public:
  explicit QtWindowSystem(dialog::ResourceTable& resources = dialog::ProcessResources());
  ~QtWindowSystem() override;
  QtWindowSystem(const QtWindowSystem&) = delete;
  QtWindowSystem& operator=(const QtWindowSystem&) = delete;

  // The owner of forms that have no parent of their own (the shell's hidden frame).
  void SetDefaultParent(QWidget* frame);

  // The widget behind a handle, for tests and the shell; GUI thread only.
  QWidget* Widget(dialog::WindowHandle window);
  // The top dialog of the running modal loops, or null; GUI thread only.
  dialog::WindowHandle ActiveDialog();
  // True when no notification is being handled and no input is held back.
  bool IsIdle() const;

  std::optional<std::span<const std::uint8_t>> FindResource(dialog::ModuleHandle module,
                                                            std::int32_t type,
                                                            std::int32_t id) override;
  dialog::ModuleHandle WindowModule(dialog::WindowHandle window) override;
  dialog::WindowHandle DefaultParent() override;

  std::int32_t RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                              dialog::WindowHandle parent, dialog::WindowProcedure procedure,
                              std::intptr_t creationParameter) override;
  void EndDialog(dialog::WindowHandle dialog, std::int32_t result) override;
  void SetUserData(dialog::WindowHandle window, std::intptr_t value) override;
  std::intptr_t UserData(dialog::WindowHandle window) override;
  void SetMessageResult(dialog::WindowHandle dialog, std::intptr_t value) override;

  dialog::WindowHandle DialogItem(dialog::WindowHandle dialog, std::int32_t id) override;
  std::int32_t ControlId(dialog::WindowHandle control) override;

  void SetText(dialog::WindowHandle control, std::string_view text) override;
  std::string Text(dialog::WindowHandle control) override;
  void Enable(dialog::WindowHandle control, bool enabled) override;
  std::int32_t IsEnabled(dialog::WindowHandle control) override;
  void SetCheck(dialog::WindowHandle control, std::int32_t state) override;
  std::int32_t Check(dialog::WindowHandle control) override;
  void SetSelection(dialog::WindowHandle edit, std::int32_t start, std::int32_t end) override;
  std::int32_t SelectionEnd(dialog::WindowHandle edit) override;

  void SetSpinRange(dialog::WindowHandle spin, std::int16_t lower, std::int16_t upper) override;
  void SetSpinPosition(dialog::WindowHandle spin, std::int32_t position) override;
  std::uint32_t SpinPosition(dialog::WindowHandle spin) override;
  std::uint32_t SpinRange(dialog::WindowHandle spin) override;

  void ShowMessage(std::string_view text, std::string_view caption) override;
  [[noreturn]] void EndProgram() override;

 private:
  // What a handle stands for; exactly one of the pointers is set.
  struct WindowEntry {
    HostDialog* dialog = nullptr;
    HostControl* control = nullptr;
    QPointer<QWidget> frame;
  };

  void Emit(HostDialog& dialog, const dialog::WindowMessage& message,
            const std::optional<dialog::WindowMessage>& fallback) override;
  void StateChanged(HostControl& control) override { RefreshView(control); }
  void RefreshView(HostControl& control);
  void RefreshView(HostDialog& dialog);

  // Runs operation on the GUI thread and delivers the notifications it caused.
  void Perform(const std::function<void()>& operation);
  void DeliverCollected(std::vector<QueuedMessage>& collected);
  bool OnGuiThread() const;

  // GUI-thread halves of the modal run.
  bool CreateDialog(dialog::ModuleHandle module, std::int32_t templateId,
                    dialog::WindowHandle parent, const std::shared_ptr<ModalRun>& run);
  void ShowDialog(const ModalRun& run, bool focusFirst);
  void DestroyDialog(ModalRun& run);
  void RunLoop(ModalRun& run);
  void OnProgramIdle(std::uint64_t generation);

  std::uintptr_t Register(WindowEntry entry);
  WindowEntry* Find(dialog::WindowHandle window);
  HostDialog* FindDialog(dialog::WindowHandle window);
  HostControl* FindControl(dialog::WindowHandle window);
  QWidget* OwnerWidget(dialog::WindowHandle parent);

  dialog::ResourceTable& resources_;
  QThread* guiThread_;
  std::unique_ptr<QObject> guiContext_;
  std::unique_ptr<InputSerializer> serializer_;
  MessageQueue queue_;
  std::unordered_map<std::uintptr_t, WindowEntry> windows_;  // GUI thread
  WindowViews views_;                                        // either thread
  std::uintptr_t nextHandle_ = 1;
  std::atomic<std::uintptr_t> frameHandle_{0};
  std::vector<std::shared_ptr<ModalRun>> runs_;       // GUI thread: the open modal runs
  std::vector<QueuedMessage>* collecting_ = nullptr;  // GUI thread: during an operation
  // Busy bookkeeping: the GUI thread counts notifications posted and program
  // operations carried out; the program thread reports the same count when it
  // goes idle, so a stale report is recognised.
  std::uint64_t guiGeneration_ = 0;
  std::atomic<std::uint64_t> programOperations_{0};
};

}  // namespace quorvane::host
