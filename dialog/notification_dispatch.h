#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// Turning a control's notifications into handler calls.
namespace quorvane::dialog {

// Calls the handler the class and code select, then writes the changed
// records; 1 when a handler was called, else 0.
std::intptr_t DispatchNotification(DialogForm& form, std::int32_t controlId, std::int32_t code);

// Moves a scroll bar's, spinner's or slider's stored position as the scroll
// code says, clamped to its range, and calls its Changed handler.
void HandleScroll(DialogForm& form, WindowHandle control, std::int32_t code, std::int32_t position);

}  // namespace quorvane::dialog
