#include "shell/windows/application_shell.h"

#include <iostream>
#include <thread>

#include "shell/floating_point_environment.h"

namespace quorvane::shell {
namespace {

// The program's return is not reported: the process always ends with 0.
constexpr int kExitCode = 0;
// The pause between the answer to the prompt and the close of the frame.
constexpr UINT kCloseDelayMilliseconds = 20;
constexpr UINT_PTR kCloseTimer = 1;

ApplicationShell* runningShell = nullptr;

void CALLBACK CloseFrame(HWND frame, UINT, UINT_PTR timer, DWORD) {
  KillTimer(frame, timer);
  PostMessageW(frame, WM_CLOSE, 0, 0);
}

}  // namespace

ApplicationShell::ApplicationShell(const std::wstring& title, HICON icon,
                                   std::function<void()> program)
    : title_(title),
      program_(std::move(program)),
      frame_(title, icon),
      output_([this](std::string text) {
        PostMessageW(frame_.Handle(), FrameWindow::kOutputMessage, 0,
                     reinterpret_cast<LPARAM>(new std::string(std::move(text))));
      }) {
  frame_.SetReturnedHandler(
      [](void* self) { static_cast<ApplicationShell*>(self)->OnProgramReturned(); }, this);
  runningShell = this;
}

ApplicationShell::~ApplicationShell() {
  if (runningShell == this) runningShell = nullptr;
}

void ApplicationShell::SetProgramState(std::int32_t state) {
  if (!state_.SetProgramState(state)) return;
  PostMessageW(frame_.Handle(), FrameWindow::kStateMessage,
               static_cast<WPARAM>(state_.CurrentProgramState()), 0);
}

void ApplicationShell::Run() {
  // Keeps the windows responsive while the program thread computes.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  std::thread program([this] { RunProgram(); });
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The frame was closed while the program was still inside its run: end the
  // process as a whole, as closing the frame does.
  if (!returned_) {
    std::cout.flush();
    ExitProcess(kExitCode);
  }
  program.join();
}

void ApplicationShell::RunProgram() {
  EnterProgramFloatingPointEnvironment();
  program_();
  std::cout.flush();
  PostMessageW(frame_.Handle(), FrameWindow::kReturnedMessage, 0, 0);
}

void ApplicationShell::OnProgramReturned() {
  returned_ = true;
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  if (!frame_.OutputShown()) {
    PostMessageW(frame_.Handle(), WM_CLOSE, 0, 0);
    return;
  }
  state_.SetProgramState(static_cast<std::int32_t>(ProgramState::Finished));
  frame_.ShowProgramState(ProgramState::Finished);
  switch (state_.CurrentExitMode()) {
    case ExitMode::Prompt: {
      const int answer = MessageBoxW(frame_.Handle(), EndPromptText(kExitCode).c_str(),
                                     title_.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
      if (answer == IDYES) CloseSoon();
      break;
    }
    case ExitMode::Close:
      CloseSoon();
      break;
    case ExitMode::KeepOpen:
      break;
  }
}

void ApplicationShell::CloseSoon() {
  SetTimer(frame_.Handle(), kCloseTimer, kCloseDelayMilliseconds, CloseFrame);
}

std::int32_t SetExitMode(std::int32_t mode) {
  if (runningShell == nullptr) return -1;
  return runningShell->SetExitMode(mode);
}

void SetProgramState(std::int32_t state) {
  if (runningShell != nullptr) runningShell->SetProgramState(state);
}

HWND GetFrameWindow() {
  return runningShell != nullptr ? runningShell->Frame().Handle() : nullptr;
}

std::wstring EndPromptText(int exitCode) {
  return L"Program Terminated with exit code " + std::to_wstring(exitCode) + L"\nExit Window?";
}

}  // namespace quorvane::shell
