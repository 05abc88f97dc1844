// The number text of libraries without the floating-point charconv, held to
// the standard library's on every kind of double and text.
#include "numtext/double_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quorvane::numtext {
namespace {

std::string StandardShortest(double x) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, x);
  return std::string(text, written.ptr);
}

double FromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

std::uint64_t BitsOf(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// Doubles where the choice of notation, the digits or the rounding are
// known to be delicate: every power of two (the boundary the doubles'
// spacing changes at), every power of ten, the integers past 2^53 that
// fixed notation prints exactly, and the extremes.
std::vector<double> DelicateDoubles() {
  std::vector<double> values{0.0,
                             -0.0,
                             0.1,
                             0.3,
                             1e-5,
                             1e-4,
                             1e-3,
                             123456789012.0,
                             1e15,
                             1e16,
                             1e21,
                             1e22,
                             1e23,
                             9007199254740993.0,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN()};
  for (int e = -1074; e <= 1023; ++e) values.push_back(std::ldexp(1.0, e));
  for (int e = -323; e <= 308; ++e)
    values.push_back(std::strtod(("1e" + std::to_string(e)).c_str(), nullptr));
  for (int e = 53; e <= 75; ++e) {
    for (double offset : {-3.0, -1.0, 1.0, 3.0})
      values.push_back(std::ldexp(1.0, e) + std::ldexp(offset, e - 52));
  }
  return values;
}

// Random bit patterns (every exponent alike), short decimals such as
// measured data carry, and integers of every size.
std::vector<double> RandomDoubles() {
  std::mt19937_64 random(20261209);
  std::vector<double> values;
  for (int i = 0; i < 30000; ++i) {
    const double x = FromBits(random());
    if (!std::isnan(x)) values.push_back(x);
    const int digits = static_cast<int>(random() % 8) + 1;
    const auto mantissa =
        static_cast<long long>(random() % static_cast<std::uint64_t>(std::pow(10, digits)));
    const int exponent = static_cast<int>(random() % 40) - 20;
    values.push_back(
        std::strtod((std::to_string(mantissa) + "e" + std::to_string(exponent)).c_str(), nullptr));
    values.push_back(static_cast<double>(random() >> (random() % 64)));
  }
  return values;
}

// The stand-ins for the standard library's charconv, by the name a failure
// shows.
struct ShortestWriter {
  const char* name;
  std::string (*forDouble)(double);
  std::string (*forFloat)(float);
};
const ShortestWriter kShortestWriters[] = {
    {"Dragonbox", ShortestTextFromDragonbox, ShortestTextFromDragonbox},
};

struct DoubleReader {
  const char* name;
  std::from_chars_result (*read)(const char*, const char*, double&);
};
const DoubleReader kDoubleReaders[] = {
    {"fast_float", ReadDoubleWithFastFloat},
};

TEST(ShortestTextStandIns, WriteWhatToCharsWrites) {
  for (const std::vector<double>& values : {DelicateDoubles(), RandomDoubles()}) {
    for (double x : values) {
      const std::string standard = StandardShortest(x);
      for (const ShortestWriter& writer : kShortestWriters) {
        ASSERT_EQ(writer.forDouble(x), standard) << writer.name << ", bits " << BitsOf(x);
      }
    }
  }
}

// Reports append numbers to the text before them.
TEST(AppendShortestText, AddsTheShortestTextAfterWhatIsThere) {
  for (double x : DelicateDoubles()) {
    std::string text = "[1, ";
    AppendShortestText(text, x);
    ASSERT_EQ(text, "[1, " + StandardShortest(x)) << "bits " << BitsOf(x);
  }
}

// Floats of every exponent, their powers of two and random bit patterns:
// the help texts show the single-precision defaults this way.
TEST(ShortestTextStandIns, WriteWhatToCharsWritesForFloats) {
  std::vector<float> values{0.0f, -0.0f, -0.02f, 0.1f, 16777216.0f, 16777218.0f, 1e10f, 3e38f};
  for (int e = -149; e <= 127; ++e) values.push_back(std::ldexp(1.0f, e));
  std::mt19937 random(20261209);
  for (int i = 0; i < 30000; ++i) {
    const std::uint32_t bits = random();
    float x;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isfinite(x)) values.push_back(x);
  }
  for (float x : values) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, x);
    for (const ShortestWriter& writer : kShortestWriters) {
      ASSERT_EQ(writer.forFloat(x), std::string(text, written.ptr)) << writer.name << ", " << x;
    }
  }
}

struct PrecisionWriter {
  const char* name;
  std::string (*write)(double, std::chars_format, int);
};
const PrecisionWriter kPrecisionWriters[] = {
    {"fmt", FormattedTextFromFmt},
};

// Doubles that stop halfway between two shorter decimals, and random ones of
// both signs: the text report's four significant digits.
std::vector<double> HalfwayAndRandomDoubles() {
  std::vector<double> values{0.125, 0.375, 2.5,        1.0625,  9.9995,  0.00012345,
                             1e23,  5e-5,  0.00099995, 12345.0, 99995.0, 1.00000000000000022};
  for (double x : RandomDoubles()) {
    if (values.size() > 20000) break;
    if (std::isfinite(x)) values.push_back(x);
  }
  return values;
}

TEST(FormattedTextStandIns, WriteWhatToCharsWritesInTheGeneralFormat) {
  for (double x : HalfwayAndRandomDoubles()) {
    for (int precision : {1, 2, 4, 6, 15}) {
      for (double value : {x, -x}) {
        char text[2000];
        const auto written =
            std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision);
        for (const PrecisionWriter& writer : kPrecisionWriters) {
          ASSERT_EQ(writer.write(value, std::chars_format::general, precision),
                    std::string(text, written.ptr))
              << writer.name << ", bits " << BitsOf(value) << " precision " << precision;
        }
      }
    }
  }
}

TEST(FormattedTextStandIns, WriteWhatToCharsWritesWithAPrecision) {
  for (double x : DelicateDoubles()) {
    for (auto format :
         {std::chars_format::fixed, std::chars_format::scientific, std::chars_format::general}) {
      for (int precision : {0, 1, 2, 3, 4, 6, 17}) {
        char text[2000];
        const auto written = std::to_chars(text, text + sizeof text, x, format, precision);
        for (const PrecisionWriter& writer : kPrecisionWriters) {
          ASSERT_EQ(writer.write(x, format, precision), std::string(text, written.ptr))
              << writer.name << ", bits " << BitsOf(x) << " precision " << precision;
        }
      }
    }
  }
}

struct Reading {
  std::from_chars_result result;
  double value;
};

template <typename Read>
Reading ReadWith(Read read, const std::string& text) {
  Reading reading{{nullptr, std::errc()}, -12345.0};
  reading.result = read(text.data(), text.data() + text.size(), reading.value);
  return reading;
}

std::vector<std::string> TextsToRead() {
  std::vector<std::string> texts{"",
                                 "-",
                                 ".",
                                 "-.",
                                 "1.",
                                 ".5",
                                 "-.5e1",
                                 "e5",
                                 "1e",
                                 "1e+",
                                 "1e-x",
                                 "+1",
                                 " 1",
                                 "0x10",
                                 "1.5e3abc",
                                 "00012",
                                 "1e400",
                                 "-1e400",
                                 "1e-400",
                                 "-1e-400",
                                 "4.9e-324",
                                 "2e-324",
                                 "3e-324",
                                 "1e-320",
                                 "2.2250738585072011e-308",
                                 "1.7976931348623158e+308",
                                 "1.7976931348623159e+308",
                                 "0e999999",
                                 "0.000000e-999",
                                 "inf",
                                 "-Infinity",
                                 "INFINITE",
                                 "nan",
                                 "-NaN",
                                 "nan(123)",
                                 "nan(",
                                 "nan()x",
                                 "123456789012345678901234567890",
                                 "0.1000000000000000055511151231257827021181583404541015625",
                                 "1E5",
                                 "1,5",
                                 "9.e2"};
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    texts.push_back(StandardShortest(FromBits(random())));
    const int digits = static_cast<int>(random() % 20) + 1;
    std::string text = std::to_string(random() % 10);
    for (int d = 1; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
    text.insert(random() % text.size() + 1, ".");
    texts.push_back(text + "e" + std::to_string(static_cast<int>(random() % 700) - 350));
  }
  return texts;
}

TEST(DoubleReadingStandIns, ReadWhatFromCharsReads) {
  for (const std::string& text : TextsToRead()) {
    const auto standard =
        ReadWith([](const char* first, const char* last,
                    double& value) { return std::from_chars(first, last, value); },
                 text);
    for (const DoubleReader& reader : kDoubleReaders) {
      const auto mine = ReadWith(reader.read, text);
      ASSERT_EQ(mine.result.ec, standard.result.ec) << reader.name << ": " << text;
      ASSERT_EQ(mine.result.ptr - text.data(), standard.result.ptr - text.data())
          << reader.name << ": " << text;
      if (std::isnan(standard.value)) {
        ASSERT_TRUE(std::isnan(mine.value)) << reader.name << ": " << text;
      } else {
        ASSERT_EQ(BitsOf(mine.value), BitsOf(standard.value)) << reader.name << ": " << text;
      }
    }
  }
}

}  // namespace
}  // namespace quorvane::numtext
