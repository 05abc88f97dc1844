#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "dialog/scripted_driver.h"
#include "resources/program_resources.h"

namespace quorvane::calculator {
namespace {

// Entries at the edges of what a field can read: huge, tiny, signed zero,
// truth values, null values, repeat counts, overflow, and plain junk.
const std::vector<std::string> kOddEntries = {
    "1e308", "-1e308", "1e-400", "-0",  "0",   "1e30", "-1e30", "T",    "F",     ",",     "/",
    "3*",    "2*9",    "1e400",  "nan", "inf", "1..2", "--5",   "'12'", "(1,2)", "4.2d1", "1.5-3"};

const std::vector<std::int32_t> kTypedFields = {kPressureField,    kVolumeField,
                                                kVolumeRatioField, kZeroPressureVolumeField,
                                                kTemperatureField, kThermalVolumeRatioField,
                                                kV0Field,          kK0Field,
                                                kKp0Field,         kKpp0Field,
                                                kAlpha0Field,      kAlpha1Field,
                                                kDKdTField,        kTrefField,
                                                kPrecisionField};

const std::vector<std::int32_t> kWorkingPointFields = {kPressureField,    kVolumeField,
                                                       kVolumeRatioField, kZeroPressureVolumeField,
                                                       kTemperatureField, kThermalVolumeRatioField};

// Whatever is typed, each working-point field the program writes stays within
// the widest display width, and Exit still ends the run.
TEST(OddEntries, NeverBreakTheFormInAnyField) {
  for (std::int32_t field : kTypedFields) {
    for (const std::string& entry : kOddEntries) {
      SCOPED_TRACE("field " + std::to_string(field) + " entry \"" + entry + "\"");
      dialog::ScriptedDriver driver;
      resources::RegisterProgramResources(driver.Resources());
      dialog::SetWindowSystem(&driver.Host());
      driver.TypeText(kPressureField, "10");
      driver.TypeText(field, entry);
      driver.TypeText(kVolumeField, "9");
      driver.Inspect([&driver, field, entry] {
        for (std::int32_t shown : kWorkingPointFields) {
          if (shown == field && driver.ShownText(shown) == entry) continue;
          EXPECT_LE(driver.ShownText(shown).size(), 8u) << "field " << shown;
        }
      });
      driver.Click(kExitButton);
      TheCalculatorForm().result = 0;
      RunCalculator();
      EXPECT_EQ(TheCalculatorForm().result, 8);
      dialog::SetWindowSystem(nullptr);
    }
  }
}

}  // namespace
}  // namespace quorvane::calculator
