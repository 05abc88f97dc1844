#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/input_error.h"
#include "app/value_range.h"
#include "cli/eos_command.h"

// Random texts where users type them: the command line's ranges and the CSV
// file. Whatever the text, the program either succeeds or refuses it in one
// line with exit code 2 and no output; it never crashes or runs away.
namespace quorvane::cli {
namespace {

std::string RandomText(std::mt19937& random, const std::vector<std::string>& tokens, int most) {
  std::string text;
  const int count = static_cast<int>(random() % static_cast<unsigned>(most + 1));
  for (int i = 0; i < count; ++i) text += tokens[random() % tokens.size()];
  return text;
}

TEST(RandomInput, RangesAreReadOrRefused) {
  const std::vector<std::string> tokens = {"0", "1", "5", "9",  ".",    ":", "-", "+",
                                           "e", "E", "3", "1e", "1e-9", " ", "x"};
  std::mt19937 random(3);
  for (int i = 0; i < 40000; ++i) {
    const std::string text = RandomText(random, tokens, 10);
    try {
      const app::ValueRange range = app::ParseValueRange(text, "--P");
      ASSERT_GE(range.count, 1) << text;
      ASSERT_LE(range.count, app::kMaxRangeValues) << text;
      ASSERT_EQ(range.At(range.count - 1), range.last) << text;
    } catch (const app::InputError& error) {
      ASSERT_EQ(std::string(error.what()).rfind("--P", 0), 0u) << text;
    }
  }
}

// A valid file of a few rows, then, in most files, a few characters inserted,
// deleted or replaced at random.
std::string RandomCsv(std::mt19937& random) {
  const char* const headers[] = {"P,T", "V", "VT0,V", "T,V/VT0", "V/V00", "T,P,V"};
  const char* const numbers[] = {"1", "0.5", "-2", "9.5", "1e1", "300", "-0", "0", "12.25"};
  const std::string header = headers[random() % 6];
  const auto columns = 1 + std::count(header.begin(), header.end(), ',');
  std::string csv = header + "\n";
  const int rows = static_cast<int>(random() % 4);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (column > 0) csv += ',';
      csv += numbers[random() % 9];
    }
    csv += random() % 5 == 0 ? "\r\n" : "\n";
  }
  const std::string alphabet = "0123456789.,-+eE \t\n\r\"xTPV/";
  const int edits = static_cast<int>(random() % 4);
  for (int edit = 0; edit < edits && !csv.empty(); ++edit) {
    const std::size_t at = random() % csv.size();
    const char c = alphabet[random() % alphabet.size()];
    switch (random() % 3) {
      case 0:
        csv.insert(at, 1, c);
        break;
      case 1:
        csv.erase(at, 1);
        break;
      default:
        csv[at] = c;
    }
  }
  return csv;
}

TEST(RandomInput, CsvFilesAreReadOrRefusedInOneLine) {
  std::mt19937 random(5);
  int read = 0;
  int refused = 0;
  for (int i = 0; i < 800; ++i) {
    const std::string csv = RandomCsv(random);
    std::istringstream in(csv);
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunEosCommand({"--input", "-"}, in, out, err);
    SCOPED_TRACE(testing::Message() << "csv: \"" << csv << '"');
    if (code == kExitBadInput) {
      EXPECT_EQ(out.str(), "");
      const std::string message = err.str();
      ASSERT_FALSE(message.empty());
      EXPECT_EQ(message.find('\n'), message.size() - 1);
      ++refused;
    } else {
      ASSERT_EQ(code, kExitSuccess) << err.str();
      EXPECT_EQ(out.str().rfind("P,T,V,V/V00,VT0,V/VT0", 0), 0u);
      ++read;
    }
  }
  EXPECT_GT(read, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace quorvane::cli
