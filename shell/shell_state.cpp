#include "shell/shell_state.h"

namespace quorvane::shell {

std::string_view StatusText(ProgramState state) {
  switch (state) {
    case ProgramState::Running:
      return "Running";
    case ProgramState::Paused:
      return "Paused";
    case ProgramState::Finished:
      return "Finished";
  }
  return "Running";
}

std::int32_t ShellState::SetExitMode(std::int32_t mode) {
  if (mode < static_cast<std::int32_t>(ExitMode::Prompt) ||
      mode > static_cast<std::int32_t>(ExitMode::KeepOpen)) {
    return -1;
  }
  exitMode_.store(static_cast<ExitMode>(mode));
  return 0;
}

bool ShellState::SetProgramState(std::int32_t state) {
  if (state < static_cast<std::int32_t>(ProgramState::Running) ||
      state > static_cast<std::int32_t>(ProgramState::Finished)) {
    return false;
  }
  programState_.store(static_cast<ProgramState>(state));
  return true;
}

}  // namespace quorvane::shell
