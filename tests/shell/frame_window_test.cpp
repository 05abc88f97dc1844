#include "shell/frame_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStatusBar>

namespace quorvane::shell {
namespace {

TEST(FrameWindow, StartsHiddenWithTheTitleAndRunning) {
  FrameWindow frame("quorvane");
  EXPECT_FALSE(frame.isVisible());
  EXPECT_EQ(frame.windowTitle(), QString("quorvane"));
  EXPECT_EQ(frame.StatusText(), QString("Running"));
  EXPECT_FALSE(frame.OutputShown());
  EXPECT_EQ(frame.OutputView(), nullptr);
}

TEST(FrameWindow, StatusBarShowsEachState) {
  FrameWindow frame("quorvane");
  QSignalSpy shown(&frame, &FrameWindow::StatusShown);
  frame.ShowProgramState(ProgramState::Paused);
  EXPECT_EQ(frame.StatusText(), QString("Paused"));
  frame.ShowProgramState(ProgramState::Finished);
  EXPECT_EQ(frame.StatusText(), QString("Finished"));
  frame.ShowProgramState(ProgramState::Running);
  EXPECT_EQ(frame.StatusText(), QString("Running"));
  ASSERT_EQ(shown.count(), 3);
  EXPECT_EQ(shown.at(1).at(0).toString(), QString("Finished"));
}

TEST(FrameWindow, FirstOutputShowsTheFrameAroundItsOutputWindow) {
  FrameWindow frame("quorvane");
  frame.AppendOutput("Error: dialog not found\n");
  EXPECT_TRUE(frame.isVisible());
  ASSERT_NE(frame.OutputView(), nullptr);
  EXPECT_TRUE(frame.OutputView()->isReadOnly());
  EXPECT_EQ(frame.OutputView()->toPlainText(), QString("Error: dialog not found\n"));

  QWidget* output = frame.OutputView()->parentWidget();
  ASSERT_NE(output, nullptr);
  EXPECT_TRUE(output->isVisible());
  // The output window fills the frame's client area and nothing is cut off.
  QSize client = frame.centralWidget()->size();
  EXPECT_GE(client.width(), output->width());
  EXPECT_GE(client.height(), output->height());
  EXPECT_LE(client.width() - output->width(), 8);
  EXPECT_LE(client.height() - output->height(), 8);
}

TEST(FrameWindow, LaterOutputGoesIntoTheSameWindowInOrder) {
  FrameWindow frame("quorvane");
  frame.AppendOutput("one ");
  QPlainTextEdit* view = frame.OutputView();
  frame.AppendOutput("two\n");
  frame.AppendOutput("three\n");
  EXPECT_EQ(frame.OutputView(), view);
  EXPECT_EQ(view->toPlainText(), QString("one two\nthree\n"));
}

TEST(FrameWindow, ClosingReportsThatTheProcessShouldEnd) {
  FrameWindow frame("quorvane");
  QSignalSpy closed(&frame, &FrameWindow::Closed);
  frame.close();
  EXPECT_EQ(closed.count(), 1);
}

}  // namespace
}  // namespace quorvane::shell
