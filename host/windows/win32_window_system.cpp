#include "host/windows/win32_window_system.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dialog/dialog_template.h"
#include "host/windows/text_conversion.h"
#include "host/windows/windows_api.h"

namespace quorvane::host {
namespace {

using dialog::WindowHandle;

// What a running dialog's window knows about its run: the runtime's window
// procedure and the module its template came from. Lives on the stack of
// RunModalDialog for as long as the dialog exists.
struct DialogBinding {
  dialog::WindowProcedure procedure = nullptr;
  dialog::ModuleHandle module = dialog::kProgramModule;
  HICON icon = nullptr;
  HWND window = nullptr;
  DialogBinding* outer = nullptr;
};

constexpr wchar_t kBindingProperty[] = L"QuorvaneDialogBinding";

// The dialog being created on this thread, waiting for its first message.
thread_local DialogBinding* pendingBinding = nullptr;
// The innermost running dialog of this thread.
thread_local DialogBinding* innermostBinding = nullptr;

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

WindowHandle ToHandle(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

bool IsRuntimeMessage(UINT message) {
  switch (static_cast<dialog::Message>(message)) {
    case dialog::Message::Destroy:
    case dialog::Message::Size:
    case dialog::Message::Close:
    case dialog::Message::Notify:
    case dialog::Message::NotifyFormat:
    case dialog::Message::InitDialog:
    case dialog::Message::Command:
    case dialog::Message::HScroll:
    case dialog::Message::VScroll:
      return true;
  }
  return false;
}

// A dialog window takes the pending binding with its first message: controls
// send notifications to it before WM_INITDIALOG.
DialogBinding* BindingOf(HWND window) {
  auto* binding = static_cast<DialogBinding*>(GetPropW(window, kBindingProperty));
  if (binding != nullptr || pendingBinding == nullptr) return binding;
  binding = pendingBinding;
  pendingBinding = nullptr;
  binding->window = window;
  SetPropW(window, kBindingProperty, binding);
  return binding;
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogBinding* binding = BindingOf(window);
  if (binding == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kBindingProperty);
    return FALSE;
  }
  if (message == WM_INITDIALOG && binding->icon != nullptr) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(binding->icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(binding->icon));
  }
  if (!IsRuntimeMessage(message)) return FALSE;
  const dialog::WindowMessage forwarded{static_cast<dialog::Message>(message), wParam, lParam};
  return binding->procedure(ToHandle(window), forwarded);
}

// Only templates the runtime's own reader accepts reach the dialog manager,
// which trusts its input; copied so that it starts on a DWORD boundary.
std::optional<std::vector<DWORD>> UsableTemplate(std::span<const std::uint8_t> bytes) {
  if (!dialog::ReadDialogTemplate(bytes)) return std::nullopt;
  std::vector<DWORD> aligned((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD) + 1, 0);
  std::memcpy(aligned.data(), bytes.data(), bytes.size());
  return aligned;
}

void InitialiseCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES |
                   ICC_TAB_CLASSES | ICC_PROGRESS_CLASS;
  InitCommonControlsEx(&controls);
}

LRESULT Send(WindowHandle window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(ToWindow(window), message, wParam, lParam);
}

}  // namespace

WindowHandle InnermostDialog() {
  return innermostBinding != nullptr ? ToHandle(innermostBinding->window) : nullptr;
}

Win32WindowSystem::Win32WindowSystem(dialog::ResourceTable& resources) : resources_(resources) {
  InitialiseCommonControls();
}

std::optional<std::span<const std::uint8_t>> Win32WindowSystem::FindResource(
    dialog::ModuleHandle module, std::int32_t type, std::int32_t id) {
  return resources_.Find(module, type, id);
}

dialog::ModuleHandle Win32WindowSystem::WindowModule(WindowHandle window) {
  HWND root = GetAncestor(ToWindow(window), GA_ROOT);
  auto* binding =
      root != nullptr ? static_cast<DialogBinding*>(GetPropW(root, kBindingProperty)) : nullptr;
  return binding != nullptr ? binding->module : dialog::kProgramModule;
}

WindowHandle Win32WindowSystem::DefaultParent() {
  return frame_.load();
}

std::int32_t Win32WindowSystem::RunModalDialog(dialog::ModuleHandle module, std::int32_t templateId,
                                               WindowHandle parent,
                                               dialog::WindowProcedure procedure,
                                               std::intptr_t creationParameter) {
  if (procedure == nullptr) return -1;
  auto bytes = resources_.Find(module, dialog::RT_DIALOG, templateId);
  if (!bytes) return -1;
  auto usable = UsableTemplate(*bytes);
  if (!usable) return -1;

  DialogBinding binding{procedure, module, static_cast<HICON>(icon_), nullptr, innermostBinding};
  DialogBinding* const savedPending = pendingBinding;
  pendingBinding = &binding;
  innermostBinding = &binding;
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(usable->data()),
      ToWindow(parent), DialogProcedure, creationParameter);
  innermostBinding = binding.outer;
  pendingBinding = savedPending;
  if (result == -1 || binding.window == nullptr) return -1;
  return static_cast<std::int32_t>(result);
}

void Win32WindowSystem::EndDialog(WindowHandle dialog, std::int32_t result) {
  ::EndDialog(ToWindow(dialog), result);
}

void Win32WindowSystem::SetUserData(WindowHandle window, std::intptr_t value) {
  SetWindowLongPtrW(ToWindow(window), GWLP_USERDATA, value);
}

std::intptr_t Win32WindowSystem::UserData(WindowHandle window) {
  return GetWindowLongPtrW(ToWindow(window), GWLP_USERDATA);
}

void Win32WindowSystem::SetMessageResult(WindowHandle dialog, std::intptr_t value) {
  SetWindowLongPtrW(ToWindow(dialog), DWLP_MSGRESULT, value);
}

WindowHandle Win32WindowSystem::DialogItem(WindowHandle dialog, std::int32_t id) {
  return ToHandle(GetDlgItem(ToWindow(dialog), id));
}

std::int32_t Win32WindowSystem::ControlId(WindowHandle control) {
  return GetDlgCtrlID(ToWindow(control));
}

void Win32WindowSystem::SetText(WindowHandle control, std::string_view text) {
  SetWindowTextW(ToWindow(control), WideFromAnsi(text).c_str());
}

std::string Win32WindowSystem::Text(WindowHandle control) {
  const int length = GetWindowTextLengthW(ToWindow(control));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(ToWindow(control), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return AnsiFromWide(text);
}

void Win32WindowSystem::Enable(WindowHandle control, bool enabled) {
  EnableWindow(ToWindow(control), enabled ? TRUE : FALSE);
}

std::int32_t Win32WindowSystem::IsEnabled(WindowHandle control) {
  return IsWindowEnabled(ToWindow(control)) ? 1 : 0;
}

void Win32WindowSystem::SetCheck(WindowHandle control, std::int32_t state) {
  Send(control, BM_SETCHECK, static_cast<WPARAM>(state));
}

std::int32_t Win32WindowSystem::Check(WindowHandle control) {
  return static_cast<std::int32_t>(Send(control, BM_GETCHECK));
}

void Win32WindowSystem::SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) {
  Send(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

std::int32_t Win32WindowSystem::SelectionEnd(WindowHandle edit) {
  DWORD start = 0;
  DWORD end = 0;
  Send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<std::int32_t>(end);
}

void Win32WindowSystem::SetSpinRange(WindowHandle spin, std::int16_t lower, std::int16_t upper) {
  Send(spin, UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
}

void Win32WindowSystem::SetSpinPosition(WindowHandle spin, std::int32_t position) {
  Send(spin, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(position), 0));
}

std::uint32_t Win32WindowSystem::SpinPosition(WindowHandle spin) {
  return static_cast<std::uint32_t>(Send(spin, UDM_GETPOS));
}

std::uint32_t Win32WindowSystem::SpinRange(WindowHandle spin) {
  return static_cast<std::uint32_t>(Send(spin, UDM_GETRANGE));
}

void Win32WindowSystem::ShowMessage(std::string_view text, std::string_view caption) {
  WindowHandle owner = InnermostDialog();
  if (owner == nullptr) owner = frame_.load();
  MessageBoxW(ToWindow(owner), WideFromAnsi(text).c_str(), WideFromAnsi(caption).c_str(),
              MB_OK | MB_ICONWARNING);
}

void Win32WindowSystem::EndProgram() {
  std::fflush(nullptr);
  // Other threads still run; leave without running anyone's destructors.
  std::_Exit(0);
}

}  // namespace quorvane::host
