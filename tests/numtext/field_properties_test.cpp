#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "numtext/field_format.h"
#include "numtext/field_read.h"

namespace quorvane::numtext {
namespace {

// Values spread over many decades, both signs, with exact ties and integers mixed in.
double SampleValue(std::mt19937_64& random) {
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> decade(-9, 8);
  switch (random() % 4) {
    case 0:
      return static_cast<double>(static_cast<std::int64_t>(random() % 20001) - 10000) / 8.0;
    case 1:
      return std::trunc(mantissa(random) * 1e6);
    default:
      return mantissa(random) * std::pow(10.0, decade(random));
  }
}

bool OnlyZeroDigits(const std::string& text) {
  return text.find_first_not_of("0.") == std::string::npos;
}

TEST(FieldTextProperty, FillsTheWidthExceptForNegativesRoundingToZero) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const double x = SampleValue(random);
    const int n = 1 + static_cast<int>(random() % 8);
    const std::string text = FormatFieldNumber(x, n);
    if (text.size() == static_cast<std::size_t>(n)) continue;
    EXPECT_TRUE(x < 0 && text.size() + 1 == static_cast<std::size_t>(n) && OnlyZeroDigits(text))
        << x << " at width " << n << " gave \"" << text << '"';
  }
}

TEST(FieldTextProperty, ReadsBackAsTheValueRoundedToItsDecimals) {
  std::mt19937_64 random(11);
  int readBack = 0;
  for (int i = 0; i < 20000; ++i) {
    const double x = SampleValue(random);
    const int n = 2 + static_cast<int>(random() % 7);
    const std::string text = FormatFieldNumber(x, n);
    if (text.front() == '*') continue;
    const auto point = text.find('.');
    ASSERT_NE(point, std::string::npos) << text;
    const int decimals = static_cast<int>(text.size() - point - 1);
    double y = std::numeric_limits<double>::quiet_NaN();
    ASSERT_EQ(ParseFieldNumber(text, y), FieldReadStatus::Success) << text;
    const double halfStep = 0.5 * std::pow(10.0, -decimals);
    EXPECT_LE(std::fabs(y - x), halfStep * (1 + 1e-9) + std::fabs(x) * 1e-15)
        << x << " at width " << n << " gave \"" << text << '"';
    // Writing the value read back gives the same field, except where a sign was dropped.
    if (text.size() == static_cast<std::size_t>(n)) {
      EXPECT_EQ(FormatFieldNumber(y, n), text);
    }
    ++readBack;
  }
  EXPECT_GT(readBack, 10000);
}

// Tokens of each syntax-error class inside otherwise valid surroundings.
TEST(FieldReadProperty, EveryBrokenTokenIsASyntaxError) {
  const char* broken[] = {"1x", "--1", "1..5",  ".",  "+",  "1e+",
                          "*2", "e1",  "1e2e3", "'1", "1(", "x"};
  const char* surroundings[][2] = {{"", ""}, {"  ", ""}, {"\t", " 9"}, {"", ",8"}, {" ", "/"}};
  for (const char* token : broken) {
    for (const auto& around : surroundings) {
      const std::string record = std::string(around[0]) + token + around[1];
      double value = 3.0;
      EXPECT_EQ(ParseFieldNumber(record, value), FieldReadStatus::SyntaxError) << record;
      EXPECT_EQ(value, 3.0) << record;
    }
  }
}

TEST(FieldReadProperty, EveryConversionFailureIsError64) {
  const char* unconvertible[] = {"1e5.5", "1E5+3", "2-3-4", "'1'", "\"a b\"", "9e308", "-2e308"};
  const char* surroundings[][2] = {{"", ""}, {"  ", " 1"}, {"\t", ",8"}};
  for (const char* token : unconvertible) {
    for (const auto& around : surroundings) {
      const std::string record = std::string(around[0]) + token + around[1];
      double wide = 3.0;
      float narrow = 3.0f;
      EXPECT_EQ(ParseFieldNumber(record, wide), FieldReadStatus::ConversionError) << record;
      EXPECT_EQ(ParseFieldNumber(record, narrow), FieldReadStatus::ConversionError) << record;
      EXPECT_EQ(wide, 3.0) << record;
      EXPECT_EQ(narrow, 3.0f) << record;
    }
  }
}

}  // namespace
}  // namespace quorvane::numtext
