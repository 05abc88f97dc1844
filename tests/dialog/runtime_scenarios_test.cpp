#include "runtime_scenarios.h"

#include <gtest/gtest.h>

#include "scripted_driver.h"

namespace quorvane::dialog {
namespace {

TEST(ScriptedRuntimeScenario, TypingUpdatesTheFormAndExitKeepsTheShownText) {
  ScriptedDriver driver;
  scenarios::TypingUpdatesTheFormAndExitKeepsTheShownText(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

TEST(ScriptedRuntimeScenario, EscapeEnterAndCloseBoxLeaveTheFormOpen) {
  ScriptedDriver driver;
  scenarios::EscapeEnterAndCloseBoxLeaveTheFormOpen(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

TEST(ScriptedRuntimeScenario, RadioClicksCheckOneButtonPerGroup) {
  ScriptedDriver driver;
  scenarios::RadioClicksCheckOneButtonPerGroup(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

TEST(ScriptedRuntimeScenario, SpinnerStepsStayWithinTheRange) {
  ScriptedDriver driver;
  scenarios::SpinnerStepsStayWithinTheRange(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

TEST(ScriptedRuntimeScenario, DigitsOnlyFieldRefusesOtherCharacters) {
  ScriptedDriver driver;
  scenarios::DigitsOnlyFieldRefusesOtherCharacters(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

TEST(ScriptedRuntimeScenario, HandlerSetsReachTheWindowWhenItReturns) {
  ScriptedDriver driver;
  scenarios::HandlerSetsReachTheWindowWhenItReturns(driver);
  EXPECT_FALSE(driver.Scripted().SafetyStopped());
}

}  // namespace
}  // namespace quorvane::dialog
