#include "calculator/precision_handler.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "dialog/scripted_host.h"
#include "engine/process_state.h"
#include "resources/program_resources.h"

namespace quorvane::calculator {
namespace {

struct WidthCase {
  const char* name;
  float reading;
  std::int32_t width;
};

class WidthFromReading : public ::testing::TestWithParam<WidthCase> {};

TEST_P(WidthFromReading, TruncatesTowardZeroWithinOneToEight) {
  EXPECT_EQ(WidthFromPrecisionReading(GetParam().reading), GetParam().width);
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    PrecisionHandler, WidthFromReading,
    ::testing::Values(WidthCase{"Two", 2.0f, 2}, WidthCase{"Seven", 7.0f, 7},
                      WidthCase{"SevenPointNine", 7.9f, 7}, WidthCase{"Eight", 8.0f, 8},
                      WidthCase{"JustAboveEight", 8.001f, 8}, WidthCase{"Twelve", 12.0f, 8},
                      WidthCase{"HugePositive", 1e30f, 8}, WidthCase{"LargestFloat", 3.4e38f, 8},
                      WidthCase{"PositiveInfinity", kInfinity, 8}, WidthCase{"One", 1.0f, 1},
                      WidthCase{"JustBelowOne", 0.999f, 1}, WidthCase{"Zero", 0.0f, 1},
                      WidthCase{"NegativeZero", -0.0f, 1}, WidthCase{"MinusOnePointFive", -1.5f, 1},
                      WidthCase{"HugeNegative", -1e30f, 1},
                      WidthCase{"NegativeInfinity", -kInfinity, 1},
                      WidthCase{"NotANumber", std::numeric_limits<float>::quiet_NaN(), 1}),
    [](const auto& row) { return std::string(row.param.name); });

// The precision field as the handler finds it, outside a modal run: the
// runtime keeps the texts in the form's records.
class PrecisionField : public ::testing::Test {
 protected:
  PrecisionField() {
    resources::RegisterProgramResources(table_);
    dialog::SetWindowSystem(&host_);
    dialog::LoadForm(form_, kCalculatorFormId);
    InitCalculatorForm(form_);
  }
  ~PrecisionField() override {
    dialog::ReleaseForm(form_);
    dialog::SetWindowSystem(nullptr);
  }

  void Enter(const std::string& text) {
    dialog::SetControlText(form_, kPrecisionField, text);
    OnPrecisionChanged(form_, kPrecisionField, dialog::EventKind::Changed);
  }

  std::string Text(std::int32_t controlId) {
    std::array<char, 256> buffer{};
    dialog::GetControlText(form_, controlId, buffer);
    std::string text(buffer.data(), buffer.size());
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }

  dialog::ResourceTable table_;
  dialog::ScriptedHost host_{table_};
  dialog::DialogForm form_;
};

TEST_F(PrecisionField, AHugeNumberMeansEightAndStaysAsTyped) {
  Enter("1e30");
  EXPECT_EQ(engine::TheEosParameters().precision, 8);
  EXPECT_EQ(Text(kPrecisionField), "1e30");
  EXPECT_EQ(Text(kVolumeField), "10.00000");
  EXPECT_EQ(Text(kTemperatureField), "298.0000");
  EXPECT_EQ(Text(kPressureField), "0.000000");
}

TEST_F(PrecisionField, AHugeNegativeNumberMeansOne) {
  Enter("-1e30");
  EXPECT_EQ(engine::TheEosParameters().precision, 1);
  EXPECT_EQ(Text(kVolumeField), "*");
  EXPECT_EQ(Text(kThermalVolumeRatioField), "*");
}

TEST_F(PrecisionField, ANumberBeyondSinglePrecisionLeavesTheWidthAlone) {
  Enter("1e39");
  EXPECT_EQ(engine::TheEosParameters().precision, 7);
  EXPECT_EQ(Text(kVolumeField), "10.0000");
}

TEST_F(PrecisionField, AFractionIsTruncated) {
  Enter("5.9");
  EXPECT_EQ(engine::TheEosParameters().precision, 5);
  EXPECT_EQ(Text(kVolumeField), "10.00");
  EXPECT_EQ(Text(kZeroPressureVolumeField), "10.00");
  EXPECT_EQ(Text(kVolumeRatioField), "1.000");
}

TEST_F(PrecisionField, BlankLeavesTheWidthButStillRewritesTheFields) {
  dialog::SetControlText(form_, kVolumeField, "9");
  Enter("");
  EXPECT_EQ(engine::TheEosParameters().precision, 7);
  EXPECT_EQ(Text(kVolumeField), "9.00000");
  EXPECT_EQ(Text(kPressureField), "13.0101");
}

}  // namespace
}  // namespace quorvane::calculator
