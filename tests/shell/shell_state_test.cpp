#include "shell/shell_state.h"

#include <gtest/gtest.h>

namespace quorvane::shell {
namespace {

struct ExitModeCase {
  const char* name;
  std::int32_t requested;
  std::int32_t result;
  ExitMode after;
};

class ExitModeRules : public ::testing::TestWithParam<ExitModeCase> {};

TEST_P(ExitModeRules, AcceptOneToThreeAndRefuseTheRestWithoutChange) {
  ShellState state;
  ASSERT_EQ(state.SetExitMode(3), 0);
  EXPECT_EQ(state.SetExitMode(GetParam().requested), GetParam().result);
  EXPECT_EQ(state.CurrentExitMode(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(ShellState, ExitModeRules,
                         ::testing::Values(ExitModeCase{"Prompt", 1, 0, ExitMode::Prompt},
                                           ExitModeCase{"Close", 2, 0, ExitMode::Close},
                                           ExitModeCase{"KeepOpen", 3, 0, ExitMode::KeepOpen},
                                           ExitModeCase{"Zero", 0, -1, ExitMode::KeepOpen},
                                           ExitModeCase{"Four", 4, -1, ExitMode::KeepOpen},
                                           ExitModeCase{"MinusOne", -1, -1, ExitMode::KeepOpen},
                                           ExitModeCase{"Huge", 2147483647, -1,
                                                        ExitMode::KeepOpen}),
                         [](const auto& row) { return row.param.name; });

TEST(ShellState, StartsPromptingAndRunning) {
  ShellState state;
  EXPECT_EQ(state.CurrentExitMode(), ExitMode::Prompt);
  EXPECT_EQ(state.CurrentProgramState(), ProgramState::Running);
}

TEST(ShellState, StatusTextsNameEachProgramState) {
  EXPECT_EQ(StatusText(ProgramState::Running), "Running");
  EXPECT_EQ(StatusText(ProgramState::Paused), "Paused");
  EXPECT_EQ(StatusText(ProgramState::Finished), "Finished");
}

TEST(ShellState, ProgramStateTakesTheThreeStatesAndIgnoresOthers) {
  ShellState state;
  EXPECT_TRUE(state.SetProgramState(2));
  EXPECT_EQ(state.CurrentProgramState(), ProgramState::Finished);
  EXPECT_TRUE(state.SetProgramState(1));
  EXPECT_EQ(state.CurrentProgramState(), ProgramState::Paused);
  EXPECT_FALSE(state.SetProgramState(3));
  EXPECT_FALSE(state.SetProgramState(-1));
  EXPECT_EQ(state.CurrentProgramState(), ProgramState::Paused);
}

}  // namespace
}  // namespace quorvane::shell
