#include "shell/application_shell.h"

#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <iostream>

#include "shell/end_prompt.h"
#include "shell/floating_point_environment.h"

namespace quorvane::shell {
namespace {

// The program's return is not reported: the process always ends with 0.
constexpr int kExitCode = 0;
// The pause between the answer to the prompt and the close of the frame.
constexpr int kCloseDelayMilliseconds = 20;

ApplicationShell* runningShell = nullptr;

}  // namespace

ApplicationShell::ApplicationShell(const QString& title, std::function<void()> program)
    : title_(title),
      program_(std::move(program)),
      frame_(title),
      output_([this](std::string text) { ForwardOutput(std::move(text)); }) {
  connect(&frame_, &FrameWindow::Closed, this, &ApplicationShell::Ended);
  runningShell = this;
}

ApplicationShell::~ApplicationShell() {
  if (runningShell == this) runningShell = nullptr;
}

void ApplicationShell::Begin() {
  // Keeps the windows responsive while the program thread computes.
  QThread::currentThread()->setPriority(QThread::HighPriority);
}

void ApplicationShell::SetProgramState(std::int32_t state) {
  if (!state_.SetProgramState(state)) return;
  QMetaObject::invokeMethod(
      &frame_, [this] { frame_.ShowProgramState(state_.CurrentProgramState()); },
      Qt::QueuedConnection);
}

void ApplicationShell::RunProgram() {
  EnterProgramFloatingPointEnvironment();
  program_();
  std::cout.flush();
}

// Runs on the program thread; the text is shown by the GUI thread in the
// order it was written, before the program's return is handled.
void ApplicationShell::ForwardOutput(std::string text) {
  QMetaObject::invokeMethod(
      &frame_, [this, shown = QString::fromUtf8(text)] { frame_.AppendOutput(shown); },
      Qt::QueuedConnection);
}

void ApplicationShell::OnProgramReturned() {
  returned_ = true;
  QThread::currentThread()->setPriority(QThread::NormalPriority);
  if (!frame_.OutputShown()) {
    QTimer::singleShot(0, &frame_, &QWidget::close);
    return;
  }
  state_.SetProgramState(static_cast<std::int32_t>(ProgramState::Finished));
  frame_.ShowProgramState(ProgramState::Finished);
  switch (state_.CurrentExitMode()) {
    case ExitMode::Prompt: {
      QMessageBox* prompt = MakeEndPrompt(&frame_, title_, kExitCode);
      prompt->setAttribute(Qt::WA_DeleteOnClose);
      connect(prompt, &QMessageBox::finished, &frame_, [this](int answer) {
        if (answer == QMessageBox::Yes) {
          QTimer::singleShot(kCloseDelayMilliseconds, &frame_, &QWidget::close);
        }
      });
      prompt->open();
      break;
    }
    case ExitMode::Close:
      QTimer::singleShot(kCloseDelayMilliseconds, &frame_, &QWidget::close);
      break;
    case ExitMode::KeepOpen:
      break;
  }
}

std::int32_t SetExitMode(std::int32_t mode) {
  if (runningShell == nullptr) return -1;
  return runningShell->SetExitMode(mode);
}

void SetProgramState(std::int32_t state) {
  if (runningShell != nullptr) runningShell->SetProgramState(state);
}

QWidget* GetFrameWindow() {
  if (runningShell == nullptr) return nullptr;
  return &runningShell->Frame();
}

}  // namespace quorvane::shell
