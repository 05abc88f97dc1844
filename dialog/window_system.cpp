#include "dialog/window_system.h"

#include <cstdlib>
#include <iostream>

namespace quorvane::dialog {
namespace {

// The host in force until a program or test sets its own: it knows the
// process's resources but has no windows, so every run fails as the host's
// dialog box does when it cannot create the window.
class WindowlessHost final : public WindowSystem {
 public:
  std::optional<std::span<const std::uint8_t>> FindResource(ModuleHandle module, std::int32_t type,
                                                            std::int32_t id) override {
    return ProcessResources().Find(module, type, id);
  }
  ModuleHandle WindowModule(WindowHandle) override { return kProgramModule; }
  WindowHandle DefaultParent() override { return nullptr; }
  std::int32_t RunModalDialog(ModuleHandle, std::int32_t, WindowHandle, WindowProcedure,
                              std::intptr_t) override {
    return -1;
  }
  void EndDialog(WindowHandle, std::int32_t) override {}
  void SetUserData(WindowHandle, std::intptr_t) override {}
  std::intptr_t UserData(WindowHandle) override { return 0; }
  void SetMessageResult(WindowHandle, std::intptr_t) override {}
  WindowHandle DialogItem(WindowHandle, std::int32_t) override { return nullptr; }
  std::int32_t ControlId(WindowHandle) override { return 0; }
  void SetText(WindowHandle, std::string_view) override {}
  std::string Text(WindowHandle) override { return {}; }
  void Enable(WindowHandle, bool) override {}
  std::int32_t IsEnabled(WindowHandle) override { return 0; }
  void SetCheck(WindowHandle, std::int32_t) override {}
  std::int32_t Check(WindowHandle) override { return 0; }
  void SetSelection(WindowHandle, std::int32_t, std::int32_t) override {}
  std::int32_t SelectionEnd(WindowHandle) override { return 0; }
  void SetSpinRange(WindowHandle, std::int16_t, std::int16_t) override {}
  void SetSpinPosition(WindowHandle, std::int32_t) override {}
  std::uint32_t SpinPosition(WindowHandle) override { return 0; }
  std::uint32_t SpinRange(WindowHandle) override { return 0; }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    std::cerr << caption << ": " << text << '\n';
  }
  [[noreturn]] void EndProgram() override { std::exit(EXIT_FAILURE); }
};

WindowlessHost& Windowless() {
  static WindowlessHost host;
  return host;
}

WindowSystem* currentHost = nullptr;

}  // namespace

void SetWindowSystem(WindowSystem* host) {
  currentHost = host;
}

WindowSystem& CurrentWindowSystem() {
  return currentHost != nullptr ? *currentHost : Windowless();
}

}  // namespace quorvane::dialog
