#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "dialog/dialog_form.h"
#include "dialog/dialog_template.h"

// What each control class holds and reports: classification of template
// items, the start values of a record, and the handler slot of each event.
namespace quorvane::dialog {

struct Classification {
  std::optional<ControlClass> controlClass;  // none: the item gets no record
  std::string_view rejectedStyle;            // not empty: the item's style is refused
};

Classification ClassifyItem(const DialogItemTemplate& item);

// A record with the class's lists and their values after load.
ControlRecord MakeRecord(ControlClass controlClass, const DialogItemTemplate& item);

// The 0-based handler slot that an event fills on a class; nothing when the
// class does not report that event.
std::optional<std::size_t> HandlerSlot(ControlClass controlClass, EventKind kind);

bool IsButtonWithStyle(const DialogItemTemplate& item, std::uint32_t buttonType);

inline constexpr std::uint32_t kButtonTypeMask = 0xF;

}  // namespace quorvane::dialog
