#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dialog/resources.h"

// The process entry of a program hosted by the shell.
namespace quorvane::shell {

class ApplicationShell;

struct ProgramDefinition {
  // Adds the program's forms and icons to the process's resources.
  std::function<void(dialog::ResourceTable&)> registerResources;
  // The program's main routine, run once on the program thread.
  std::function<void()> program;
  // Called once the shell exists, before the program thread starts.
  std::function<void(ApplicationShell&)> onStart;
  // The program's icon among its resources (-1: none).
  std::int32_t iconId = -1;
};

// Whether a windowing platform is within reach: a chosen Qt platform, an X
// display or a Wayland display.
bool DisplayAvailable();

// The one line printed instead of a toolkit error when there is no display.
std::string NoDisplayMessage(std::string_view program);

// Runs the program inside the shell until its frame closes. The result is
// the process exit code: 0, or 1 when no display can be opened, after one
// line on standard error.
int RunApplication(int argc, char** argv, const ProgramDefinition& definition);

}  // namespace quorvane::shell
