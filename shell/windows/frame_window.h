#pragma once

#include <string>

#include "host/windows/windows_api.h"
#include "shell/shell_state.h"

// The shell's frame on Windows: a top-level window holding an MDI client for
// the output window and a status bar with the program's state. It stays
// hidden until the program first writes something.
namespace quorvane::shell {

class FrameWindow {
 public:
  FrameWindow(const std::wstring& title, HICON icon);
  ~FrameWindow();
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;

  HWND Handle() const { return frame_; }

  // Appends text to the output window; the first call creates that window and
  // shows the frame.
  void AppendOutput(const std::string& text);
  bool OutputShown() const { return output_ != nullptr; }

  void ShowProgramState(ProgramState state);

  // Posted by any thread, handled by the frame's thread; the frame owns the
  // text from then on.
  static constexpr UINT kOutputMessage = WM_APP + 1;
  static constexpr UINT kStateMessage = WM_APP + 2;
  static constexpr UINT kReturnedMessage = WM_APP + 3;

  // The frame's thread answers kReturnedMessage through this.
  void SetReturnedHandler(void (*handler)(void* context), void* context) {
    onReturned_ = handler;
    returnedContext_ = context;
  }
  // Told every status text the frame shows and every piece of output.
  void SetStatusObserver(void (*observer)(const std::wstring& text)) { observer_ = observer; }
  void SetOutputObserver(void (*observer)(const std::string& text)) { outputObserver_ = observer; }

 private:
  static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Layout();
  void ShowOutputWindow();

  std::wstring title_;
  HICON icon_;
  HWND frame_ = nullptr;
  HWND client_ = nullptr;
  HWND status_ = nullptr;
  HWND output_ = nullptr;
  HWND outputText_ = nullptr;
  void (*onReturned_)(void*) = nullptr;
  void* returnedContext_ = nullptr;
  void (*observer_)(const std::wstring&) = nullptr;
  void (*outputObserver_)(const std::string&) = nullptr;
};

}  // namespace quorvane::shell
