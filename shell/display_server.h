#pragma once

#include <string>

// Whether the display server the environment names answers a connection.
// Each returns why it does not, in a few words, or empty when it does.
namespace quorvane::shell {

// The X server named by DISPLAY.
std::string XDisplayProblem();

// The Wayland compositor named by WAYLAND_DISPLAY (default "wayland-0"), a
// socket in XDG_RUNTIME_DIR unless the name is an absolute path.
std::string WaylandDisplayProblem();

}  // namespace quorvane::shell
