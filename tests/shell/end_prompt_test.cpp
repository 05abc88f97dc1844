#include "shell/end_prompt.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "test_application.h"

namespace quorvane::shell {
namespace {

TEST(EndPrompt, TextNamesTheExitCodeAndAsksToExit) {
  EXPECT_EQ(EndPromptText(0), QString("Program Terminated with exit code 0\nExit Window?"));
  EXPECT_EQ(EndPromptText(3), QString("Program Terminated with exit code 3\nExit Window?"));
}

TEST(EndPrompt, IsAWarningOwnedByTheFrameWithYesAndNoAndNoPreselected) {
  testing::TestApplication();
  QWidget frame;
  QMessageBox* box = MakeEndPrompt(&frame, "quorvane", 0);
  EXPECT_EQ(box->parentWidget(), &frame);
  EXPECT_EQ(box->windowTitle(), QString("quorvane"));
  EXPECT_EQ(box->text(), QString("Program Terminated with exit code 0\nExit Window?"));
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
}

}  // namespace
}  // namespace quorvane::shell
