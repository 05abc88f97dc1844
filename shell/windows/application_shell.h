#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/output_stream.h"
#include "shell/shell_state.h"
#include "shell/windows/frame_window.h"

// The shell around the program on Windows: the hidden frame, the program
// thread, the program's standard output shown inside the frame, and what
// happens when the program returns. Lives on the main thread.
namespace quorvane::shell {

class ApplicationShell {
 public:
  ApplicationShell(const std::wstring& title, HICON icon, std::function<void()> program);
  ~ApplicationShell();
  ApplicationShell(const ApplicationShell&) = delete;
  ApplicationShell& operator=(const ApplicationShell&) = delete;

  // Starts the program thread and serves the frame's messages until the frame
  // closes.
  void Run();

  FrameWindow& Frame() { return frame_; }
  ShellState& State() { return state_; }
  bool ProgramReturned() const { return returned_; }

  // Callable from any thread.
  std::int32_t SetExitMode(std::int32_t mode) { return state_.SetExitMode(mode); }
  void SetProgramState(std::int32_t state);

 private:
  void RunProgram();
  void OnProgramReturned();
  void CloseSoon();

  std::wstring title_;
  std::function<void()> program_;
  FrameWindow frame_;
  ShellState state_;
  OutputRedirect output_;
  bool returned_ = false;
};

// The operations the program may call on the running shell. Without a shell
// SetExitMode returns -1 and GetFrameWindow returns null.
std::int32_t SetExitMode(std::int32_t mode);
void SetProgramState(std::int32_t state);
HWND GetFrameWindow();

// "Program Terminated with exit code 0\nExit Window?" for exit code 0.
std::wstring EndPromptText(int exitCode);

}  // namespace quorvane::shell
