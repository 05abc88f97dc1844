#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "dialog/host_driver.h"

// What a user does on the calculator and what the form shows afterwards,
// runnable on any host through a HostDriver.
namespace quorvane::calculator::testing {

struct UserAction {
  enum class Kind { Type, Click, SpinUp, SpinDown };
  Kind kind = Kind::Type;
  std::int32_t controlId = 0;
  std::string text;
};

UserAction Type(std::int32_t controlId, std::string text);
UserAction Click(std::int32_t controlId);
UserAction SpinUp();
UserAction SpinDown();

// Every field's text, in the order of kDisplayedFields; the enabled state of
// K'o, K''o, 2nd, 3rd, 4th and the note, as '1'/'0'; the checked type and order.
struct FormDisplay {
  std::array<std::string, 15> texts;
  std::string enabled;
  std::array<std::int32_t, 2> checked;
};

// Vo, Ko, K'o, K''o, alpha0, alpha1, dK/dT, T(ref), Pressure, Temperature,
// Volume, V(T,0), V/V(0,0), V/V(T,0), precision.
extern const std::array<std::int32_t, 15> kDisplayedFields;
extern const std::array<std::int32_t, 6> kGreyableControls;

struct Scenario {
  std::string name;
  std::vector<UserAction> actions;
  FormDisplay expected;
};

// Test reports name a scenario by its name.
inline void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

// The display right after start-up.
const FormDisplay& StartUpDisplay();
const std::vector<Scenario>& CalculatorScenarios();

// Queues the actions on driver.
void Perform(dialog::HostDriver& driver, const std::vector<UserAction>& actions);
// Queues a check that the shown form matches expected (gtest expectations).
void ExpectDisplay(dialog::HostDriver& driver, const FormDisplay& expected);

}  // namespace quorvane::calculator::testing
