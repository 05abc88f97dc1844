#include "win32_driver.h"

#include <cstring>

#include "host/windows/text_conversion.h"
#include "host/windows/windows_api.h"

namespace quorvane::host::testing {
namespace {

using dialog::WindowHandle;

constexpr UINT kTickMilliseconds = 5;

Win32Driver* playing = nullptr;

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (playing != nullptr) playing->TickForTimer();
}

HWND KeyTarget(WindowHandle form) {
  HWND focus = GetFocus();
  return focus != nullptr ? focus : ToWindow(form);
}

void PostKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

}  // namespace

Win32Driver::Win32Driver() : host_(resources_) {}

WindowHandle Win32Driver::Form() {
  return InnermostDialog();
}

WindowHandle Win32Driver::Control(std::int32_t controlId) {
  WindowHandle form = Form();
  return form != nullptr ? host_.DialogItem(form, controlId) : nullptr;
}

void Win32Driver::TypeText(std::int32_t controlId, std::string_view text) {
  steps_.push_back([this, controlId, typed = std::string(text)] {
    HWND edit = ToWindow(Control(controlId));
    if (edit == nullptr) return;
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (typed.empty()) PostKey(edit, VK_DELETE);
    for (wchar_t c : WideFromAnsi(typed)) PostMessageW(edit, WM_CHAR, c, 1);
  });
}

void Win32Driver::Paste(std::int32_t controlId, std::string_view text) {
  steps_.push_back([this, controlId, pasted = std::string(text)] {
    HWND edit = ToWindow(Control(controlId));
    if (edit == nullptr || !OpenClipboard(edit)) return;
    const std::wstring wide = WideFromAnsi(pasted);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_PASTE, 0, 0);
  });
}

void Win32Driver::PressKey(std::uint32_t virtualKey) {
  steps_.push_back([this, virtualKey] { PostKey(KeyTarget(Form()), virtualKey); });
}

void Win32Driver::Click(std::int32_t controlId) {
  steps_.push_back([this, controlId] {
    // A disabled button takes no mouse input.
    HWND button = ToWindow(Control(controlId));
    if (button != nullptr && IsWindowEnabled(button)) PostMessageW(button, BM_CLICK, 0, 0);
  });
}

void Win32Driver::PressEscape() {
  PressKey(VK_ESCAPE);
}

void Win32Driver::PressEnter() {
  PressKey(VK_RETURN);
}

void Win32Driver::PressCloseBox() {
  steps_.push_back([this] { PostMessageW(ToWindow(Form()), WM_SYSCOMMAND, SC_CLOSE, 0); });
}

// A click on one of the up-down control's arrows, upper half or lower half.
void Win32Driver::Step(std::int32_t spinnerId, bool up) {
  steps_.push_back([this, spinnerId, up] {
    HWND spin = ToWindow(Control(spinnerId));
    if (spin == nullptr) return;
    RECT area{};
    GetClientRect(spin, &area);
    const LPARAM point =
        MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom - area.bottom / 4);
    PostMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(spin, WM_LBUTTONUP, 0, point);
  });
}

void Win32Driver::SpinUp(std::int32_t spinnerId) {
  Step(spinnerId, true);
}

void Win32Driver::SpinDown(std::int32_t spinnerId) {
  Step(spinnerId, false);
}

std::string Win32Driver::ShownText(std::int32_t controlId) {
  WindowHandle control = Control(controlId);
  return control != nullptr ? host_.Text(control) : std::string();
}

bool Win32Driver::ShownEnabled(std::int32_t controlId) {
  HWND control = ToWindow(Control(controlId));
  return control != nullptr && IsWindowEnabled(control);
}

bool Win32Driver::ShownChecked(std::int32_t controlId) {
  HWND control = ToWindow(Control(controlId));
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Driver::TickForTimer() {
  WindowHandle form = Form();
  if (form == nullptr) return;
  formSeen_ = true;
  if (next_ < steps_.size()) {
    const std::function<void()> step = steps_[next_++];
    if (step) step();
    return;
  }
  host_.EndDialog(form, -1);
}

bool Win32Driver::Play(const std::function<void()>& program) {
  playing = this;
  next_ = 0;
  formSeen_ = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, OnTick);
  program();
  KillTimer(nullptr, timer);
  playing = nullptr;
  steps_.clear();
  return formSeen_;
}

}  // namespace quorvane::host::testing
