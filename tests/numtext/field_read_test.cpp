#include "numtext/field_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace quorvane::numtext {
namespace {

using Status = FieldReadStatus;
constexpr double kUntouched = 123.25;

struct ReadCase {
  const char* name;
  std::string_view text;
  Status status;
  bool stored;
  double value;  // kUntouched when nothing may be stored
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<ReadCase>& info) {
  return info.param.name;
}

class DoubleField : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DoubleField, ReadsTheFirstValue) {
  const ReadCase& c = GetParam();
  double destination = kUntouched;
  const FieldReadOutcome outcome = ReadFieldNumber(c.text, destination);
  EXPECT_EQ(outcome.status, c.status);
  EXPECT_EQ(outcome.stored, c.stored);
  EXPECT_EQ(destination, c.value);
  EXPECT_EQ(std::signbit(destination), std::signbit(c.value));
  double again = kUntouched;
  EXPECT_EQ(ParseFieldNumber(c.text, again), c.status);
}

constexpr ReadCase Value(const char* name, std::string_view text, double value) {
  return {name, text, Status::Success, true, value};
}
constexpr ReadCase Nothing(const char* name, std::string_view text, Status status) {
  return {name, text, status, false, kUntouched};
}

INSTANTIATE_TEST_SUITE_P(EmptyAndNull, DoubleField,
                         ::testing::Values(Nothing("Empty", "", Status::EndOfInput),
                                           Nothing("Blanks", "    ", Status::EndOfInput),
                                           Nothing("Tabs", "\t \t", Status::EndOfInput),
                                           Nothing("Comma", ",", Status::Success),
                                           Nothing("CommaAfterBlanks", "   , 5", Status::Success),
                                           Nothing("Slash", "/", Status::Success),
                                           Nothing("BareRepeat", "3*", Status::Success),
                                           Nothing("RepeatThenBlank", "3* 5", Status::Success),
                                           Nothing("RepeatThenComma", "3*,5", Status::Success),
                                           Nothing("RepeatThenSlash", "3*/", Status::Success)),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    Numbers, DoubleField,
    ::testing::Values(Value("Padded", "  42  ", 42.0), Value("LowerE", "4.2e1", 42.0),
                      Value("UpperESigned", "4.2E+01", 42.0), Value("DLetter", "4.2d1", 42.0),
                      Value("QLetter", "4.2q1", 42.0), Value("SignExponent", "4.2+1", 42.0),
                      Value("Thousands", "1.5+3", 1500.0), Value("Thousandths", "1.5-3", 0.0015),
                      Value("LetterWithoutDigits", "1E", 1.0), Value("TrailingPoint", "5.", 5.0),
                      Value("LeadingPoint", ".5", 0.5), Value("PlusSign", "+0.25", 0.25),
                      Value("MinusPoint", "-.5", -0.5),
                      Value("IntegerHasNoImpliedDecimals", "1000", 1000.0),
                      Value("PointThenSignExponent", "5.-3", 0.005), Value("AfterTab", "\t7", 7.0),
                      Value("SecondValueIgnored", "1.5 2.5", 1.5),
                      Value("AfterCommaIgnored", "1.5,abc", 1.5), Value("DecimalComma", "1,5", 1.0),
                      Value("GroupedThousands", "1 000", 1.0), Value("EndsAtSlash", "1/2", 1.0),
                      Value("EndsAtParenthesis", "2)", 2.0), Value("Repeated", "3*2.5", 2.5),
                      Value("RepeatedTruth", "2*T", -1.0), Value("NegativeZero", "-0", -0.0),
                      Value("ManyLeadingZeros", "0000.00012e4", 1.2),
                      Value("Precision", "7.9", 7.9)),
    CaseName);

INSTANTIATE_TEST_SUITE_P(TruthValues, DoubleField,
                         ::testing::Values(Value("T", "T", -1.0), Value("DotTrue", ".true.", -1.0),
                                           Value("LowerT", "t", -1.0), Value("F", "F", 0.0),
                                           Value("DotFalse", ".false.", 0.0),
                                           Value("Fred", "Fred", 0.0), Value("DotF", ".f", 0.0)),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    SyntaxErrors, DoubleField,
    ::testing::Values(Nothing("Letters", "abc", Status::SyntaxError),
                      Nothing("TrailingLetter", "1x", Status::SyntaxError),
                      Nothing("DoubleSign", "--5", Status::SyntaxError),
                      Nothing("MixedSigns", "+-5", Status::SyntaxError),
                      Nothing("SignAfterExponentSign", "1e+-3", Status::SyntaxError),
                      Nothing("TwoPoints", "1..2", Status::SyntaxError),
                      Nothing("LonePoint", ".", Status::SyntaxError),
                      Nothing("LoneMinus", "-", Status::SyntaxError),
                      Nothing("LonePlus", "+", Status::SyntaxError),
                      Nothing("EndsInSign", "1E+", Status::SyntaxError),
                      Nothing("EndsInBareSign", "5-", Status::SyntaxError),
                      Nothing("LeadingAsterisk", "*5", Status::SyntaxError),
                      Nothing("LetterBeforeDigits", "E5", Status::SyntaxError),
                      Nothing("PointThenLetter", ".e5", Status::SyntaxError),
                      Nothing("TwoLetters", "1e5d3", Status::SyntaxError),
                      Nothing("InfinityWord", "Inf", Status::SyntaxError),
                      Nothing("NaNWord", "NaN", Status::SyntaxError),
                      Nothing("UnclosedQuote", "'12", Status::SyntaxError),
                      Nothing("UnclosedDoubleQuote", "\"12", Status::SyntaxError),
                      Nothing("LoneParenthesis", ")", Status::SyntaxError),
                      // A mantissa needs a digit of its own; a sign exponent cannot lend it one.
                      Nothing("MantissaWithoutDigits", ".+5", Status::SyntaxError),
                      // A parenthesised pair is a complex value, which a real field does not take.
                      Nothing("ParenthesisedPair", "(1.0,2.0)", Status::SyntaxError),
                      // A repeat count is an unsigned integer of at least one.
                      Nothing("ZeroRepeat", "0*5", Status::SyntaxError),
                      Nothing("SignedRepeat", "+3*5", Status::SyntaxError),
                      Nothing("FractionalRepeat", "1.5*2", Status::SyntaxError),
                      Nothing("NestedRepeat", "2*3*4", Status::SyntaxError),
                      Nothing("RepeatThenParenthesis", "2*)", Status::SyntaxError),
                      Nothing("NewlineInToken", "1\n", Status::SyntaxError),
                      Nothing("NulInToken", std::string_view("1\0", 2), Status::SyntaxError),
                      Nothing("HighByte", "\x80", Status::SyntaxError)),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    ConversionErrors, DoubleField,
    ::testing::Values(Nothing("PointInExponent", "1e5.5", Status::ConversionError),
                      Nothing("SecondExponentSign", "1E5+3", Status::ConversionError),
                      Nothing("ChainedSignExponents", "1-2-3", Status::ConversionError),
                      Nothing("SignExponentWithoutDigits", "1+.5", Status::ConversionError),
                      Nothing("Quoted", "'12'", Status::ConversionError),
                      Nothing("DoubleQuoted", "\"x\"", Status::ConversionError),
                      Nothing("RepeatedQuoted", "2*'a'", Status::ConversionError),
                      Nothing("Overflow", "1e400", Status::ConversionError),
                      Nothing("NegativeOverflow", "-1e400", Status::ConversionError),
                      Nothing("RoundsToInfinity", "1.7976931348623159e308",
                              Status::ConversionError),
                      Nothing("HugeExponent", "1e99999999999999999999", Status::ConversionError)),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Limits, DoubleField,
    ::testing::Values(Value("Underflow", "1e-400", 0.0),
                      Value("NegativeUnderflow", "-1e-400", -0.0),
                      Value("BelowHalfSmallestSubnormal", "2e-324", 0.0),
                      Value("SmallestSubnormal", "4.9406564584124654e-324", 5e-324),
                      Value("Subnormal", "1e-310", 1e-310),
                      Value("Largest", "1.7976931348623157e308", 1.7976931348623157e308),
                      Value("ZeroWithHugeExponent", "0e99999999999", 0.0),
                      Value("HugeNegativeExponent", "1e-99999999999999999999", 0.0)),
    CaseName);

// 2^53 + 1 lies halfway between two doubles.
INSTANTIATE_TEST_SUITE_P(
    SignificantDigits, DoubleField,
    ::testing::Values(
        Value("HalfwayGoesToEven", "9007199254740993", 9007199254740992.0),
        Value("HalfwayUpToEven", "9007199254740995", 9007199254740996.0),
        Value("TwentySeventhDigitCounts", "9007199254740993.00000000001", 9007199254740994.0),
        Value("TwentyEighthDigitIgnored", "9007199254740993.000000000001", 9007199254740992.0),
        Value("LeadingZerosAreNotSignificant", "000000000009007199254740993.00000000001",
              9007199254740994.0),
        // (2^53 + 1) * 2^40 + 1: above a tie, but only its first 27 digits count.
        Value("IgnoredIntegerDigitsStillScale", "9903520314283043298704621569", 0x1p93)),
    CaseName);

struct FloatCase {
  const char* name;
  std::string_view text;
  Status status;
  float value;
};

void PrintTo(const FloatCase& c, std::ostream* os) {
  *os << c.name;
}

class FloatField : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatField, RoundsOnceToSinglePrecision) {
  const FloatCase& c = GetParam();
  float destination = 5.5f;
  EXPECT_EQ(ParseFieldNumber(c.text, destination), c.status);
  EXPECT_EQ(destination, c.value);
  EXPECT_EQ(std::signbit(destination), std::signbit(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FloatField,
    ::testing::Values(FloatCase{"Precision", "7.9", Status::Success, 7.9f},
                      FloatCase{"Truth", ".true.", Status::Success, -1.0f},
                      // Via a double this would land on the tie 1 + 2^-24 and then round down to 1.
                      FloatCase{"NoDoubleRounding", "1.0000000596046447753906251", Status::Success,
                                1.00000011920928955078125f},
                      FloatCase{"HalfwayGoesToEven", "16777217", Status::Success, 16777216.0f},
                      FloatCase{"HalfwayUpToEven", "16777219", Status::Success, 16777220.0f},
                      FloatCase{"Largest", "3.4028235e38", Status::Success, 3.4028235e38f},
                      FloatCase{"RoundsToInfinity", "3.4028236e38", Status::ConversionError, 5.5f},
                      FloatCase{"Overflow", "1e39", Status::ConversionError, 5.5f},
                      FloatCase{"FitsADoubleNotAFloat", "1e300", Status::ConversionError, 5.5f},
                      FloatCase{"SmallestSubnormal", "1.4e-45", Status::Success, 1.4e-45f},
                      FloatCase{"Underflow", "1e-46", Status::Success, 0.0f},
                      FloatCase{"NegativeUnderflow", "-1e-50", Status::Success, -0.0f},
                      FloatCase{"Syntax", "7x", Status::SyntaxError, 5.5f},
                      FloatCase{"Null", ",", Status::Success, 5.5f},
                      FloatCase{"Blank", "", Status::EndOfInput, 5.5f}),
    [](const ::testing::TestParamInfo<FloatCase>& param) { return std::string(param.param.name); });

// The record is the view and never more: whatever follows it in memory stays unread.
TEST(FieldRecord, EndsWhereTheViewEnds) {
  const std::string memory = "1234 '5' 3*7";
  double value = kUntouched;
  EXPECT_EQ(ParseFieldNumber(std::string_view(memory).substr(0, 2), value), Status::Success);
  EXPECT_EQ(value, 12.0);
  EXPECT_EQ(ParseFieldNumber(std::string_view(memory).substr(5, 2), value), Status::SyntaxError);
  const FieldReadOutcome repeat = ReadFieldNumber(std::string_view(memory).substr(9, 2), value);
  EXPECT_EQ(repeat.status, Status::Success);
  EXPECT_FALSE(repeat.stored);
  EXPECT_EQ(value, 12.0);
}

TEST(FieldRecord, IsCutAt256Characters) {
  double value = kUntouched;
  EXPECT_EQ(ParseFieldNumber(std::string(255, ' ') + "12", value), Status::Success);
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(ParseFieldNumber(std::string(256, ' ') + "5", value), Status::EndOfInput);
  EXPECT_EQ(ParseFieldNumber("'" + std::string(255, 'a') + "'", value), Status::SyntaxError);
  EXPECT_EQ(ParseFieldNumber("1" + std::string(299, '0'), value), Status::Success);
  EXPECT_EQ(value, 1e255);
}

}  // namespace
}  // namespace quorvane::numtext
