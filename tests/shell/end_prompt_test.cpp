#include "shell/end_prompt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

namespace quorvane::shell {
namespace {

TEST(EndPrompt, TextNamesTheExitCodeAndAsksToExit) {
  EXPECT_EQ(EndPromptText(0), QString("Program Terminated with exit code 0\nExit Window?"));
  EXPECT_EQ(EndPromptText(3), QString("Program Terminated with exit code 3\nExit Window?"));
}

TEST(EndPrompt, IsAWarningOwnedByTheFrameWithYesAndNoAndNoPreselected) {
  QWidget frame;
  QMessageBox* box = MakeEndPrompt(&frame, "quorvane", 0);
  EXPECT_EQ(box->parentWidget(), &frame);
  EXPECT_EQ(box->windowTitle(), QString("quorvane"));
  EXPECT_EQ(box->text(), QString("Program Terminated with exit code 0\nExit Window?"));
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
}

TEST(EndPrompt, CtrlCCopiesTheCaptionAndTheQuestion) {
  QWidget frame;
  QMessageBox* box = MakeEndPrompt(&frame, "quorvane", 0);
  QGuiApplication::clipboard()->clear();
  box->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(box));
  QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QString("quorvane\n\nProgram Terminated with exit code 0\nExit Window?\n"));
  EXPECT_TRUE(box->isVisible());
}

}  // namespace
}  // namespace quorvane::shell
