#include "app/safe_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::app {
namespace {

struct SafeCase {
  const char* name;
  std::string text;
  std::string shown;
};

const SafeCase kSafeCases[] = {
    {"PrintableStaysAsItIs", "25 GPa, \"x\" \\ ~", "25 GPa, \"x\" \\ ~"},
    {"TerminalTitleAndClear", "\x1b]0;owned\x07\x1b[2J", "\\x1b]0;owned\\x07\\x1b[2J"},
    {"NulDoesNotEndTheText", std::string("a\0b", 3), "a\\x00b"},
    {"LineBreaksAndDelete", "a\r\nb\x7f", "a\\x0d\\x0ab\\x7f"},
    {"EightBitControlAndUtf8",
     "\x9b"
     "2J\xc3\x85",
     "\\x9b2J\\xc3\\x85"},
    {"CutAfterTheLimit", std::string(61, 'x'), std::string(60, 'x') + "..."},
    {"NotCutAtTheLimit", std::string(60, 'x'), std::string(60, 'x')},
    {"CutCountsBytesBeforeEscaping", std::string(70, '\x1b'),
     [] {
       std::string s;
       for (int i = 0; i < 60; ++i) s += "\\x1b";
       return s + "...";
     }()},
};

class SafeTexts : public testing::TestWithParam<SafeCase> {};

TEST_P(SafeTexts, ReachTheTerminalAsPrintableAscii) {
  EXPECT_EQ(SafeText(GetParam().text), GetParam().shown);
  EXPECT_EQ(QuotedInput(GetParam().text), '"' + GetParam().shown + '"');
}

INSTANTIATE_TEST_SUITE_P(Texts, SafeTexts, testing::ValuesIn(kSafeCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::app
