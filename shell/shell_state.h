#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

// The two flags the program thread and the main thread share: what the status
// bar reports and what happens when the program returns after it showed output.
namespace quorvane::shell {

enum class ProgramState : std::int32_t { Running = 0, Paused = 1, Finished = 2 };

enum class ExitMode : std::int32_t { Prompt = 1, Close = 2, KeepOpen = 3 };

// The status bar's text for a state: "Running", "Paused" or "Finished".
std::string_view StatusText(ProgramState state);

// Lock-free, so either thread may read or set them at any time.
class ShellState {
 public:
  // Accepts 1..3 and returns 0; any other mode returns -1 and changes nothing.
  std::int32_t SetExitMode(std::int32_t mode);
  ExitMode CurrentExitMode() const { return exitMode_.load(); }

  // Accepts 0..2 and returns true; any other state changes nothing.
  bool SetProgramState(std::int32_t state);
  ProgramState CurrentProgramState() const { return programState_.load(); }

 private:
  std::atomic<ExitMode> exitMode_{ExitMode::Prompt};
  std::atomic<ProgramState> programState_{ProgramState::Running};
};

}  // namespace quorvane::shell
