#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "dialog/dialog_form.h"

// Registering handlers and setting and getting control values by id and kind.
// Every operation returns -1 when done and 0 when refused.
namespace quorvane::dialog {

Logical SetControlHandler(DialogForm& form, std::int32_t controlId, ControlHandler handler,
                          EventKind kind = EventKind::Default);
Logical SetControlInteger(DialogForm& form, std::int32_t controlId, std::int32_t value,
                          ValueKind kind = ValueKind::Default);
Logical SetControlLogical(DialogForm& form, std::int32_t controlId, Logical value,
                          ValueKind kind = ValueKind::Default);
// text is the caller's fixed-length text; trailing blanks are dropped.
Logical SetControlText(DialogForm& form, std::int32_t controlId, std::string_view text,
                       ValueKind kind = ValueKind::Default);
Logical GetControlInteger(DialogForm& form, std::int32_t controlId, std::int32_t& value,
                          ValueKind kind = ValueKind::Default);
Logical GetControlLogical(DialogForm& form, std::int32_t controlId, Logical& value,
                          ValueKind kind = ValueKind::Default);
// Fills the whole buffer: the text, cut to the buffer, then blanks.
Logical GetControlText(DialogForm& form, std::int32_t controlId, std::span<char> buffer,
                       ValueKind kind = ValueKind::Default);

}  // namespace quorvane::dialog
