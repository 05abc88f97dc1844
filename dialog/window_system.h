#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dialog/resources.h"

// Everything the dialog runtime asks of the host windowing system. The runtime
// reaches windows only through this interface; the Qt host implements it for
// the program, and a scripted in-memory host implements it for the tests.
namespace quorvane::dialog {

// An opaque window: a dialog or one of its controls. Null is no window.
struct Window;
using WindowHandle = Window*;

// The messages a dialog's window procedure receives, numbered as the host
// numbers them.
enum class Message : std::uint32_t {
  Destroy = 0x0002,
  Size = 0x0005,
  Close = 0x0010,
  Notify = 0x004E,
  NotifyFormat = 0x0055,
  InitDialog = 0x0110,
  Command = 0x0111,
  HScroll = 0x0114,
  VScroll = 0x0115,
};

// One message with its two parameters packed as the host packs them:
//   InitDialog  lParam = the creation parameter given to RunModalDialog
//   Command     wParam = control id | notification code << 16, lParam = the control
//   Notify      lParam = address of a NotifyHeader
//   H/VScroll   wParam = scroll code | position << 16, lParam = the control
//   Size        wParam = size type (0 restored, 1 minimized, 2 maximized)
struct WindowMessage {
  Message message = Message::Destroy;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

struct NotifyHeader {
  WindowHandle from = nullptr;
  std::uintptr_t idFrom = 0;
  std::int32_t code = 0;
};

// Notification codes carried by Command and Notify messages.
inline constexpr std::int32_t BN_CLICKED = 0;
inline constexpr std::int32_t EN_SETFOCUS = 0x0100;
inline constexpr std::int32_t EN_KILLFOCUS = 0x0200;
inline constexpr std::int32_t EN_CHANGE = 0x0300;
inline constexpr std::int32_t EN_UPDATE = 0x0400;
inline constexpr std::int32_t LBN_SELCHANGE = 1;
inline constexpr std::int32_t LBN_DBLCLK = 2;
inline constexpr std::int32_t CBN_SELCHANGE = 1;
inline constexpr std::int32_t CBN_DBLCLK = 2;
inline constexpr std::int32_t CBN_SETFOCUS = 3;
inline constexpr std::int32_t CBN_KILLFOCUS = 4;
inline constexpr std::int32_t CBN_EDITCHANGE = 5;
inline constexpr std::int32_t CBN_EDITUPDATE = 6;
inline constexpr std::int32_t TCN_SELCHANGE = -551;
inline constexpr std::int32_t TCN_SELCHANGING = -552;
inline constexpr std::int32_t UDN_DELTAPOS = -722;

// Scroll codes of H/VScroll messages.
inline constexpr std::int32_t SB_LINEUP = 0;
inline constexpr std::int32_t SB_LINEDOWN = 1;
inline constexpr std::int32_t SB_PAGEUP = 2;
inline constexpr std::int32_t SB_PAGEDOWN = 3;
inline constexpr std::int32_t SB_THUMBPOSITION = 4;
inline constexpr std::int32_t SB_THUMBTRACK = 5;
inline constexpr std::int32_t SB_TOP = 6;
inline constexpr std::int32_t SB_BOTTOM = 7;
inline constexpr std::int32_t SB_ENDSCROLL = 8;

// The dialog's window procedure: 1 when it handled the message, else 0.
using WindowProcedure = std::intptr_t (*)(WindowHandle dialog, const WindowMessage& message);

struct ScrollInfo {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::int32_t page = 0;
  std::int32_t position = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Resources of a module (0 = the program's own).
  virtual std::optional<std::span<const std::uint8_t>> FindResource(ModuleHandle module,
                                                                    std::int32_t type,
                                                                    std::int32_t id) = 0;
  // The module a window was created from.
  virtual ModuleHandle WindowModule(WindowHandle window) = 0;
  // The owner of a form that has no other parent: the shell's frame, or null.
  virtual WindowHandle DefaultParent() = 0;

  // Creates the dialog of template templateId in module, owned by parent,
  // sends InitDialog (lParam = creationParameter) before it shows, runs its
  // modal loop calling procedure for every message, and returns the value given
  // to EndDialog; -1 when the dialog cannot be created.
  virtual std::int32_t RunModalDialog(ModuleHandle module, std::int32_t templateId,
                                      WindowHandle parent, WindowProcedure procedure,
                                      std::intptr_t creationParameter) = 0;
  virtual void EndDialog(WindowHandle dialog, std::int32_t result) = 0;
  // The window's user data slot (the host keeps it; the runtime stores its
  // creation block there).
  virtual void SetUserData(WindowHandle window, std::intptr_t value) = 0;
  virtual std::intptr_t UserData(WindowHandle window) = 0;
  // The reply slot of the message being handled.
  virtual void SetMessageResult(WindowHandle dialog, std::intptr_t value) = 0;

  // Controls by id and back.
  virtual WindowHandle DialogItem(WindowHandle dialog, std::int32_t id) = 0;
  virtual std::int32_t ControlId(WindowHandle control) = 0;

  // Text, enabled state, check state and edit selection. Setting an edit
  // box's text reports EN_UPDATE and EN_CHANGE to the dialog before it returns.
  virtual void SetText(WindowHandle control, std::string_view text) = 0;
  virtual std::string Text(WindowHandle control) = 0;
  virtual void Enable(WindowHandle control, bool enabled) = 0;
  virtual std::int32_t IsEnabled(WindowHandle control) = 0;  // 1 or 0
  virtual void SetCheck(WindowHandle control, std::int32_t state) = 0;
  virtual std::int32_t Check(WindowHandle control) = 0;
  virtual void SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) = 0;
  virtual std::int32_t SelectionEnd(WindowHandle edit) = 0;

  // Up-down control. Range replies pack the upper end in the low 16 bits and
  // the lower end in the high 16 bits; the position reply has the position in
  // the low 16 bits and a non-zero high word when the buddy's text was invalid.
  virtual void SetSpinRange(WindowHandle spin, std::int16_t lower, std::int16_t upper) = 0;
  virtual void SetSpinPosition(WindowHandle spin, std::int32_t position) = 0;
  virtual std::uint32_t SpinPosition(WindowHandle spin) = 0;
  virtual std::uint32_t SpinRange(WindowHandle spin) = 0;

  // Scroll bar, slider and progress bar.
  virtual void SetScrollInfo(WindowHandle bar, const ScrollInfo& info) { (void)bar, (void)info; }
  virtual ScrollInfo GetScrollInfo(WindowHandle bar) { return (void)bar, ScrollInfo{}; }
  virtual void SetScrollPosition(WindowHandle bar, std::int32_t position) {
    (void)bar, (void)position;
  }
  virtual void EnableScrollBar(WindowHandle bar, bool enabled) { (void)bar, (void)enabled; }
  virtual void SetSliderRange(WindowHandle s, std::int16_t lower, std::int16_t upper) {
    (void)s, (void)lower, (void)upper;
  }
  virtual void SetSliderPosition(WindowHandle s, std::int32_t v) { (void)s, (void)v; }
  virtual void SetSliderLineSize(WindowHandle s, std::int32_t v) { (void)s, (void)v; }
  virtual void SetSliderPageSize(WindowHandle s, std::int32_t v) { (void)s, (void)v; }
  virtual void SetSliderTickFrequency(WindowHandle s, std::int32_t v) { (void)s, (void)v; }
  virtual std::int32_t SliderPosition(WindowHandle s) { return (void)s, 0; }
  virtual std::int32_t SliderRangeMax(WindowHandle s) { return (void)s, 0; }
  virtual std::int32_t SliderRangeMin(WindowHandle s) { return (void)s, 0; }
  virtual std::int32_t SliderLineSize(WindowHandle s) { return (void)s, 0; }
  virtual std::int32_t SliderPageSize(WindowHandle s) { return (void)s, 0; }
  virtual void SetProgressRange(WindowHandle p, std::int16_t lower, std::int16_t upper) {
    (void)p, (void)lower, (void)upper;
  }
  virtual void SetProgressPosition(WindowHandle p, std::int32_t v) { (void)p, (void)v; }

  // List box, combo box, drop-down list and tab control items.
  virtual void ClearItems(WindowHandle list) { (void)list; }
  virtual void AddItem(WindowHandle list, std::string_view text) { (void)list, (void)text; }
  virtual std::int32_t ItemCount(WindowHandle list) { return (void)list, 0; }
  virtual std::string ItemText(WindowHandle list, std::int32_t index) {
    return (void)list, (void)index, std::string();
  }
  virtual void SetCurrentItem(WindowHandle list, std::int32_t index) { (void)list, (void)index; }
  virtual std::int32_t CurrentItem(WindowHandle list) { return (void)list, -1; }

  // A message box owned by the dialog or, without one, by the default parent.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  // Ends the process after a fatal error; does not return.
  [[noreturn]] virtual void EndProgram() = 0;
};

// The host the runtime works through. Set once by the program (or a test)
// before any form is loaded.
void SetWindowSystem(WindowSystem* host);
WindowSystem& CurrentWindowSystem();

}  // namespace quorvane::dialog
