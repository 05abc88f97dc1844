#include "app/value_range.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/input_error.h"

namespace quorvane::app {
namespace {

std::vector<double> Values(const ValueRange& range) {
  std::vector<double> values;
  for (std::int64_t i = 0; i < range.count; ++i) values.push_back(range.At(i));
  return values;
}

struct RangeCase {
  const char* name;
  const char* text;
  std::vector<double> values;
};

const RangeCase kRangeCases[] = {
    {"Single", "7.5", {7.5}},
    {"Upwards", "0:100:25", {0, 25, 50, 75, 100}},
    {"NegativeStep", "10:0:-2.5", {10, 7.5, 5, 2.5, 0}},
    {"StopNotOnAStep", "0:10:4", {0, 4, 8}},
    {"StopReachedDespiteRounding", "0:0.3:0.1", {0, 0.1, 0.2, 0.3}},
    {"StartEqualsStop", "5:5:1", {5}},
    {"StartEqualsStopNegativeStep", "5:5:-1", {5}},
    {"NegativeValues", "-30:-20:5", {-30, -25, -20}},
    {"Exponents", "1e2:3e2:1e2", {100, 200, 300}},
    // A list keeps its order and its repeats.
    {"List", "300,2000", {300, 2000}},
    {"ListOfAnyOrder", "2000,-5,300,300", {2000, -5, 300, 300}},
};

class RangeValues : public testing::TestWithParam<RangeCase> {};

TEST_P(RangeValues, ListEveryValue) {
  const RangeCase& c = GetParam();
  EXPECT_EQ(Values(ParseValueRange(c.text, "--P")), c.values);
}

INSTANTIATE_TEST_SUITE_P(Texts, RangeValues, testing::ValuesIn(kRangeCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ValueRange, SingleNumberIsNotARange) {
  EXPECT_TRUE(ParseValueRange("3", "--T").single);
  EXPECT_FALSE(ParseValueRange("3:3:1", "--T").single);
}

TEST(ValueRange, ValuesAreTheDecimalsAsWritten) {
  const ValueRange range = ParseValueRange("0:1000:0.1", "--T");
  ASSERT_EQ(range.count, 10001);
  EXPECT_EQ(range.At(3), 0.3);
  EXPECT_EQ(range.At(5000), 500.0);
  EXPECT_EQ(range.At(7777), 777.7);
  EXPECT_EQ(range.At(10000), 1000.0);
  const ValueRange exponents = ParseValueRange("-2.5e-1:1E0:5e-2", "--P");
  ASSERT_EQ(exponents.count, 26);
  EXPECT_EQ(exponents.At(1), -0.2);
  EXPECT_EQ(exponents.At(7), 0.1);
}

TEST(ValueRange, TooManyDecimalPlacesFallBackToSteppingFromTheStart) {
  // The step reads as the double 0.1, whose ten steps reach the stop.
  const ValueRange range = ParseValueRange("0:1:0.1000000000000000000001", "--P");
  ASSERT_EQ(range.count, 11);
  EXPECT_EQ(range.At(3), 0.30000000000000004);
  EXPECT_EQ(range.At(10), 1.0);
  const ValueRange huge = ParseValueRange("1e300:3e300:1e300", "--P");
  ASSERT_EQ(huge.count, 3);
  EXPECT_EQ(huge.At(1), 2e300);
  EXPECT_EQ(huge.At(2), 3e300);
}

struct RefusedCase {
  const char* name;
  const char* text;
  const char* message;
};

const RefusedCase kRefusedCases[] = {
    {"Empty", "", "--P: \"\" is empty, a number is needed"},
    {"ListWithARange", "300,0:10:1",
     "--P: \"300,0:10:1\" mixes a list and a range; give one or the other"},
    {"ListWithAnEmptyValue", "1,,5",
     "--P: the value \"\" of \"1,,5\" is empty, a number is needed"},
    {"ListWithADecimalComma", "1,5e",
     "--P: the value \"5e\" of \"1,5e\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"TwoParts", "0:10", "--P: \"0:10\" is neither a number nor a range start:stop:step"},
    {"FourParts", "0:10:1:2", "--P: \"0:10:1:2\" is neither a number nor a range start:stop:step"},
    {"BadStop", "0:x:1",
     "--P: the stop \"x\" of \"0:x:1\" is not a decimal number (digits, one point, an optional "
     "exponent)"},
    {"MissingStep", "0:10:", "--P: the step \"\" of \"0:10:\" is empty, a number is needed"},
    {"ZeroStep", "0:10:0", "--P: the range \"0:10:0\" has a step of zero"},
    {"EmptyUpwards", "10:0:2.5",
     "--P: the range \"10:0:2.5\" is empty: its step leads away from "
     "the stop"},
    {"EmptyDownwards", "0:10:-1",
     "--P: the range \"0:10:-1\" is empty: its step leads away from "
     "the stop"},
    {"TooManyValues", "0:1:1e-9", "--P: the range \"0:1:1e-9\" has more than 100000000 values"},
    {"StepTooSmallToCount", "-1e308:1e308:1e-300",
     "--P: the range \"-1e308:1e308:1e-300\" has more than 100000000 values"},
};

class RefusedRanges : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedRanges, NameTheArgument) {
  const RefusedCase& c = GetParam();
  try {
    ParseValueRange(c.text, "--P");
    FAIL() << "accepted " << c.text;
  } catch (const InputError& error) {
    EXPECT_STREQ(error.what(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, RefusedRanges, testing::ValuesIn(kRefusedCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::app
