#include "dialog/item_lists.h"

#include <algorithm>

#include "dialog/form_access.h"

namespace quorvane::dialog {
namespace {

// Integers a class keeps in front of its per-item integers.
std::size_t LeadingIntegers(ControlClass controlClass) {
  return controlClass == ControlClass::TabControl ? 2 : 1;
}

bool HasPerItemIntegers(ControlClass controlClass) {
  return controlClass == ControlClass::ListBox || controlClass == ControlClass::TabControl;
}

std::size_t MinimumIntegers(ControlClass controlClass) {
  return controlClass == ControlClass::ComboBox ? 1 : 2;
}

}  // namespace

bool IsListClass(ControlClass controlClass) {
  return controlClass == ControlClass::ListBox || controlClass == ControlClass::ComboBox ||
         controlClass == ControlClass::DropDownList || controlClass == ControlClass::TabControl;
}

std::optional<std::int32_t> ItemIndex(std::int32_t kind) {
  if (kind <= 0) return std::nullopt;
  return kind;
}

std::int32_t ItemCountOf(const ControlRecord& record) {
  return record.integers[0];
}

bool ResizeItems(ControlRecord& record, std::int32_t count) {
  if (count < 0 || count > kMaxItemCount) return false;
  const auto size = static_cast<std::size_t>(count);
  record.itemTexts.resize(size);
  record.integers[0] = count;
  if (HasPerItemIntegers(record.controlClass)) {
    record.integers.resize(std::max(MinimumIntegers(record.controlClass),
                                    LeadingIntegers(record.controlClass) + size));
  }
  return true;
}

bool AppendItem(ControlRecord& record, std::string text) {
  if (!ResizeItems(record, ItemCountOf(record) + 1)) return false;
  record.itemTexts.back() = std::move(text);
  return true;
}

std::optional<std::size_t> ItemIntegerSlot(const ControlRecord& record, std::int32_t index) {
  if (!HasPerItemIntegers(record.controlClass) || index < 1 || index > ItemCountOf(record)) {
    return std::nullopt;
  }
  return LeadingIntegers(record.controlClass) + static_cast<std::size_t>(index) - 1;
}

}  // namespace quorvane::dialog
