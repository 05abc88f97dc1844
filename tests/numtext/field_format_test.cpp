#include "numtext/field_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace quorvane::numtext {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FieldCase {
  const char* name;
  double x;
  int n;
  const char* text;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.name;
}

class FieldText : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldText, IsWrittenAsShown) {
  const FieldCase& c = GetParam();
  EXPECT_EQ(FormatFieldNumber(c.x, c.n), c.text) << c.x << " at width " << c.n;
}

std::string CaseName(const ::testing::TestParamInfo<FieldCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(ResultingForms, FieldText,
                         ::testing::Values(FieldCase{"IntegerPartFits", 12.3456789, 8, "12.34568"},
                                           FieldCase{"BelowOne", 0.5, 7, "0.50000"},
                                           FieldCase{"Zero", 0.0, 7, "0.00000"},
                                           FieldCase{"NegativeZero", -0.0, 7, "0.00000"},
                                           FieldCase{"AboveMinusOne", -0.5, 7, "-0.5000"},
                                           FieldCase{"MinusOneOrLess", -12345.0, 7, "-12345."},
                                           FieldCase{"NegativeRoundingToZero", -1e-10, 7, "0.0000"},
                                           FieldCase{"IntegerPartTooLong", 1234567.0, 7, "*******"},
                                           FieldCase{"CarryIntoNewDigit", 9.9999999, 7, "*******"},
                                           FieldCase{"NaNWide", kNaN, 3, "NaN"},
                                           FieldCase{"NaNNarrow", kNaN, 2, "**"},
                                           FieldCase{"NaNOneColumn", kNaN, 1, "*"}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, FieldText,
    ::testing::Values(
        FieldCase{"Zero7", 0.0, 7, "0.00000"}, FieldCase{"One7", 1.0, 7, "1.00000"},
        FieldCase{"Temperature7", 298.0, 7, "298.000"},
        FieldCase{"Temperature8", 298.0, 8, "298.0000"}, FieldCase{"Ten6", 10.0, 6, "10.000"},
        FieldCase{"Hundred6", 100.0, 6, "100.00"}, FieldCase{"Four6", 4.0, 6, "4.0000"},
        FieldCase{"SmallNegative6", -0.02, 6, "-0.020"}, FieldCase{"Half7", 0.5, 7, "0.50000"},
        FieldCase{"MinusHalf7", -0.5, 7, "-0.5000"}, FieldCase{"Third7", 1.0 / 3.0, 7, "0.33333"},
        FieldCase{"TwoThirds8", 2.0 / 3.0, 8, "0.666667"},
        FieldCase{"MinusTwoThirds8", -2.0 / 3.0, 8, "-0.66667"},
        FieldCase{"RoundsUpToOne", 0.9999996, 7, "1.00000"},
        FieldCase{"RoundsDownToMinusOne", -0.9999996, 7, "-1.0000"},
        FieldCase{"PointWithoutDecimals", 123456.0, 7, "123456."},
        FieldCase{"NegativePointWithoutDecimals", -12345.0, 7, "-12345."},
        FieldCase{"NegativeTooLong", -123456.0, 7, "*******"},
        FieldCase{"CarryPastWidth", 99999.99, 7, "*******"},
        FieldCase{"TinyPositive", 1e-10, 7, "0.00000"},
        FieldCase{"TinyNegative", -1e-10, 7, "0.0000"},
        FieldCase{"NegativeRoundingAway", -0.00006, 7, "-0.0001"},
        FieldCase{"Width2RoundsDown", 0.3, 2, "0."}, FieldCase{"Width2RoundsUp", 0.7, 2, "1."},
        FieldCase{"Width2TieUp", 1.5, 2, "2."}, FieldCase{"Width2TieDown", 2.5, 2, "2."},
        FieldCase{"Width2Integer", 5.0, 2, "5."}, FieldCase{"Width2Negative", -5.0, 2, "**"},
        FieldCase{"Width2NegativeFraction", -0.3, 2, "**"}, FieldCase{"Width1", 3.14159, 1, "*"},
        FieldCase{"CarryAtWidth4", 999.5, 4, "****"},
        FieldCase{"NegativeWidth5", -999.4, 5, "-999."}, FieldCase{"Huge8", 1e300, 8, "********"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, FieldText,
    ::testing::Values(
        FieldCase{"Width1Zero", 0.0, 1, "*"}, FieldCase{"Width2Below9Point5", 9.49, 2, "9."},
        FieldCase{"Width2At9Point5", 9.5, 2, "**"}, FieldCase{"Width2TieToFour", 3.5, 2, "4."},
        FieldCase{"JustBelowCarry", 9.999994, 7, "9.99999"},
        FieldCase{"NegativeZeroWidth2", -0.0, 2, "0."}, FieldCase{"NaNWidth8", kNaN, 8, "NaN"},
        FieldCase{"NegativeRoundsToZeroWidth3", -0.4, 3, "0."},
        // Exact binary values: 2.675 lies below the tie, 0.125 is a tie that goes to even.
        FieldCase{"BinaryBelowTie", 2.675, 4, "2.67"},
        FieldCase{"ExactTieToEven", 0.125, 4, "0.12"},
        FieldCase{"ExactTieUpToEven", 0.375, 4, "0.38"},
        FieldCase{"BinaryAboveTie", 1.0000005, 8, "1.000001"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    NonFiniteAndTiny, FieldText,
    ::testing::Values(FieldCase{"InfinityWide", kInf, 7, "Inf"},
                      FieldCase{"InfinityAtThree", kInf, 3, "Inf"},
                      FieldCase{"InfinityNarrow", kInf, 2, "**"},
                      FieldCase{"MinusInfinityAtFour", -kInf, 4, "-Inf"},
                      FieldCase{"MinusInfinityNarrow", -kInf, 3, "***"},
                      FieldCase{"SmallestSubnormal", 5e-324, 7, "*******"},
                      FieldCase{"NegativeSubnormal", -2.2250738585072009e-308, 8, "********"},
                      FieldCase{"SmallestNormal", 2.2250738585072014e-308, 8, "0.000000"},
                      FieldCase{"LargestDouble", 1.7976931348623157e308, 8, "********"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    WidthsOutsideTheForm, FieldText,
    ::testing::Values(FieldCase{"WidthZero", 1.0, 0, ""}, FieldCase{"NegativeWidth", 1.0, -3, ""},
                      FieldCase{"Width12", 1.0 / 3.0, 12, "0.3333333333"},
                      FieldCase{"ExactBinaryDigits", 0.1, 30, "0.1000000000000000055511151231"},
                      FieldCase{"TwentyOneDigits", 1e20, 30, "100000000000000000000.00000000"},
                      FieldCase{"HugeInWideField", 1e300, 20, "********************"}),
    CaseName);

TEST(FieldTextWidth, IsCappedAtTheFieldBuffer) {
  EXPECT_EQ(FormatFieldNumber(0.5, 300).size(), 256u);
  EXPECT_EQ(FormatFieldNumber(1e300, 1000), std::string(256, '*'));
  EXPECT_EQ(FormatFieldNumber(-1.7976931348623157e308, 256).size(), 256u);
}

struct EditCase {
  const char* name;
  double x;
  int w;
  int d;
  const char* text;
};

void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.name;
}

class FixedEdit : public ::testing::TestWithParam<EditCase> {};

std::string EditName(const ::testing::TestParamInfo<EditCase>& info) {
  return info.param.name;
}

TEST_P(FixedEdit, IsRightAlignedAndCorrectlyRounded) {
  const EditCase& c = GetParam();
  EXPECT_EQ(FixedDecimalEdit(c.x, c.w, c.d), c.text);
}

INSTANTIATE_TEST_SUITE_P(Examples, FixedEdit,
                         ::testing::Values(EditCase{"TieDownToEven", 2.5, 2, 0, "2."},
                                           EditCase{"TieUpToEven", 3.5, 2, 0, "4."},
                                           EditCase{"TieInFifthDecimal", 0.015625, 7, 5, "0.01562"},
                                           EditCase{"TieInSecondDecimal", 0.375, 4, 2, "0.38"},
                                           EditCase{"PointAlwaysWritten", 5.0, 2, 0, "5."},
                                           EditCase{"CarryOverflows", 9.9999999, 7, 5, "*******"},
                                           EditCase{"PaddedOnTheLeft", 1.5, 8, 2, "    1.50"},
                                           EditCase{"NegativePadded", -1.5, 8, 2, "   -1.50"},
                                           EditCase{"ZeroOnlyInFreeColumn", 0.5, 4, 3, ".500"},
                                           EditCase{"NegativeWithoutZero", -0.5, 5, 3, "-.500"},
                                           EditCase{"NegativeRoundingToZero", -1e-10, 8, 4,
                                                    "  0.0000"},
                                           EditCase{"NaNRightAligned", kNaN, 5, 2, "  NaN"},
                                           EditCase{"NaNWithoutDecimals", kNaN, 5, 0, "*****"},
                                           EditCase{"InfinityRightAligned", kInf, 5, 1, "  Inf"},
                                           EditCase{"MinusInfinityTooWide", -kInf, 3, 1, "***"},
                                           EditCase{"DecimalsFillTheWidth", 0.5, 3, 3, "***"},
                                           EditCase{"NegativeDecimals", 1.0, 4, -1, "****"},
                                           EditCase{"NoWidth", 1.0, 0, 0, ""}),
                         EditName);

}  // namespace
}  // namespace quorvane::numtext
