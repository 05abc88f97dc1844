#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "dialog/resources.h"
#include "dialog/window_system.h"
#include "host/qt/program_thread.h"
#include "host/qt/qt_window_system.h"

// A Qt host on the offscreen platform with a test program on its own thread:
// the program runs one modal dialog and logs every message its window
// procedure receives; tests drive the real widgets with QtTest events.
namespace quorvane::host::testing {

// The QApplication every host test shares (offscreen unless told otherwise).
void EnsureApplication();

// Serves GUI events until done() or a few seconds have passed.
bool WaitUntil(const std::function<bool()>& done);

// Lays the template's items out one below the other so each can be clicked.
dialog::DialogTemplate Stacked(dialog::DialogTemplate form);

class QtHostTest : public ::testing::Test {
 protected:
  // The program's reaction to a message, on the program thread; its result is
  // the window procedure's (1 = handled).
  using Reaction = std::function<std::intptr_t(dialog::WindowHandle, const dialog::WindowMessage&)>;

  void SetUp() override;
  void TearDown() override;

  // Starts the program: a modal run of form, waiting until it is shown,
  // focused and idle.
  void Start(const dialog::DialogTemplate& form, Reaction reaction = {});
  // Waits until the program has handled everything the last input caused.
  void Settle();
  // Ends the run from the GUI thread (as EndDialog) and waits for the program.
  void Finish();

  QWidget* Control(std::int32_t id);
  dialog::WindowHandle ControlHandle(std::int32_t id);
  QWidget* DialogWidget();
  std::string TextOf(std::int32_t id);

  // Messages the window procedure received since the last call, one line each:
  //   "InitDialog", "Destroy", "Close", "Command <id> <code>", "VScroll <code> <position>".
  std::vector<std::string> TakeLog();
  // Adds a line of the test's own to the log (from the program thread).
  void Note(const std::string& line);
  // Makes form available as dialog templateId of the program's module.
  void Install(std::int32_t templateId, const dialog::DialogTemplate& form);

  dialog::ResourceTable resources_;
  std::unique_ptr<QtWindowSystem> host_;
  std::unique_ptr<ProgramThread> program_;
  std::int32_t result_ = 0;
  dialog::WindowHandle dialog_ = nullptr;
  Reaction reaction_;

  // The window procedure: logs the message and hands it to the reaction.
  static std::intptr_t Procedure(dialog::WindowHandle dialog, const dialog::WindowMessage& message);

 private:
  static QtHostTest* current_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

// The notification code and control id of a Command message.
inline std::int32_t CommandCode(const dialog::WindowMessage& message) {
  return static_cast<std::int32_t>((message.wParam >> 16) & 0xFFFF);
}
inline std::int32_t CommandId(const dialog::WindowMessage& message) {
  return static_cast<std::int32_t>(message.wParam & 0xFFFF);
}

}  // namespace quorvane::host::testing
