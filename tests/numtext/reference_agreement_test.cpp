// Compares both conversions row by row with the tables that
// reference/generate_cases.py writes from its own exact-arithmetic model.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "numtext/field_format.h"
#include "numtext/field_read.h"

namespace quorvane::numtext {
namespace {

std::vector<std::string> TableRows(const std::string& file) {
  std::ifstream in(std::string(QUORVANE_NUMTEXT_REFERENCE_DIR) + "/" + file);
  std::vector<std::string> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with('#')) rows.push_back(line);
  }
  return rows;
}

std::vector<std::string_view> Columns(std::string_view row) {
  std::vector<std::string_view> columns;
  for (std::size_t bar; (bar = row.find('|')) != std::string_view::npos;) {
    columns.push_back(row.substr(0, bar));
    row.remove_prefix(bar + 1);
  }
  columns.push_back(row);
  return columns;
}

template <typename T>
T Number(std::string_view text, int base = 10) {
  T value{};
  std::from_chars(text.data(), text.data() + text.size(), value, base);
  return value;
}

std::string Bytes(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(Number<unsigned>(hex.substr(i, 2), 16)));
  }
  return bytes;
}

TEST(ReferenceAgreement, FieldTextMatchesOnEveryRow) {
  const auto rows = TableRows("format_cases.txt");
  ASSERT_GE(rows.size(), 3000u);
  for (const auto& row : rows) {
    const auto columns = Columns(row);
    ASSERT_EQ(columns.size(), 3u) << row;
    const double x = std::bit_cast<double>(Number<std::uint64_t>(columns[0], 16));
    const int n = Number<int>(columns[1]);
    EXPECT_EQ(FormatFieldNumber(x, n), columns[2]) << "bits " << columns[0] << " width " << n;
  }
}

TEST(ReferenceAgreement, ReadingMatchesOnEveryRowForBothDestinations) {
  const auto rows = TableRows("read_cases.txt");
  ASSERT_GE(rows.size(), 3000u);
  for (const auto& row : rows) {
    const auto columns = Columns(row);
    ASSERT_EQ(columns.size(), 7u) << row;
    const std::string text = Bytes(columns[0]);

    double wide = -7.0;
    const FieldReadOutcome wideOutcome = ReadFieldNumber(text, wide);
    EXPECT_EQ(static_cast<int>(wideOutcome.status), Number<int>(columns[1])) << columns[0];
    EXPECT_EQ(wideOutcome.stored, columns[2] == "1") << columns[0];
    const auto wideBits = wideOutcome.stored ? Number<std::uint64_t>(columns[3], 16)
                                             : std::bit_cast<std::uint64_t>(-7.0);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(wide), wideBits) << columns[0];

    float narrow = -7.0f;
    const FieldReadOutcome narrowOutcome = ReadFieldNumber(text, narrow);
    EXPECT_EQ(static_cast<int>(narrowOutcome.status), Number<int>(columns[4])) << columns[0];
    EXPECT_EQ(narrowOutcome.stored, columns[5] == "1") << columns[0];
    const auto narrowBits = narrowOutcome.stored ? Number<std::uint32_t>(columns[6], 16)
                                                 : std::bit_cast<std::uint32_t>(-7.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(narrow), narrowBits) << columns[0];
  }
}

}  // namespace
}  // namespace quorvane::numtext
