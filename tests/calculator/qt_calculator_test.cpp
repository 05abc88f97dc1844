#include <gtest/gtest.h>

#include <QDialog>

#include "calculator/calculator.h"
#include "calculator/calculator_scenarios.h"
#include "calculator/control_ids.h"
#include "host/qt/qt_driver.h"
#include "host/qt/qt_window_system.h"
#include "resources/program_resources.h"

namespace quorvane::calculator {
namespace {

using host::testing::QtDriver;
using testing::CalculatorScenarios;
using testing::ExpectDisplay;
using testing::Scenario;
using testing::StartUpDisplay;

// The calculator on real widgets of an offscreen window.
class QtCalculator : public ::testing::Test {
 protected:
  QtCalculator() {
    resources::RegisterProgramResources(driver_.Resources());
    dialog::SetWindowSystem(&driver_.Host());
  }
  ~QtCalculator() override { dialog::SetWindowSystem(nullptr); }

  // Plays the collected actions, ends with Exit and expects the run to end with 8.
  void RunToExit() {
    driver_.Click(kExitButton);
    TheCalculatorForm().result = 0;
    ASSERT_TRUE(driver_.Play(RunCalculator));
    EXPECT_EQ(TheCalculatorForm().result, 8);
  }

  QtDriver driver_;
  host::QtWindowSystem& host_ = driver_.Qt();
};

TEST_F(QtCalculator, StartsWithTheDefaultParametersAndTheStateAtZeroPressure) {
  ExpectDisplay(driver_, StartUpDisplay());
  driver_.Inspect([this] {
    const dialog::WindowHandle form = host_.ActiveDialog();
    const dialog::WindowHandle spin = host_.DialogItem(form, kPrecisionSpin);
    EXPECT_EQ(host_.SpinPosition(spin) & 0xFFFF, 7u);
    EXPECT_EQ(host_.SpinRange(spin), (2u << 16) | 8u);
    auto* dialog = qobject_cast<QDialog*>(host_.Widget(form));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Quorvane v6.0");
  });
  RunToExit();
}

TEST_F(QtCalculator, OnlyTheExitButtonEndsTheRun) {
  driver_.PressEscape();
  driver_.PressEnter();
  driver_.PressCloseBox();
  driver_.Inspect([this] { EXPECT_NE(host_.ActiveDialog(), nullptr); });
  ExpectDisplay(driver_, StartUpDisplay());
  RunToExit();
}

class QtScenario : public QtCalculator, public ::testing::WithParamInterface<Scenario> {};

TEST_P(QtScenario, ShowsTheExpectedFields) {
  testing::Perform(driver_, GetParam().actions);
  ExpectDisplay(driver_, GetParam().expected);
  RunToExit();
}

INSTANTIATE_TEST_SUITE_P(Calculator, QtScenario, ::testing::ValuesIn(CalculatorScenarios()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace quorvane::calculator
