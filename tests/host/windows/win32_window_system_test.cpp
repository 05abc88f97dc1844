#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "calculator/calculator.h"
#include "calculator/calculator_scenarios.h"
#include "calculator/control_ids.h"
#include "dialog/dialog_template.h"
#include "dialog/form_builder.h"
#include "resources/program_resources.h"
#include "runtime_scenarios.h"
#include "win32_driver.h"
// Last: the Windows headers define some of the runtime's names as macros.
#include "host/windows/windows_api.h"

// The runtime and the calculator on the real Windows dialog manager.
namespace quorvane::host::testing {
namespace {

using dialog::HostDriver;

struct NamedScenario {
  const char* name;
  void (*run)(HostDriver&);
};

class Win32RuntimeScenario : public ::testing::TestWithParam<NamedScenario> {};

TEST_P(Win32RuntimeScenario, PassesOnTheWindowsHost) {
  Win32Driver driver;
  EXPECT_TRUE(driver.Play([&driver] { GetParam().run(driver); }));
}

namespace scenarios = dialog::scenarios;

INSTANTIATE_TEST_SUITE_P(
    Runtime, Win32RuntimeScenario,
    ::testing::Values(NamedScenario{"TypingUpdatesTheFormAndExitKeepsTheShownText",
                                    scenarios::TypingUpdatesTheFormAndExitKeepsTheShownText},
                      NamedScenario{"EscapeEnterAndCloseBoxLeaveTheFormOpen",
                                    scenarios::EscapeEnterAndCloseBoxLeaveTheFormOpen},
                      NamedScenario{"RadioClicksCheckOneButtonPerGroup",
                                    scenarios::RadioClicksCheckOneButtonPerGroup},
                      NamedScenario{"SpinnerStepsStayWithinTheRange",
                                    scenarios::SpinnerStepsStayWithinTheRange},
                      NamedScenario{"DigitsOnlyFieldRefusesOtherCharacters",
                                    scenarios::DigitsOnlyFieldRefusesOtherCharacters},
                      NamedScenario{"HandlerSetsReachTheWindowWhenItReturns",
                                    scenarios::HandlerSetsReachTheWindowWhenItReturns}),
    [](const auto& param) { return std::string(param.param.name); });

// Templates the dialog manager must never see, or one it refuses: the host
// reports that the form cannot be created.
struct UnusableTemplate {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> FormWithUnknownControlClass() {
  dialog::FormBuilder form;
  form.Title("Odd").Named(10, "NoSuchControlClass", dialog::kChildStyle);
  return dialog::WriteDialogTemplate(form.Template());
}

class Win32UnusableTemplate : public ::testing::TestWithParam<UnusableTemplate> {};

TEST_P(Win32UnusableTemplate, CannotBeCreated) {
  constexpr std::int32_t kTemplateId = 300;
  Win32Driver driver;
  driver.Resources().Add(dialog::kProgramModule, dialog::RT_DIALOG, kTemplateId, GetParam().bytes);
  auto procedure = [](dialog::WindowHandle, const dialog::WindowMessage&) -> std::intptr_t {
    return 0;
  };
  EXPECT_EQ(
      driver.Host().RunModalDialog(dialog::kProgramModule, kTemplateId, nullptr, procedure, 0), -1);
  EXPECT_EQ(
      driver.Host().RunModalDialog(dialog::kProgramModule, kTemplateId + 1, nullptr, procedure, 0),
      -1);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, Win32UnusableTemplate,
    ::testing::Values(UnusableTemplate{"Empty", {}},
                      UnusableTemplate{"Garbage", {0x01, 0x00, 0xFF, 0xFF, 0x7F}},
                      UnusableTemplate{"Truncated",
                                       [] {
                                         auto bytes = FormWithUnknownControlClass();
                                         bytes.resize(bytes.size() / 2);
                                         return bytes;
                                       }()},
                      UnusableTemplate{"UnknownControlClass", FormWithUnknownControlClass()}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace quorvane::host::testing

namespace quorvane::calculator {
namespace {

using host::testing::Win32Driver;
using testing::CalculatorScenarios;
using testing::ExpectDisplay;
using testing::Scenario;
using testing::StartUpDisplay;

class Win32Calculator : public ::testing::Test {
 protected:
  Win32Calculator() {
    resources::RegisterProgramResources(driver_.Resources());
    dialog::SetWindowSystem(&driver_.Host());
  }
  ~Win32Calculator() override { dialog::SetWindowSystem(nullptr); }

  // Plays the collected actions, ends with Exit and expects the run to end with 8.
  void RunToExit() {
    driver_.Click(kExitButton);
    TheCalculatorForm().result = 0;
    ASSERT_TRUE(driver_.Play(RunCalculator));
    EXPECT_EQ(TheCalculatorForm().result, 8);
  }

  Win32Driver driver_;
};

TEST_F(Win32Calculator, StartsWithTheDefaultParametersAndTheStateAtZeroPressure) {
  ExpectDisplay(driver_, StartUpDisplay());
  driver_.Inspect([this] {
    const dialog::WindowHandle spin = driver_.Control(kPrecisionSpin);
    EXPECT_EQ(driver_.Host().SpinPosition(spin) & 0xFFFF, 7u);
    EXPECT_EQ(driver_.Host().SpinRange(spin), (2u << 16) | 8u);
    EXPECT_EQ(driver_.Host().Text(driver_.Form()), "Quorvane v6.0");
  });
  RunToExit();
}

TEST_F(Win32Calculator, OnlyTheExitButtonEndsTheRun) {
  driver_.PressEscape();
  driver_.PressEnter();
  driver_.PressCloseBox();
  driver_.Inspect([this] { EXPECT_NE(driver_.Form(), nullptr); });
  ExpectDisplay(driver_, StartUpDisplay());
  RunToExit();
}

// The form's icon control is unnamed: the one static control drawing an icon.
HWND IconControl(HWND form) {
  for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
  }
  return nullptr;
}

// The icon control loads the icon its template names from the executable's
// own resources, as the frame does.
TEST_F(Win32Calculator, ShowsTheProgramIcon) {
  driver_.Inspect([this] {
    const HWND icon = IconControl(reinterpret_cast<HWND>(driver_.Form()));
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
  });
  RunToExit();
}

// A paste far beyond what a field can hold leaves the calculator running.
TEST_F(Win32Calculator, SurvivesAVeryLongPaste) {
  driver_.Paste(kPressureField, std::string(100000, '7'));
  driver_.Inspect([this] { EXPECT_FALSE(driver_.ShownText(kPressureField).empty()); });
  RunToExit();
}

class Win32Scenario : public Win32Calculator, public ::testing::WithParamInterface<Scenario> {};

TEST_P(Win32Scenario, ShowsTheExpectedFields) {
  testing::Perform(driver_, GetParam().actions);
  ExpectDisplay(driver_, GetParam().expected);
  RunToExit();
}

INSTANTIATE_TEST_SUITE_P(Calculator, Win32Scenario, ::testing::ValuesIn(CalculatorScenarios()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace quorvane::calculator
