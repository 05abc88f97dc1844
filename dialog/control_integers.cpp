#include <optional>

#include "dialog/control_values.h"
#include "dialog/form_access.h"
#include "dialog/item_lists.h"

namespace quorvane::dialog {
namespace {

using K = ValueKind;

// The integer (0-based) a kind addresses on the classes whose integers are
// plain values. A scroll bar's small step is kept in integer 3 both ways.
std::optional<std::size_t> PlainIntegerSlot(ControlClass controlClass, K kind) {
  const bool position = kind == K::Default || kind == K::Position;
  switch (controlClass) {
    case ControlClass::Spinner:
      if (position) return 0;
      if (kind == K::RangeMax) return 1;
      if (kind == K::RangeMin) return 4;
      return std::nullopt;
    case ControlClass::Slider:
    case ControlClass::ScrollBar:
      if (position) return 0;
      if (kind == K::RangeMax) return 1;
      if (kind == K::SmallStep) return 2;
      if (kind == K::BigStep) return 3;
      if (kind == K::RangeMin) return 4;
      if (kind == K::TickFrequency && controlClass == ControlClass::Slider) return 5;
      return std::nullopt;
    case ControlClass::ProgressBar:
      if (position) return 0;
      if (kind == K::RangeMax) return 1;
      if (kind == K::RangeMin) return 2;
      return std::nullopt;
    case ControlClass::EditBox:
      if (kind == K::Position) return 1;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// Cuts or pads the edit text to length characters.
bool SetEditLength(ControlRecord& record, std::int32_t length) {
  if (length < 0 || length > kMaxTextLength) return false;
  record.text.resize(static_cast<std::size_t>(length), ' ');
  record.integers[0] = length;
  if (length < record.integers[1]) record.integers[1] = length;
  return true;
}

bool StoreListInteger(ControlRecord& record, std::int32_t value, K kind) {
  if (kind == K::Default || kind == K::ItemCount) {
    const std::int32_t before = ItemCountOf(record);
    if (!ResizeItems(record, value)) return false;
    if (record.controlClass == ControlClass::ComboBox && value < before) record.text.clear();
    return true;
  }
  const bool hasSelection = record.controlClass == ControlClass::DropDownList ||
                            record.controlClass == ControlClass::TabControl;
  if (kind == K::State && hasSelection) {
    record.integers[1] = value;
    return true;
  }
  const auto index = ItemIndex(static_cast<std::int32_t>(kind));
  const auto slot = index ? ItemIntegerSlot(record, *index) : std::nullopt;
  if (!slot) return false;
  record.integers[*slot] = value;
  return true;
}

bool StoreInteger(ControlRecord& record, std::int32_t value, K kind) {
  if (record.controlClass == ControlClass::EditBox &&
      (kind == K::Default || kind == K::TextLength)) {
    return SetEditLength(record, value);
  }
  if (IsListClass(record.controlClass)) return StoreListInteger(record, value, kind);
  const auto slot = PlainIntegerSlot(record.controlClass, kind);
  if (!slot) return false;
  record.integers[*slot] = value;
  return true;
}

std::optional<std::int32_t> ListInteger(const ControlRecord& record, K kind) {
  if (kind == K::Default || kind == K::ItemCount) return ItemCountOf(record);
  const bool hasSelection = record.controlClass == ControlClass::DropDownList ||
                            record.controlClass == ControlClass::TabControl;
  if (kind == K::State && hasSelection) return record.integers[1];
  const auto index = ItemIndex(static_cast<std::int32_t>(kind));
  if (!index || record.controlClass != ControlClass::ListBox) {
    if (index && record.controlClass == ControlClass::TabControl) {
      const auto slot = ItemIntegerSlot(record, *index);
      if (slot) return record.integers[*slot];
    }
    return std::nullopt;
  }
  // A list box answers 0 for a selection number beyond its items.
  const auto slot = ItemIntegerSlot(record, *index);
  return slot ? record.integers[*slot] : 0;
}

std::optional<std::int32_t> FetchInteger(const ControlRecord& record, K kind) {
  if (record.controlClass == ControlClass::EditBox &&
      (kind == K::Default || kind == K::TextLength)) {
    return record.integers[0];
  }
  if (record.controlClass == ControlClass::ActiveX &&
      (kind == K::Default || kind == K::ObjectHandle)) {
    return record.integers[0];
  }
  if (IsListClass(record.controlClass)) return ListInteger(record, kind);
  const auto slot = PlainIntegerSlot(record.controlClass, kind);
  if (!slot) return std::nullopt;
  return record.integers[*slot];
}

}  // namespace

Logical SetControlInteger(DialogForm& form, std::int32_t controlId, std::int32_t value,
                          ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  const bool stored = StoreInteger(*record, value, kind);
  FinishSet(form, *record);
  return stored ? kTrue : kFalse;
}

Logical GetControlInteger(DialogForm& form, std::int32_t controlId, std::int32_t& value,
                          ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  const auto fetched = FetchInteger(*record, kind);
  if (!fetched) return kFalse;
  value = *fetched;
  return kTrue;
}

}  // namespace quorvane::dialog
