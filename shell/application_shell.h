#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "shell/frame_window.h"
#include "shell/output_stream.h"
#include "shell/shell_state.h"

// The shell around the program: the hidden frame, the program thread, the
// program's standard output shown inside the frame, and what happens when
// the program returns. Lives on the GUI thread.
namespace quorvane::shell {

class ApplicationShell : public QObject {
  Q_OBJECT

 public:
  ApplicationShell(const QString& title, std::function<void()> program);
  ~ApplicationShell() override;

  // GUI thread, before the program thread starts: the GUI thread runs above
  // normal priority while the program runs.
  void Begin();
  // The body of the program thread: the floating-point environment, the
  // program, then the flush of its output.
  void RunProgram();
  // GUI thread, once the program thread has returned: closes the hidden
  // frame at once, or shows the end of the program when it wrote output.
  void OnProgramReturned();
  bool ProgramReturned() const { return returned_; }

  FrameWindow& Frame() { return frame_; }
  ShellState& State() { return state_; }
  const QString& Title() const { return title_; }

  // Callable from any thread.
  std::int32_t SetExitMode(std::int32_t mode) { return state_.SetExitMode(mode); }
  void SetProgramState(std::int32_t state);

 signals:
  // The frame has been closed: the process should end.
  void Ended();

 private:
  void ForwardOutput(std::string text);

  QString title_;
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
QWidget* GetFrameWindow();

}  // namespace quorvane::shell
