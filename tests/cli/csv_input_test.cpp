#include "cli/csv_input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/input_error.h"

namespace quorvane::cli {
namespace {

app::EosRequest RequestReading(const std::string& text, double defaultTemperature = 298.0) {
  app::EosRequest request;
  request.inputPath = "points.csv";
  request.partnerValues = app::ValueRange::Single(defaultTemperature);
  std::istringstream in(text);
  ReadCsvRows(in, "points.csv", request);
  return request;
}

std::string RefusalOf(const std::string& text) {
  try {
    RequestReading(text);
  } catch (const app::InputError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(CsvInput, ReadsTheKnownQuantityAndTheTemperature) {
  const app::EosRequest r = RequestReading("T,P\n300,10\n900,-5\n");
  EXPECT_EQ(r.known, app::KnownQuantity::Pressure);
  ASSERT_EQ(r.csvRows.size(), 2u);
  EXPECT_EQ(r.csvRows[0].known, 10.0);
  EXPECT_EQ(r.csvRows[0].partner, 300.0);
  EXPECT_EQ(r.csvRows[1].known, -5.0);
  EXPECT_EQ(r.csvRows[1].partner, 900.0);
}

TEST(CsvInput, WithoutATemperatureColumnTakesTheGivenTemperature) {
  const app::EosRequest r = RequestReading("V\n9\n9.5\n", 1200.0);
  EXPECT_EQ(r.known, app::KnownQuantity::Volume);
  ASSERT_EQ(r.csvRows.size(), 2u);
  EXPECT_EQ(r.csvRows[1].known, 9.5);
  EXPECT_EQ(r.csvRows[1].partner, 1200.0);
}

TEST(CsvInput, ZeroPressureVolumeHoldsTheVolumeColumn) {
  const app::EosRequest r = RequestReading("V,VT0\n9,10.5\n");
  EXPECT_EQ(r.known, app::KnownQuantity::ZeroPressureVolume);
  EXPECT_EQ(r.csvRows[0].known, 10.5);
  EXPECT_EQ(r.csvRows[0].partner, 9.0);
}

TEST(CsvInput, ToleratesBlankLinesCarriageReturnsQuotedNamesAndPadding) {
  const app::EosRequest r = RequestReading("\n\"V/VT0\" , \"T\"\r\n\r\n 0.95 ,\t300 \r\n\n");
  EXPECT_EQ(r.known, app::KnownQuantity::VolumeOverVT0);
  ASSERT_EQ(r.csvRows.size(), 1u);
  EXPECT_EQ(r.csvRows[0].known, 0.95);
  EXPECT_EQ(r.csvRows[0].partner, 300.0);
}

TEST(CsvInput, ReadsEveryQuantityName) {
  EXPECT_EQ(RequestReading("V/V00\n0.9\n").known, app::KnownQuantity::VolumeOverV00);
  EXPECT_EQ(RequestReading("V/VT0\n0.9\n").known, app::KnownQuantity::VolumeOverVT0);
  EXPECT_EQ(RequestReading("P\n0.9\n").known, app::KnownQuantity::Pressure);
}

struct RefusedCase {
  const char* name;
  const char* text;
  const char* message;
};

const RefusedCase kRefusedCases[] = {
    {"EmptyFile", "", "points.csv: no header row"},
    {"HeaderOnly", "P,T\n", "points.csv: no state points after the header"},
    {"OnlyUnknownColumns", "Pressure,Temp\n1,2\n",
     "points.csv line 1: name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)"},
    {"RepeatedColumn", "P,T,P\n", "points.csv line 1, column 3: column \"P\" appears twice"},
    {"TwoKnownQuantities", "P,V\n1,2\n",
     "points.csv line 1: name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)"},
    {"OnlyTemperature", "T\n300\n",
     "points.csv line 1: name exactly one known quantity (P, V, V/V00, V/VT0 or VT0 with V)"},
    {"ZeroPressureVolumeWithoutVolume", "VT0\n10\n",
     "points.csv line 1: VT0 needs exactly one other column, V (the volume held)"},
    {"ZeroPressureVolumeWithTemperature", "VT0,V,T\n10,9,300\n",
     "points.csv line 1: T follows from VT0 and cannot be a column"},
    {"DecimalComma", "P,T\n1,5,300\n",
     "points.csv line 2, column 3: a field beyond the header's 2 columns"},
    {"MissingField", "P,T\n10,300\n10\n",
     "points.csv line 3, column 2: the row ends here, the header names 2 columns"},
    {"NotANumber", "P,T\n10,300\n\n10,hot\n",
     "points.csv line 4, column 2 (T): \"hot\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"EmptyField", "T,P\n300,\n",
     "points.csv line 2, column 2 (P): \"\" is empty, a number is needed"},
    {"NonPositiveVolume", "V\n9\n0\n",
     "points.csv line 3, column 1 (V): must be greater than zero"},
    {"NegativeRatio", "T,V/V00\n300,-0.9\n",
     "points.csv line 2, column 2 (V/V00): must be greater than zero"},
    {"NonPositiveHeldVolume", "VT0,V\n10,-9\n",
     "points.csv line 2, column 2 (V): must be greater than zero"},
    {"InfinityWord", "P\ninf\n",
     "points.csv line 2, column 1 (P): \"inf\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
};

class RefusedCsv : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedCsv, NamesTheLineAndColumn) {
  const RefusedCase& c = GetParam();
  EXPECT_EQ(RefusalOf(c.text), c.message);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedCsv, testing::ValuesIn(kRefusedCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::cli
