#include "shell/display_server.h"

#include <X11/Xlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace quorvane::shell {
namespace {

constexpr const char* kDefaultWaylandDisplay = "wayland-0";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

bool SocketAnswers(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socketFd < 0) return false;
  const bool answered =
      connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  close(socketFd);
  return answered;
}

}  // namespace

std::string XDisplayProblem() {
  const std::string display = Environment("DISPLAY");
  if (display.empty()) return "no X display is named (DISPLAY is not set)";
  Display* connection = XOpenDisplay(display.c_str());
  if (!connection) return "the X display " + Quoted(display) + " does not answer";
  XCloseDisplay(connection);
  return {};
}

std::string WaylandDisplayProblem() {
  std::string path = Environment("WAYLAND_DISPLAY");
  if (path.empty()) path = kDefaultWaylandDisplay;
  if (path.front() != '/') path = Environment("XDG_RUNTIME_DIR") + "/" + path;
  if (SocketAnswers(path)) return {};
  return "the Wayland display " + Quoted(path) + " does not answer";
}

}  // namespace quorvane::shell
