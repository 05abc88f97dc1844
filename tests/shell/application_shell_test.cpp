#include "shell/application_shell.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cfenv>
#include <iostream>
#include <memory>

#include "host/qt/program_thread.h"

namespace quorvane::shell {
namespace {

constexpr int kWaitMilliseconds = 5000;

// Runs the shell's program on the program thread, as the process does.
class ProgramRun {
 public:
  explicit ProgramRun(ApplicationShell& shell) : thread_([&shell] { shell.RunProgram(); }) {
    QObject::connect(&thread_, &host::ProgramThread::Finished, &shell,
                     &ApplicationShell::OnProgramReturned, Qt::QueuedConnection);
    shell.Begin();
    thread_.Start();
  }

 private:
  host::ProgramThread thread_;
};

QMessageBox* Prompt(ApplicationShell& shell) {
  return shell.Frame().findChild<QMessageBox*>();
}

bool WaitForPrompt(ApplicationShell& shell) {
  return QTest::qWaitFor([&] { return Prompt(shell) != nullptr && Prompt(shell)->isVisible(); },
                         kWaitMilliseconds);
}

void WriteFailureMessage() {
  std::cout << "Error: dialog not found" << '\n';
}

TEST(ApplicationShell, QuietProgramEndsWithoutShowingAnything) {
  ApplicationShell shell("quorvane", [] {});
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(ended.wait(kWaitMilliseconds));
  EXPECT_FALSE(shell.Frame().isVisible());
  EXPECT_FALSE(shell.Frame().OutputShown());
  EXPECT_EQ(Prompt(shell), nullptr);
  EXPECT_EQ(shell.Frame().StatusText(), QString("Running"));
}

TEST(ApplicationShell, OutputShowsTheFrameAndTheEndPrompt) {
  ApplicationShell shell("quorvane-no-form", WriteFailureMessage);
  ProgramRun run(shell);
  ASSERT_TRUE(WaitForPrompt(shell));
  EXPECT_TRUE(shell.Frame().isVisible());
  ASSERT_NE(shell.Frame().OutputView(), nullptr);
  EXPECT_EQ(shell.Frame().OutputView()->toPlainText(), QString("Error: dialog not found\n"));
  EXPECT_EQ(shell.Frame().StatusText(), QString("Finished"));
  EXPECT_EQ(shell.State().CurrentProgramState(), ProgramState::Finished);

  QMessageBox* prompt = Prompt(shell);
  EXPECT_EQ(prompt->windowTitle(), QString("quorvane-no-form"));
  EXPECT_EQ(prompt->text(), QString("Program Terminated with exit code 0\nExit Window?"));
  EXPECT_EQ(prompt->icon(), QMessageBox::Warning);
  EXPECT_EQ(prompt->defaultButton(), prompt->button(QMessageBox::No));
}

TEST(ApplicationShell, AnsweringYesClosesTheFrameAfterTwentyMilliseconds) {
  ApplicationShell shell("quorvane", WriteFailureMessage);
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(WaitForPrompt(shell));
  QElapsedTimer answered;
  answered.start();
  Prompt(shell)->button(QMessageBox::Yes)->click();
  ASSERT_TRUE(ended.wait(kWaitMilliseconds));
  EXPECT_GE(answered.elapsed(), 19);
}

TEST(ApplicationShell, AnsweringNoKeepsTheFrameUntilTheUserClosesIt) {
  ApplicationShell shell("quorvane", WriteFailureMessage);
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(WaitForPrompt(shell));
  Prompt(shell)->button(QMessageBox::No)->click();
  EXPECT_FALSE(ended.wait(200));
  EXPECT_TRUE(shell.Frame().isVisible());
  EXPECT_EQ(shell.Frame().OutputView()->toPlainText(), QString("Error: dialog not found\n"));

  shell.Frame().close();
  EXPECT_EQ(ended.count(), 1);
}

TEST(ApplicationShell, ExitModeCloseEndsWithoutAPrompt) {
  ApplicationShell shell("quorvane", [] {
    SetExitMode(2);
    WriteFailureMessage();
  });
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(ended.wait(kWaitMilliseconds));
  EXPECT_EQ(Prompt(shell), nullptr);
  EXPECT_EQ(shell.Frame().StatusText(), QString("Finished"));
}

TEST(ApplicationShell, ExitModeKeepOpenLeavesTheFrameWithoutAPrompt) {
  ApplicationShell shell("quorvane", [] {
    SetExitMode(3);
    WriteFailureMessage();
  });
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ProgramReturned(); }, kWaitMilliseconds));
  EXPECT_FALSE(ended.wait(200));
  EXPECT_EQ(Prompt(shell), nullptr);
  EXPECT_TRUE(shell.Frame().isVisible());
  EXPECT_EQ(shell.Frame().StatusText(), QString("Finished"));
}

TEST(ApplicationShell, GuiThreadRunsAboveNormalOnlyWhileTheProgramRuns) {
  std::atomic<bool> release{false};
  ApplicationShell shell("quorvane", [&] {
    while (!release.load()) QThread::msleep(1);
  });
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  EXPECT_EQ(QThread::currentThread()->priority(), QThread::HighPriority);
  release.store(true);
  ASSERT_TRUE(ended.wait(kWaitMilliseconds));
  EXPECT_EQ(QThread::currentThread()->priority(), QThread::NormalPriority);
}

TEST(ApplicationShell, ProgramRunsWithMaskedExceptionsRoundingToNearest) {
  int rounding = -1;
  int trapping = -1;
  ApplicationShell shell("quorvane", [&] {
    rounding = std::fegetround();
    trapping = fegetexcept();
  });
  QSignalSpy ended(&shell, &ApplicationShell::Ended);
  ProgramRun run(shell);
  ASSERT_TRUE(ended.wait(kWaitMilliseconds));
  EXPECT_EQ(rounding, FE_TONEAREST);
  EXPECT_EQ(trapping, 0);
}

TEST(ApplicationShell, ProgramReachesTheRunningShell) {
  std::int32_t refused = 0;
  std::int32_t accepted = -1;
  QWidget* frame = nullptr;
  ApplicationShell shell("quorvane", [&] {
    refused = SetExitMode(0);
    accepted = SetExitMode(3);
    frame = GetFrameWindow();
    SetProgramState(1);
  });
  ProgramRun run(shell);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell.ProgramReturned(); }, kWaitMilliseconds));
  EXPECT_EQ(refused, -1);
  EXPECT_EQ(accepted, 0);
  EXPECT_EQ(frame, &shell.Frame());
  EXPECT_EQ(shell.State().CurrentExitMode(), ExitMode::KeepOpen);
  EXPECT_EQ(shell.Frame().StatusText(), QString("Paused"));
}

TEST(ApplicationShell, WithoutAShellTheOperationsRefuse) {
  EXPECT_EQ(GetFrameWindow(), nullptr);
  EXPECT_EQ(SetExitMode(1), -1);
  SetProgramState(2);
}

}  // namespace
}  // namespace quorvane::shell
