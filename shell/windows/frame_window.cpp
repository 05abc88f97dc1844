#include "shell/windows/frame_window.h"

#include <memory>

#include "host/windows/text_conversion.h"

namespace quorvane::shell {
namespace {

constexpr wchar_t kFrameClass[] = L"QuorvaneFrame";
constexpr wchar_t kOutputClass[] = L"QuorvaneOutput";
// The output window opens at 80 columns by 24 lines of its text.
constexpr int kOutputColumns = 80;
constexpr int kOutputLines = 24;
constexpr int kStatusId = 1;
constexpr int kClientId = 2;
constexpr int kFirstChildId = 100;

LRESULT CALLBACK OutputProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    HWND text = GetWindow(window, GW_CHILD);
    if (text != nullptr) MoveWindow(text, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  }
  return DefMDIChildProcW(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance, HICON icon, WNDPROC frameProcedure) {
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof(frame);
  frame.lpfnWndProc = frameProcedure;
  frame.hInstance = instance;
  frame.hIcon = icon;
  frame.hIconSm = icon;
  frame.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = kFrameClass;
  RegisterClassExW(&frame);

  WNDCLASSEXW output = frame;
  output.lpfnWndProc = OutputProcedure;
  output.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  output.lpszClassName = kOutputClass;
  RegisterClassExW(&output);
}

// The edit control breaks lines at CR LF only.
std::wstring ForDisplay(const std::string& text) {
  std::string shown;
  shown.reserve(text.size() + text.size() / 8);
  char previous = '\0';
  for (char c : text) {
    if (c == '\n' && previous != '\r') shown += '\r';
    shown += c;
    previous = c;
  }
  return host::WideFromAnsi(shown);
}

}  // namespace

FrameWindow::FrameWindow(const std::wstring& title, HICON icon) : title_(title), icon_(icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance, icon, &FrameWindow::FrameProcedure);
  frame_ = CreateWindowExW(0, kFrameClass, title_.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                           nullptr, instance, this);

  CLIENTCREATESTRUCT client{};
  client.idFirstChild = kFirstChildId;
  client_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                            WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0,
                            0, 0, frame_, reinterpret_cast<HMENU>(kClientId), instance, &client);
  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                            0, 0, 0, frame_, reinterpret_cast<HMENU>(kStatusId), instance, nullptr);
  ShowProgramState(ProgramState::Running);
}

FrameWindow::~FrameWindow() {
  if (frame_ != nullptr && IsWindow(frame_)) DestroyWindow(frame_);
}

void FrameWindow::AppendOutput(const std::string& text) {
  if (output_ == nullptr) ShowOutputWindow();
  if (outputObserver_ != nullptr) outputObserver_(text);
  const std::wstring shown = ForDisplay(text);
  const LRESULT end = SendMessageW(outputText_, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(outputText_, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(outputText_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.c_str()));
}

void FrameWindow::ShowProgramState(ProgramState state) {
  std::string_view text = StatusText(state);
  const std::wstring shown(text.begin(), text.end());
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(shown.c_str()));
  if (observer_ != nullptr) observer_(shown);
}

LRESULT CALLBACK FrameWindow::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<FrameWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->client_ == nullptr) {
    return DefFrameProcW(window, nullptr, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT FrameWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kOutputMessage: {
      std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
      AppendOutput(*text);
      return 0;
    }
    case kStateMessage:
      ShowProgramState(static_cast<ProgramState>(wParam));
      return 0;
    case kReturnedMessage:
      if (onReturned_ != nullptr) onReturned_(returnedContext_);
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DESTROY:
      frame_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefFrameProcW(frame_, client_, message, wParam, lParam);
  }
}

void FrameWindow::Layout() {
  SendMessageW(status_, WM_SIZE, 0, 0);
  RECT client{};
  RECT status{};
  GetClientRect(frame_, &client);
  GetWindowRect(status_, &status);
  MoveWindow(client_, 0, 0, client.right, client.bottom - (status.bottom - status.top), TRUE);
}

void FrameWindow::ShowOutputWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  HDC context = GetDC(frame_);
  HGDIOBJ saved = SelectObject(context, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(context, &metrics);
  SelectObject(context, saved);
  ReleaseDC(frame_, context);

  RECT size{0, 0, metrics.tmAveCharWidth * kOutputColumns + GetSystemMetrics(SM_CXVSCROLL),
            metrics.tmHeight * kOutputLines};
  AdjustWindowRectEx(&size, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_MDICHILD);
  output_ = CreateMDIWindowW(kOutputClass, title_.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             size.right - size.left, size.bottom - size.top, client_, instance, 0);
  outputText_ = CreateWindowExW(0, L"EDIT", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                    ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 0, 0, output_, nullptr, instance, nullptr);
  SendMessageW(outputText_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  RECT inner{};
  GetClientRect(output_, &inner);
  MoveWindow(outputText_, 0, 0, inner.right, inner.bottom, TRUE);

  // The frame wraps the output window: its client area plus the status bar.
  RECT status{};
  GetWindowRect(status_, &status);
  RECT frame{
      0, 0, size.right - size.left + 2 * GetSystemMetrics(SM_CXEDGE),
      size.bottom - size.top + 2 * GetSystemMetrics(SM_CYEDGE) + (status.bottom - status.top)};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(frame_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(frame_, SW_SHOW);
  SetFocus(outputText_);
}

}  // namespace quorvane::shell
