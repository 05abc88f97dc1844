#include "dialog/notification_dispatch.h"

#include <optional>

#include "dialog/form_access.h"
#include "dialog/form_window.h"

namespace quorvane::dialog {
namespace {

using E = EventKind;

struct Route {
  std::size_t slot;
  EventKind kind;
};

std::optional<Route> EditRoute(std::int32_t code) {
  switch (code) {
    case EN_CHANGE:
      return Route{0, E::Changed};
    case EN_UPDATE:
      return Route{1, E::Update};
    case EN_SETFOCUS:
      return Route{2, E::GainedFocus};
    case EN_KILLFOCUS:
      return Route{3, E::LostFocus};
    default:
      return std::nullopt;
  }
}

std::optional<Route> ComboRoute(std::int32_t code) {
  switch (code) {
    case CBN_SELCHANGE:
      return Route{0, E::SelectionChanged};
    case CBN_DBLCLK:
      return Route{1, E::DoubleClicked};
    case CBN_EDITUPDATE:
      return Route{2, E::Update};
    case CBN_EDITCHANGE:
      return Route{3, E::Changed};
    case CBN_SETFOCUS:
      return Route{4, E::GainedFocus};
    case CBN_KILLFOCUS:
      return Route{5, E::LostFocus};
    default:
      return std::nullopt;
  }
}

// Selection notifications of list box and drop-down list share their codes.
std::optional<Route> ListRoute(std::int32_t code) {
  if (code == LBN_SELCHANGE) return Route{0, E::SelectionChanged};
  if (code == LBN_DBLCLK) return Route{1, E::DoubleClicked};
  return std::nullopt;
}

std::optional<Route> TabRoute(std::int32_t code) {
  if (code == TCN_SELCHANGE) return Route{0, E::SelectionChanged};
  if (code == TCN_SELCHANGING) return Route{1, E::SelectionChanging};
  return std::nullopt;
}

std::optional<Route> RouteOf(ControlClass controlClass, std::int32_t code) {
  switch (controlClass) {
    case ControlClass::PushButton:
    case ControlClass::CheckBox:
    case ControlClass::RadioButton:
      if (code == BN_CLICKED) return Route{0, E::Clicked};
      return std::nullopt;
    case ControlClass::EditBox:
      return EditRoute(code);
    case ControlClass::ListBox:
    case ControlClass::DropDownList:
      return ListRoute(code);
    case ControlClass::ComboBox:
      return ComboRoute(code);
    case ControlClass::TabControl:
      return TabRoute(code);
    default:
      return std::nullopt;
  }
}

void StoreCurrentTab(DialogForm& form, ControlRecord& record) {
  WindowSystem& host = CurrentWindowSystem();
  WindowHandle control = host.DialogItem(form.window, record.id);
  if (control != nullptr) record.integers[1] = host.CurrentItem(control) + 1;
}

void CallHandler(DialogForm& form, ControlHandler handler, std::int32_t controlId, EventKind kind) {
  handler(form, controlId, kind);
  WriteChangedRecords(form);
}

// The new position for a scroll code, from the record's integers:
// 1 position, 2 range max, 3 small step, 4 big step, 5 range min.
// Wide arithmetic: a step from an extreme position must not overflow.
std::int64_t ScrolledPosition(const std::vector<std::int32_t>& v, std::int32_t code,
                              std::int32_t position) {
  const std::int64_t current = v[0];
  switch (code) {
    case SB_LINEUP:
      return current - v[2];
    case SB_LINEDOWN:
      return current + v[2];
    case SB_PAGEUP:
      return current - v[3];
    case SB_PAGEDOWN:
      return current + v[3];
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return position;
    case SB_TOP:
      return 1;
    default:
      return v[1];
  }
}

bool Scrolls(ControlClass controlClass) {
  return controlClass == ControlClass::ScrollBar || controlClass == ControlClass::Spinner ||
         controlClass == ControlClass::Slider;
}

}  // namespace

std::intptr_t DispatchNotification(DialogForm& form, std::int32_t controlId, std::int32_t code) {
  ControlRecord* record = FindControl(form, controlId);
  if (record == nullptr || controlId == 0 || IsTrue(form.writing)) return 0;
  if (record->controlClass == ControlClass::ScrollBar && !IsTrue(record->logicals[0])) return 0;
  const auto route = RouteOf(record->controlClass, code);
  if (!route) return 0;
  if (record->controlClass == ControlClass::TabControl) StoreCurrentTab(form, *record);
  const ControlHandler handler = record->handlers[route->slot];
  const bool combo = record->controlClass == ControlClass::ComboBox;
  if (combo && route->kind == E::SelectionChanged) form.selectionFlag = kFalse;
  handler(form, controlId, route->kind);
  if (combo) form.selectionFlag = kTrue;
  WriteChangedRecords(form);
  return 1;
}

void HandleScroll(DialogForm& form, WindowHandle control, std::int32_t code,
                  std::int32_t position) {
  if (control == nullptr || IsTrue(form.writing) || code < 0 || code > SB_BOTTOM) return;
  ControlRecord* record = FindControl(form, CurrentWindowSystem().ControlId(control));
  if (record == nullptr || !Scrolls(record->controlClass) || !IsTrue(record->logicals[0])) return;
  auto& v = record->integers;
  std::int64_t wide = ScrolledPosition(v, code, position);
  if (wide < v[4]) wide = v[4];
  if (wide > v[1]) wide = v[1];
  const auto next = static_cast<std::int32_t>(wide);
  v[0] = next;
  if (record->controlClass == ControlClass::ScrollBar) {
    CurrentWindowSystem().SetScrollPosition(control, next);
  }
  CallHandler(form, record->handlers[0], record->id, E::Changed);
}

}  // namespace quorvane::dialog
