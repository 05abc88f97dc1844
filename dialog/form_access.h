#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialog/dialog_form.h"

// The steps every value operation shares: finding the record, bringing it up
// to date before a set or get, and pushing a set to the window.
namespace quorvane::dialog {

// The first record with the id, duplicate or not; null when none.
ControlRecord* FindControl(DialogForm& form, std::int32_t controlId);
// The first record with the id unless it is a duplicate.
ControlRecord* FindUsableControl(DialogForm& form, std::int32_t controlId);

inline bool IsShown(const DialogForm& form) {
  return form.window != nullptr;
}

// Reads the record back from the window when the form is shown and the
// record holds nothing newer than the window.
void RefreshBeforeAccess(DialogForm& form, ControlRecord& record);
// Marks the form and the record changed and, unless the form's own window
// procedure is running, writes the changed records now.
void FinishSet(DialogForm& form, ControlRecord& record);

std::string TrimTrailingBlanks(std::string_view text);

// Longest edit text and largest item count the runtime keeps; beyond them a
// set is refused rather than allocating without bound.
inline constexpr std::int32_t kMaxTextLength = 32767;
inline constexpr std::int32_t kMaxItemCount = 32767;

}  // namespace quorvane::dialog
