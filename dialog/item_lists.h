#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dialog/dialog_form.h"

// The item lists of list box, combo box, drop-down list and tab control.
// Integer 1 holds the item count; list boxes keep their n-th selected index
// in integer n + 1, tab controls the value of tab n in integer n + 2.
namespace quorvane::dialog {

bool IsListClass(ControlClass controlClass);

// The item number a positive kind names (1..), or nothing for other kinds.
std::optional<std::int32_t> ItemIndex(std::int32_t kind);

// Resizes the item lists to count items; new items are blank. False when the
// count is negative or too large.
bool ResizeItems(ControlRecord& record, std::int32_t count);
bool AppendItem(ControlRecord& record, std::string text);
std::int32_t ItemCountOf(const ControlRecord& record);

// The integer slot an item-number kind addresses for the class, if any.
std::optional<std::size_t> ItemIntegerSlot(const ControlRecord& record, std::int32_t index);

}  // namespace quorvane::dialog
