#include "shell/run_application.h"

#include <iostream>

#include "dialog/window_system.h"
#include "host/windows/text_conversion.h"
#include "host/windows/win32_window_system.h"
#include "shell/program_title.h"
#include "shell/windows/application_shell.h"

namespace quorvane::shell {
namespace {

std::wstring ModuleTitle() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  return host::WideFromAnsi(TitleFromProgramPath(host::AnsiFromWide(path)));
}

HICON ProgramIcon(std::int32_t iconId) {
  if (iconId < 0) return nullptr;
  return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId));
}

}  // namespace

// Windows always has its desktop.
bool DisplayAvailable() {
  return true;
}

std::string NoDisplayMessage(std::string_view program) {
  return "No desktop found for " + std::string(program);
}

int RunApplication(int, char**, const ProgramDefinition& definition) {
  definition.registerResources(dialog::ProcessResources());
  const HICON icon = ProgramIcon(definition.iconId);
  ApplicationShell shell(ModuleTitle(), icon, definition.program);
  host::Win32WindowSystem host;
  host.SetDefaultParent(reinterpret_cast<dialog::WindowHandle>(shell.Frame().Handle()));
  host.SetDialogIcon(icon);
  dialog::SetWindowSystem(&host);
  if (definition.onStart) definition.onStart(shell);
  shell.Run();
  std::cout.flush();
  dialog::SetWindowSystem(nullptr);
  return 0;
}

}  // namespace quorvane::shell
