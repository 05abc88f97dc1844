#include "app/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <regex>
#include <string>

namespace quorvane::app {
namespace {

struct DecimalCase {
  const char* name;
  const char* text;
  double value;  // NAN: refused
};

const DecimalCase kDecimalCases[] = {
    {"Integer", "42", 42.0},
    {"PlusSign", "+42", 42.0},
    {"Negative", "-5", -5.0},
    {"Fraction", "1.5", 1.5},
    {"LeadingPoint", ".5", 0.5},
    {"TrailingPoint", "2.", 2.0},
    {"Exponent", "1e3", 1000.0},
    {"CapitalExponentWithSign", "-2.5E-2", -0.025},
    {"NegativeZero", "-0", -0.0},
    {"ShortestOfAThird", "0.3333333333333333", 0.3333333333333333},
    {"SubnormalStillFits", "5e-324", 5e-324},
    {"Comma", "1,5", NAN},
    {"Empty", "", NAN},
    {"LoneSign", "-", NAN},
    {"LonePoint", ".", NAN},
    {"TwoPoints", "1.2.3", NAN},
    {"ExponentWithoutDigits", "1e", NAN},
    {"ExponentSignOnly", "1e+", NAN},
    {"ExponentOnly", "e5", NAN},
    {"LeadingBlank", " 1", NAN},
    {"TrailingBlank", "1 ", NAN},
    {"Infinity", "inf", NAN},
    {"InfinityWord", "Infinity", NAN},
    {"NotANumber", "nan", NAN},
    {"Hexadecimal", "0x10", NAN},
    {"DoubleSign", "--1", NAN},
    {"ExponentLetterD", "1d3", NAN},
    {"Overflow", "1e400", NAN},
    {"Underflow", "1e-400", NAN},
    {"TrailingLetter", "12a", NAN},
};

class DecimalSyntax : public testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalSyntax, AcceptsOnlyPlainDecimals) {
  const DecimalCase& c = GetParam();
  const auto value = ParseDecimal(c.text);
  if (std::isnan(c.value)) {
    EXPECT_FALSE(value.has_value()) << *value;
    EXPECT_FALSE(DecimalSyntaxProblem(c.text).empty());
    return;
  }
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(std::memcmp(&*value, &c.value, sizeof(double)), 0) << *value;
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalSyntax, testing::ValuesIn(kDecimalCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DecimalText, NamesWhyATextWasRefused) {
  EXPECT_EQ(DecimalSyntaxProblem(""), "is empty, a number is needed");
  EXPECT_EQ(DecimalSyntaxProblem("1e999"), "is beyond the range of a double");
  EXPECT_EQ(DecimalSyntaxProblem("1,5"),
            "is not a decimal number (digits, one point, an optional exponent)");
}

TEST(DecimalText, ShortestTextReadsBackToTheSameDouble) {
  std::mt19937_64 random(8);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double x = 0.0;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    std::string text;
    AppendShortest(text, x);
    const auto back = ParseDecimal(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(std::memcmp(&*back, &x, sizeof x), 0) << text;
  }
}

TEST(DecimalText, ShortestTextOfNonFiniteValues) {
  std::string text;
  AppendShortest(text, INFINITY);
  text += ' ';
  AppendShortest(text, -INFINITY);
  text += ' ';
  AppendShortest(text, NAN);
  EXPECT_EQ(text, "inf -inf nan");
}

// Random texts over the characters a number is made of, and a few others:
// the parser never fails on any of them, and it accepts exactly those the
// regular expression of the syntax matches (unless they overflow).
TEST(DecimalText, RandomTextsFollowTheSyntax) {
  const std::regex syntax(R"([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
  const std::string alphabet = "0123456789+-.eE ,xai";
  std::mt19937 random(12);
  for (int i = 0; i < 50000; ++i) {
    std::string text(random() % 9, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const bool matches = std::regex_match(text, syntax);
    const auto value = ParseDecimal(text);
    if (!matches) {
      EXPECT_FALSE(value.has_value()) << '"' << text << '"';
    } else if (!value) {
      EXPECT_EQ(DecimalSyntaxProblem(text), "is beyond the range of a double") << text;
    }
  }
}

}  // namespace
}  // namespace quorvane::app
