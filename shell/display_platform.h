#pragma once

#include <string>
#include <string_view>
#include <vector>

// The windowing platform the toolkit is to start. The toolkit aborts the
// process when its platform cannot start, so the choice is made, and checked,
// before the toolkit is.
namespace quorvane::shell {

struct PlatformChoice {
  // The platform to start ("xcb", "offscreen:..."); empty when none can.
  std::string platform;
  // Why none can: one line for the user.
  std::string problem;
};

// The platform names of the toolkit's installed platform plugins, sorted.
std::vector<std::string> InstalledPlatforms();

// The first platform that can start here: its plugin is installed and the
// display server it needs answers. Tried in order: the platform asked for
// with "-platform" or QT_QPA_PLATFORM (a list split by ';'), else the X and
// Wayland displays the environment names.
PlatformChoice ChooseDisplayPlatform(int argc, char** argv, std::string_view program);

}  // namespace quorvane::shell
