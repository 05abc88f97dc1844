#pragma once

#include <cstdint>

// Style bits and class atoms of the host's dialog templates, by the names the
// host's documentation gives them.
namespace quorvane::dialog {

// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_GROUP = 0x00020000u;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;

// Dialog styles.
inline constexpr std::uint32_t DS_SETFONT = 0x40u;
inline constexpr std::uint32_t DS_MODALFRAME = 0x80u;
inline constexpr std::uint32_t DS_3DLOOK = 0x0004u;

// Extended window styles.
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020u;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000u;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200u;

// Button styles (the low nibble is the button type).
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0u;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1u;
inline constexpr std::uint32_t BS_CHECKBOX = 0x2u;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x3u;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x4u;
inline constexpr std::uint32_t BS_3STATE = 0x5u;
inline constexpr std::uint32_t BS_AUTO3STATE = 0x6u;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7u;
inline constexpr std::uint32_t BS_USERBUTTON = 0x8u;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9u;
inline constexpr std::uint32_t BS_OWNERDRAW = 0xBu;

// Edit styles.
inline constexpr std::uint32_t ES_LEFT = 0x0000u;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080u;
inline constexpr std::uint32_t ES_NUMBER = 0x2000u;

// Static styles.
inline constexpr std::uint32_t SS_LEFT = 0x0000u;
inline constexpr std::uint32_t SS_CENTER = 0x0001u;
inline constexpr std::uint32_t SS_ICON = 0x0003u;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200u;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000u;

// List box and combo box styles the loader rejects.
inline constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x10u;
inline constexpr std::uint32_t LBS_OWNERDRAWVARIABLE = 0x20u;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3u;
inline constexpr std::uint32_t CBS_OWNERDRAWFIXED = 0x10u;
inline constexpr std::uint32_t CBS_OWNERDRAWVARIABLE = 0x20u;

// Up-down control styles.
inline constexpr std::uint32_t UDS_WRAP = 0x01u;
inline constexpr std::uint32_t UDS_SETBUDDYINT = 0x02u;
inline constexpr std::uint32_t UDS_ALIGNRIGHT = 0x04u;
inline constexpr std::uint32_t UDS_AUTOBUDDY = 0x10u;
inline constexpr std::uint32_t UDS_ARROWKEYS = 0x20u;
inline constexpr std::uint32_t UDS_NOTHOUSANDS = 0x80u;

// Predefined window class atoms of template items.
inline constexpr std::uint16_t kButtonAtom = 0x80;
inline constexpr std::uint16_t kEditAtom = 0x81;
inline constexpr std::uint16_t kStaticAtom = 0x82;
inline constexpr std::uint16_t kListBoxAtom = 0x83;
inline constexpr std::uint16_t kScrollBarAtom = 0x84;
inline constexpr std::uint16_t kComboBoxAtom = 0x85;

// Common-control window class names.
inline constexpr const char* kUpDownClass = "msctls_updown32";
inline constexpr const char* kTrackBarClass = "msctls_trackbar32";
inline constexpr const char* kProgressClass = "msctls_progress32";
inline constexpr const char* kTabControlClass = "SysTabControl32";

// Command ids the host sends for Enter and for Escape / the close box.
inline constexpr std::int32_t IDOK = 1;
inline constexpr std::int32_t IDCANCEL = 2;

}  // namespace quorvane::dialog
