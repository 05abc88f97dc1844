#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "calculator/calculator.h"
#include "calculator/calculator_scenarios.h"
#include "calculator/control_ids.h"
#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "dialog/resources.h"
#include "dialog/scripted_driver.h"
#include "dialog/scripted_host.h"
#include "resources/program_resources.h"

namespace quorvane::calculator {
namespace {

using testing::CalculatorScenarios;
using testing::ExpectDisplay;
using testing::Scenario;
using testing::StartUpDisplay;

// The calculator on the in-memory host, with the program's own resources.
class ScriptedCalculator : public ::testing::Test {
 protected:
  ScriptedCalculator() {
    resources::RegisterProgramResources(driver_.Resources());
    dialog::SetWindowSystem(&driver_.Host());
  }
  ~ScriptedCalculator() override { dialog::SetWindowSystem(nullptr); }

  // Runs the calculator over the queued script, which must end with Exit.
  void RunToExit() {
    driver_.Click(kExitButton);
    RunCalculator();
    EXPECT_FALSE(host_.SafetyStopped());
    EXPECT_EQ(host_.CallsStartingWith("EndDialog"), std::vector<std::string>{"EndDialog 8"});
  }

  dialog::ScriptedDriver driver_;
  dialog::ScriptedHost& host_ = driver_.Scripted();
};

TEST_F(ScriptedCalculator, StartsWithTheDefaultParametersAndTheStateAtZeroPressure) {
  ExpectDisplay(driver_, StartUpDisplay());
  driver_.Inspect([this] {
    EXPECT_EQ(host_.ShownSpinPosition(kPrecisionSpin), 7);
    EXPECT_EQ(host_.ShownTitle(), "Quorvane v6.0");
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    dialog::GetControlInteger(TheCalculatorForm(), kPrecisionSpin, lowest,
                              dialog::ValueKind::RangeMin);
    dialog::GetControlInteger(TheCalculatorForm(), kPrecisionSpin, highest,
                              dialog::ValueKind::RangeMax);
    EXPECT_EQ(lowest, 2);
    EXPECT_EQ(highest, 8);
  });
  RunToExit();
  EXPECT_EQ(host_.CallsStartingWith("RunModalDialog"),
            std::vector<std::string>{"RunModalDialog 0 101 none"});
}

TEST_F(ScriptedCalculator, OnlyTheExitButtonEndsTheRun) {
  driver_.PressEscape();
  driver_.PressCloseBox();
  driver_.PressEnter();
  driver_.Inspect([this] { EXPECT_TRUE(host_.IsShowing()); });
  ExpectDisplay(driver_, StartUpDisplay());
  RunToExit();
}

TEST_F(ScriptedCalculator, ReportsAMissingFormOnStandardOutput) {
  dialog::ResourceTable empty;
  dialog::ScriptedHost bare(empty);
  dialog::SetWindowSystem(&bare);
  ::testing::internal::CaptureStdout();
  RunCalculator();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Error: dialog not found\n");
  EXPECT_TRUE(bare.CallsStartingWith("RunModalDialog").empty());
}

TEST_F(ScriptedCalculator, LoadsFortySevenRecordsWithTwoRadioGroups) {
  dialog::DialogForm form;
  ASSERT_TRUE(dialog::IsTrue(dialog::LoadForm(form, kCalculatorFormId)));
  ASSERT_EQ(form.controls.size(), 47u);
  // Template positions (from 1) of the first and last radio of each group.
  const std::vector<std::pair<std::int32_t, std::vector<std::int32_t>>> groups = {
      {kMurnaghanRadio, {18, 21}},     {kBirchMurnaghanRadio, {18, 21}}, {kVinetRadio, {18, 21}},
      {kNaturalStrainRadio, {18, 21}}, {kOrder2Radio, {23, 25}},         {kOrder3Radio, {23, 25}},
      {kOrder4Radio, {23, 25}}};
  for (const auto& group : groups) {
    const std::int32_t id = group.first;
    const std::vector<std::int32_t>& bounds = group.second;
    SCOPED_TRACE("radio " + std::to_string(id));
    const auto record = std::find_if(form.controls.begin(), form.controls.end(),
                                     [id](const auto& control) { return control.id == id; });
    ASSERT_NE(record, form.controls.end());
    EXPECT_EQ(record->integers, bounds);
    const bool first = id == kMurnaghanRadio || id == kOrder2Radio;
    EXPECT_EQ(dialog::IsTrue(record->logicals[1]), first);
  }
  dialog::ReleaseForm(form);
}

class ScriptedScenario : public ScriptedCalculator,
                         public ::testing::WithParamInterface<Scenario> {};

TEST_P(ScriptedScenario, ShowsTheExpectedFields) {
  testing::Perform(driver_, GetParam().actions);
  ExpectDisplay(driver_, GetParam().expected);
  RunToExit();
}

INSTANTIATE_TEST_SUITE_P(Calculator, ScriptedScenario, ::testing::ValuesIn(CalculatorScenarios()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace quorvane::calculator
