#include <gtest/gtest.h>

#include "qt_driver.h"
#include "runtime_scenarios.h"

// The dialog runtime's own scenarios, on the Qt host's real widgets.
namespace quorvane::host::testing {
namespace {

using Scenario = void (*)(dialog::HostDriver&);

struct NamedScenario {
  const char* name;
  Scenario run;
};

class QtRuntimeScenario : public ::testing::TestWithParam<NamedScenario> {};

TEST_P(QtRuntimeScenario, PassesOnTheQtHost) {
  QtDriver driver;
  EXPECT_TRUE(driver.Play([&driver] { GetParam().run(driver); }));
}

namespace scenarios = dialog::scenarios;

INSTANTIATE_TEST_SUITE_P(
    Runtime, QtRuntimeScenario,
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

}  // namespace
}  // namespace quorvane::host::testing
