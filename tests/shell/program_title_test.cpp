#include "shell/program_title.h"

#include <gtest/gtest.h>

namespace quorvane::shell {
namespace {

struct TitleCase {
  const char* name;
  const char* path;
  const char* title;
};

class TitleFromPath : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitleFromPath, DropsDirectoryAndExtension) {
  EXPECT_EQ(TitleFromProgramPath(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    ProgramTitle, TitleFromPath,
    ::testing::Values(TitleCase{"InstalledProgram", "/usr/bin/quorvane", "quorvane"},
                      TitleCase{"BareName", "quorvane", "quorvane"},
                      TitleCase{"WithExtension", "C/Programs/quorvane.exe", "quorvane"},
                      TitleCase{"OnlyTheLastExtension", "/opt/q/eos.calc.bin", "eos.calc"},
                      TitleCase{"DirectoryWithDots", "/home/a.b/quorvane-no-form",
                                "quorvane-no-form"},
                      TitleCase{"EmptyPathGivesTheDefault", "", "Quorvane"},
                      TitleCase{"DirectoryOnlyGivesTheDefault", "/usr/bin/", "Quorvane"}),
    [](const auto& row) { return row.param.name; });

TEST(ProgramTitle, ThisProcessIsNamedAfterItsFile) {
  EXPECT_EQ(ProgramTitle(), "shell_test");
}

}  // namespace
}  // namespace quorvane::shell
