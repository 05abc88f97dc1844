#include "shell/output_stream.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvane::shell {
namespace {

TEST(OutputRedirect, HandsOnEachLineWhenItEnds) {
  std::vector<std::string> pieces;
  std::ostringstream stream;
  {
    OutputRedirect redirect([&](std::string text) { pieces.push_back(text); }, stream);
    stream << "Error: dialog ";
    EXPECT_TRUE(pieces.empty());
    stream << "not found" << '\n';
    ASSERT_EQ(pieces.size(), 1u);
    stream << "second line\n";
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{"Error: dialog not found\n", "second line\n"}));
}

TEST(OutputRedirect, HandsOnAnUnfinishedLineAtAFlush) {
  std::vector<std::string> pieces;
  std::ostringstream stream;
  OutputRedirect redirect([&](std::string text) { pieces.push_back(text); }, stream);
  stream << "partial" << std::flush;
  stream.flush();
  EXPECT_EQ(pieces, (std::vector<std::string>{"partial"}));
}

TEST(OutputRedirect, HandsOnWhatIsLeftWhenItEnds) {
  std::vector<std::string> pieces;
  std::ostringstream stream;
  {
    OutputRedirect redirect([&](std::string text) { pieces.push_back(text); }, stream);
    stream << 42 << ' ' << 'x';
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{"42 x"}));
}

TEST(OutputRedirect, GivesTheStreamItsOwnBufferBack) {
  std::ostringstream stream;
  std::string forwarded;
  {
    OutputRedirect redirect([&](std::string text) { forwarded += text; }, stream);
    stream << "away\n";
  }
  stream << "home";
  EXPECT_EQ(forwarded, "away\n");
  EXPECT_EQ(stream.str(), "home");
}

TEST(OutputRedirect, TakesStandardOutputByDefault) {
  std::string forwarded;
  {
    OutputRedirect redirect([&](std::string text) { forwarded += text; });
    std::cout << "Error: dialog not found" << std::endl;
  }
  EXPECT_EQ(forwarded, "Error: dialog not found\n");
}

TEST(OutputRedirect, KeepsEveryByteOfALongWrite) {
  std::string forwarded;
  std::ostringstream stream;
  const std::string text(100000, 'v');
  {
    OutputRedirect redirect([&](std::string piece) { forwarded += piece; }, stream);
    stream << text;
    stream.put('\n');
  }
  EXPECT_EQ(forwarded, text + "\n");
}

}  // namespace
}  // namespace quorvane::shell
