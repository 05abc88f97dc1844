// Measures one start of a windowed program on the current X display: the time
// from starting the process to the mapping of its window with the given title,
// and the process's peak resident memory once that window is up.
// Usage: startup_probe <window title> <program> [arguments...]
// Prints: startup_ms=<milliseconds> peak_kib=<KiB>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kGiveUpAfter = std::chrono::seconds(60);
// Time for the first paint and the rest of start-up to settle before the
// peak is read.
constexpr auto kSettle = std::chrono::milliseconds(500);

bool HasTitle(Display* display, Window window, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
  bool same = std::strcmp(name, title) == 0;
  XFree(name);
  return same;
}

// Waits for a MapNotify of a window with the title; false on timeout.
bool WaitForWindow(Display* display, const char* title, Clock::time_point deadline) {
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (Clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) return true;
    }
    poll(&connection, 1, 10);
  }
  return false;
}

long PeakResidentKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: startup_probe <window title> <program> [arguments...]\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fputs("startup_probe: cannot open the display\n", stderr);
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    execv(argv[2], argv + 2);
    _exit(127);
  }
  bool shown = WaitForWindow(display, argv[1], start + kGiveUpAfter);
  Clock::time_point mapped = Clock::now();
  std::this_thread::sleep_for(kSettle);
  long peak = PeakResidentKib(pid);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  if (!shown) {
    std::fprintf(stderr, "startup_probe: no window titled \"%s\" appeared\n", argv[1]);
    return 1;
  }
  std::printf("startup_ms=%.1f peak_kib=%ld\n",
              std::chrono::duration<double, std::milli>(mapped - start).count(), peak);
  return 0;
}
