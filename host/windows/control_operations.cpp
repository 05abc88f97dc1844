// Scroll bars, sliders, progress bars and the item lists of list boxes, combo
// boxes, drop-down lists and tab controls, through their own messages.
#include <string>

#include "host/windows/text_conversion.h"
#include "host/windows/win32_window_system.h"
#include "host/windows/windows_api.h"

namespace quorvane::host {
namespace {

using dialog::WindowHandle;

// Longest tab caption read back; the control keeps no longer ones in use.
constexpr int kTabTextCapacity = 1024;

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

LRESULT Send(WindowHandle window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(ToWindow(window), message, wParam, lParam);
}

enum class ListKind { None, ListBox, ComboBox, Tabs };

ListKind KindOf(WindowHandle list) {
  wchar_t name[64] = {};
  if (GetClassNameW(ToWindow(list), name, 64) == 0) return ListKind::None;
  if (lstrcmpiW(name, L"ListBox") == 0) return ListKind::ListBox;
  if (lstrcmpiW(name, L"ComboBox") == 0) return ListKind::ComboBox;
  if (lstrcmpiW(name, WC_TABCONTROLW) == 0) return ListKind::Tabs;
  return ListKind::None;
}

std::int32_t AsInt(LRESULT reply) {
  return static_cast<std::int32_t>(reply);
}

std::string TabText(WindowHandle tabs, std::int32_t index) {
  std::wstring text(kTabTextCapacity, L'\0');
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  item.cchTextMax = kTabTextCapacity;
  if (!Send(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) {
    return {};
  }
  text.resize(text.find(L'\0'));
  return AnsiFromWide(text);
}

std::string ListText(WindowHandle list, UINT lengthMessage, UINT textMessage, std::int32_t index) {
  const LRESULT length = Send(list, lengthMessage, static_cast<WPARAM>(index));
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(list, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return AnsiFromWide(text);
}

}  // namespace

void Win32WindowSystem::SetScrollInfo(WindowHandle bar, const dialog::ScrollInfo& info) {
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  scroll.nMin = info.minimum;
  scroll.nMax = info.maximum;
  scroll.nPage = static_cast<UINT>(info.page);
  scroll.nPos = info.position;
  ::SetScrollInfo(ToWindow(bar), SB_CTL, &scroll, TRUE);
}

dialog::ScrollInfo Win32WindowSystem::GetScrollInfo(WindowHandle bar) {
  SCROLLINFO scroll{};
  scroll.cbSize = sizeof(scroll);
  scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!::GetScrollInfo(ToWindow(bar), SB_CTL, &scroll)) return {};
  return {scroll.nMin, scroll.nMax, static_cast<std::int32_t>(scroll.nPage), scroll.nPos};
}

void Win32WindowSystem::SetScrollPosition(WindowHandle bar, std::int32_t position) {
  SetScrollPos(ToWindow(bar), SB_CTL, position, TRUE);
}

void Win32WindowSystem::EnableScrollBar(WindowHandle bar, bool enabled) {
  ::EnableScrollBar(ToWindow(bar), SB_CTL, enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void Win32WindowSystem::SetSliderRange(WindowHandle s, std::int16_t lower, std::int16_t upper) {
  Send(s, TBM_SETRANGE, TRUE, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}

void Win32WindowSystem::SetSliderPosition(WindowHandle s, std::int32_t v) {
  Send(s, TBM_SETPOS, TRUE, v);
}

void Win32WindowSystem::SetSliderLineSize(WindowHandle s, std::int32_t v) {
  Send(s, TBM_SETLINESIZE, 0, v);
}

void Win32WindowSystem::SetSliderPageSize(WindowHandle s, std::int32_t v) {
  Send(s, TBM_SETPAGESIZE, 0, v);
}

void Win32WindowSystem::SetSliderTickFrequency(WindowHandle s, std::int32_t v) {
  Send(s, TBM_SETTICFREQ, static_cast<WPARAM>(v));
}

std::int32_t Win32WindowSystem::SliderPosition(WindowHandle s) {
  return AsInt(Send(s, TBM_GETPOS));
}

std::int32_t Win32WindowSystem::SliderRangeMax(WindowHandle s) {
  return AsInt(Send(s, TBM_GETRANGEMAX));
}

std::int32_t Win32WindowSystem::SliderRangeMin(WindowHandle s) {
  return AsInt(Send(s, TBM_GETRANGEMIN));
}

std::int32_t Win32WindowSystem::SliderLineSize(WindowHandle s) {
  return AsInt(Send(s, TBM_GETLINESIZE));
}

std::int32_t Win32WindowSystem::SliderPageSize(WindowHandle s) {
  return AsInt(Send(s, TBM_GETPAGESIZE));
}

void Win32WindowSystem::SetProgressRange(WindowHandle p, std::int16_t lower, std::int16_t upper) {
  Send(p, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}

void Win32WindowSystem::SetProgressPosition(WindowHandle p, std::int32_t v) {
  Send(p, PBM_SETPOS, static_cast<WPARAM>(v));
}

void Win32WindowSystem::ClearItems(WindowHandle list) {
  switch (KindOf(list)) {
    case ListKind::ListBox:
      Send(list, LB_RESETCONTENT);
      break;
    case ListKind::ComboBox:
      Send(list, CB_RESETCONTENT);
      break;
    case ListKind::Tabs:
      Send(list, TCM_DELETEALLITEMS);
      break;
    case ListKind::None:
      break;
  }
}

void Win32WindowSystem::AddItem(WindowHandle list, std::string_view text) {
  std::wstring wide = WideFromAnsi(text);
  const auto address = reinterpret_cast<LPARAM>(wide.c_str());
  switch (KindOf(list)) {
    case ListKind::ListBox:
      Send(list, LB_ADDSTRING, 0, address);
      break;
    case ListKind::ComboBox:
      Send(list, CB_ADDSTRING, 0, address);
      break;
    case ListKind::Tabs: {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = wide.data();
      Send(list, TCM_INSERTITEMW, static_cast<WPARAM>(ItemCount(list)),
           reinterpret_cast<LPARAM>(&item));
      break;
    }
    case ListKind::None:
      break;
  }
}

std::int32_t Win32WindowSystem::ItemCount(WindowHandle list) {
  switch (KindOf(list)) {
    case ListKind::ListBox:
      return AsInt(Send(list, LB_GETCOUNT));
    case ListKind::ComboBox:
      return AsInt(Send(list, CB_GETCOUNT));
    case ListKind::Tabs:
      return AsInt(Send(list, TCM_GETITEMCOUNT));
    case ListKind::None:
      break;
  }
  return 0;
}

std::string Win32WindowSystem::ItemText(WindowHandle list, std::int32_t index) {
  if (index < 0 || index >= ItemCount(list)) return {};
  switch (KindOf(list)) {
    case ListKind::ListBox:
      return ListText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
    case ListKind::ComboBox:
      return ListText(list, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
    case ListKind::Tabs:
      return TabText(list, index);
    case ListKind::None:
      break;
  }
  return {};
}

void Win32WindowSystem::SetCurrentItem(WindowHandle list, std::int32_t index) {
  switch (KindOf(list)) {
    case ListKind::ListBox:
      Send(list, LB_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case ListKind::ComboBox:
      Send(list, CB_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case ListKind::Tabs:
      Send(list, TCM_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case ListKind::None:
      break;
  }
}

std::int32_t Win32WindowSystem::CurrentItem(WindowHandle list) {
  switch (KindOf(list)) {
    case ListKind::ListBox:
      return AsInt(Send(list, LB_GETCURSEL));
    case ListKind::ComboBox:
      return AsInt(Send(list, CB_GETCURSEL));
    case ListKind::Tabs:
      return AsInt(Send(list, TCM_GETCURSEL));
    case ListKind::None:
      break;
  }
  return -1;
}

}  // namespace quorvane::host
