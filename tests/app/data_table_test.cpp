#include "app/data_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/fit_data_input.h"
#include "app/input_error.h"

namespace quorvane::app {
namespace {

const DataColumns kFitColumns{{"P", "V"}, {"T", "sigP", "sigV", "sigT"}};
constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();

DataTable Read(const std::string& text) {
  std::istringstream in(text);
  return ReadDataTable(in, "data.csv", kFitColumns);
}

std::string RefusalOf(const std::string& text) {
  try {
    Read(text);
  } catch (const InputError& error) {
    return error.what();
  }
  return "accepted";
}

struct Row {
  long line;
  std::vector<double> values;  // P, V, T, sigP, sigV, sigT
};

struct AcceptedCase {
  const char* name;
  std::string text;
  std::vector<Row> rows;
};

const AcceptedCase kAcceptedCases[] = {
    {"PlainCsv",
     "P,V\n1,10\n2,9.5\n",
     {{2, {1, 10, kAbsent, kAbsent, kAbsent, kAbsent}},
      {3, {2, 9.5, kAbsent, kAbsent, kAbsent, kAbsent}}}},
    {"UnitsCaseAndOrder",
     "v [A^3],  p (GPa) ,SIGP(GPa),t\n10,1,0.1,300\n",
     {{2, {1, 10, 300, 0.1, kAbsent, kAbsent}}}},
    {"TabsWithBlankNames",
     "P\tnote\tV\n1\tfirst run, cooled\t10\n",
     {{2, {1, 10, kAbsent, kAbsent, kAbsent, kAbsent}}}},
    {"ByteOrderMarkCrlfCommentsAndBlankLines",
     "\xEF\xBB\xBF# Source: a paper\r\n\r\nP,V\r\n  # a note\r\n1,10\r\n\r\n2,9\r\n",
     {{5, {1, 10, kAbsent, kAbsent, kAbsent, kAbsent}},
      {7, {2, 9, kAbsent, kAbsent, kAbsent, kAbsent}}}},
    {"QuotedFieldsHoldTheDelimiter",
     "sample,P,\"V (A^3, cell)\"\n\"MgO, run \"\"2\"\"\",\"1\",10\n",
     {{2, {1, 10, kAbsent, kAbsent, kAbsent, kAbsent}}}},
    {"LastLineWithoutNewline", "P,V\n1,10", {{2, {1, 10, kAbsent, kAbsent, kAbsent, kAbsent}}}},
    {"HeaderOnly", "P,V\n", {}},
};

class AcceptedTables : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedTables, GiveTheAskedColumnsInTheAskedOrder) {
  const AcceptedCase& c = GetParam();
  const DataTable table = Read(c.text);
  ASSERT_EQ(table.RowCount(), c.rows.size());
  for (std::size_t row = 0; row < c.rows.size(); ++row) {
    EXPECT_EQ(table.lines[row], c.rows[row].line);
    for (std::size_t i = 0; i < c.rows[row].values.size(); ++i) {
      const double expected = c.rows[row].values[i];
      SCOPED_TRACE(table.header.names[i]);
      if (std::isnan(expected)) {
        EXPECT_FALSE(table.header.Has(table.header.names[i]));
        EXPECT_TRUE(std::isnan(table.Value(row, i)));
      } else {
        EXPECT_EQ(table.Value(row, i), expected);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, AcceptedTables, testing::ValuesIn(kAcceptedCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct RefusedCase {
  const char* name;
  std::string text;
  const char* message;
};

const RefusedCase kRefusedCases[] = {
    {"Empty", "", "data.csv: no header row"},
    {"OnlyComments", "# P,V\n\n", "data.csv: no header row"},
    {"RequiredColumnMissing", "# notes\nP (GPa),T\n1,300\n", "data.csv line 2: no column \"V\""},
    {"SameColumnTwiceInOtherCase", "P,V,p [kbar]\n",
     "data.csv line 1, column 3: column \"P\" appears twice"},
    {"QuoteNotClosed", "P,V\n1,\"10\n", "data.csv line 2, column 2: the quote is not closed"},
    {"TextAfterQuote", "P,V\n\"1\"x,10\n",
     "data.csv line 2, column 1: text after the closing quote"},
    {"RowTooShort", "P,V,T\n1,10\n",
     "data.csv line 2, column 3: the row ends here, the header names 3 columns"},
    {"RowTooLong", "P\tV\n1\t10\t\n",
     "data.csv line 2, column 3: a field beyond the header's 2 columns"},
    {"CommaInTsvNumber", "P\tV\n1,5\t10\n",
     "data.csv line 2, column 1 (P): \"1,5\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"EmptyOptionalField", "P,V,sigV\n1,10,\n",
     "data.csv line 2, column 3 (sigV): \"\" is empty, a number is needed"},
    {"NotANumberWord", "P,V\nnan,10\n",
     "data.csv line 2, column 1 (P): \"nan\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"TerminalControlInAField", "P,V\n1,\x1b]0;x\x07\x1b[2J\n",
     "data.csv line 2, column 2 (V): \"\\x1b]0;x\\x07\\x1b[2J\" is not a decimal number (digits, "
     "one point, an optional exponent)"},
    {"LineOverTheBound", "P,V\n1,10\n" + std::string(kMaxDataLineBytes + 1, '1') + "\n",
     "data.csv line 3: longer than 1048576 bytes"},
};

class RefusedTables : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTables, NameTheFileLineAndColumn) {
  EXPECT_EQ(RefusalOf(GetParam().text), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedTables, testing::ValuesIn(kRefusedCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Lines are read in pieces of some kilobytes: every length around the
// sizes a reader would pick must come back whole, with or without a final
// line end.
// The columns a file offers as cell edges: its header's names without
// units, after comments, in either delimiter; none where no header is read.
struct EdgeCase {
  const char* text;
  std::vector<std::string> edges;
};

class EdgeColumnsOfAFile : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeColumnsOfAFile, AreAllButPTVAndTheSigmas) {
  std::istringstream in(GetParam().text);
  EXPECT_EQ(EdgeColumns(DataColumnNames(in)), GetParam().edges);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, EdgeColumnsOfAFile,
    ::testing::Values(EdgeCase{"P (GPa),sigP,a (A),siga,b [A],sig_b\n1,0.1,4.7,0.001,10.1,0.001\n",
                               {"a", "b"}},
                      EdgeCase{"# cell\n\np\tt\tv\tSIGV\tc (nm)\n1\t300\t10\t0.1\t0.6\n", {"c"}},
                      EdgeCase{"P,V,T\n", {}}, EdgeCase{"", {}}, EdgeCase{"P,a,a\n1,2,3\n", {}},
                      EdgeCase{"P,\"a, long\n1,2\n", {}}));

TEST(DataTable, LongLinesComeBackWhole) {
  for (const std::size_t around : {std::size_t{4096}, std::size_t{8192}, std::size_t{16384},
                                   std::size_t{32768}, std::size_t{65536}}) {
    for (std::size_t length = around - 4; length <= around + 4; ++length) {
      const std::string line = std::string(length - 4, '0') + "12,9";
      for (const char* end : {"\n", "\r\n", ""}) {
        const DataTable table = Read("P,V\n" + line + end);
        ASSERT_EQ(table.RowCount(), 1u) << length;
        EXPECT_EQ(table.Value(0, 0), 12.0) << length;
        EXPECT_EQ(table.Value(0, 1), 9.0) << length;
      }
    }
  }
}

TEST(DataTable, LineOfExactlyTheBoundIsRead) {
  const std::string zeros(kMaxDataLineBytes - 3, '0');
  const DataTable table = Read("P,V\n" + zeros + "1,9\n");
  ASSERT_EQ(table.RowCount(), 1u);
  EXPECT_EQ(table.Value(0, 0), 1.0);
}

// A text that never ends and never breaks its line, counting what is read.
class EndlessLine : public std::streambuf {
 public:
  std::size_t delivered = 0;

 protected:
  int_type underflow() override {
    std::fill(std::begin(buffer_), std::end(buffer_), '7');
    setg(buffer_, buffer_, buffer_ + sizeof buffer_);
    delivered += sizeof buffer_;
    return traits_type::to_int_type(buffer_[0]);
  }

 private:
  char buffer_[4096];
};

TEST(DataTable, EndlessLineIsRefusedAfterTheBound) {
  EndlessLine endless;
  std::istream in(&endless);
  EXPECT_THROW(ReadDataTable(in, "/dev/zero", kFitColumns), InputError);
  EXPECT_LT(endless.delivered, 2 * kMaxDataLineBytes);
}

}  // namespace
}  // namespace quorvane::app
