#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "host_fixture.h"
#include "numtext/show_field_number.h"

namespace quorvane::dialog {
namespace {

using ShowFieldNumberTest = ScriptedHostTest;

TEST_F(ShowFieldNumberTest, StoresTheFieldTextOfTheNumberAtTheGivenWidth) {
  struct Case {
    const char* name;
    double x;
    int n;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"temperature", 298.0, 7, "298.000"},
      {"parameter at width 6", 100.0, 6, "100.00"},
      {"negative rounding to zero drops a column", -1e-10, 7, "0.0000"},
      {"too wide", 1234567.0, 7, "*******"},
      {"width zero", 5.0, 0, ""},
      {"negative width", 5.0, -3, ""},
  };
  Load(FormBuilder().Edit(1000));
  for (const Case& c : cases) {
    SetControlText(form, 1000, "previous");
    numtext::ShowFieldNumber(form, 1000, c.x, c.n);
    std::string buffer(12, '#');
    ASSERT_EQ(GetControlText(form, 1000, buffer), kTrue);
    EXPECT_EQ(buffer, c.shown + std::string(12 - std::string(c.shown).size(), ' ')) << c.name;
    std::int32_t length = -1;
    ASSERT_EQ(GetControlInteger(form, 1000, length), kTrue);
    EXPECT_EQ(length, static_cast<std::int32_t>(std::string(c.shown).size())) << c.name;
  }
}

}  // namespace
}  // namespace quorvane::dialog
