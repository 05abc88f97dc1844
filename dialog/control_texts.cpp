#include <algorithm>
#include <cstring>

#include "dialog/control_values.h"
#include "dialog/form_access.h"
#include "dialog/item_lists.h"

namespace quorvane::dialog {
namespace {

using K = ValueKind;

bool IsCaptionClass(ControlClass controlClass) {
  return controlClass == ControlClass::StaticText || controlClass == ControlClass::GroupBox ||
         controlClass == ControlClass::PushButton || controlClass == ControlClass::CheckBox ||
         controlClass == ControlClass::RadioButton;
}

bool IsCurrentText(K kind) {
  return kind == K::Default || kind == K::State;
}

std::string* ItemText(ControlRecord& record, std::int32_t kind) {
  const auto index = ItemIndex(kind);
  if (!index || *index > static_cast<std::int32_t>(record.itemTexts.size())) return nullptr;
  return &record.itemTexts[static_cast<std::size_t>(*index) - 1];
}

bool StoreListText(ControlRecord& record, std::string text, K kind) {
  const bool listBox = record.controlClass == ControlClass::ListBox;
  const bool tab = record.controlClass == ControlClass::TabControl;
  if (kind == K::AddItem && !tab) return AppendItem(record, std::move(text));
  if (IsCurrentText(kind) && !listBox) {
    record.text = std::move(text);
    record.hasText = true;
    // The window selects the item that carries this text when it is next written.
    if (record.logicals.size() > 1) record.logicals[1] = kTrue;
    return true;
  }
  std::string* item = ItemText(record, static_cast<std::int32_t>(kind));
  if (item == nullptr) return false;
  *item = std::move(text);
  return true;
}

bool StoreText(ControlRecord& record, std::string text, K kind) {
  if (IsCaptionClass(record.controlClass)) {
    if (kind != K::Default && kind != K::Title) return false;
    record.text = std::move(text);
    record.hasText = true;
    return true;
  }
  if (record.controlClass == ControlClass::EditBox) {
    if (!IsCurrentText(kind) || text.size() > static_cast<std::size_t>(kMaxTextLength)) {
      return false;
    }
    const auto length = static_cast<std::int32_t>(text.size());
    record.text = std::move(text);
    record.hasText = true;
    record.integers[0] = length;
    if (length < record.integers[1]) record.integers[1] = length;
    return true;
  }
  if (IsListClass(record.controlClass)) return StoreListText(record, std::move(text), kind);
  return false;
}

const std::string* SelectedListBoxItem(ControlRecord& record) {
  return ItemText(record, record.integers[1]);
}

const std::string* FetchText(ControlRecord& record, K kind) {
  static const std::string kEmpty;
  if (IsCaptionClass(record.controlClass)) {
    return kind == K::Default || kind == K::Title ? &record.text : nullptr;
  }
  if (record.controlClass == ControlClass::EditBox) {
    return IsCurrentText(kind) ? &record.text : nullptr;
  }
  if (!IsListClass(record.controlClass)) return nullptr;
  if (IsCurrentText(kind)) {
    if (record.controlClass != ControlClass::ListBox) return &record.text;
    const std::string* selected = SelectedListBoxItem(record);
    return selected != nullptr ? selected : &kEmpty;
  }
  return ItemText(record, static_cast<std::int32_t>(kind));
}

}  // namespace

Logical SetControlText(DialogForm& form, std::int32_t controlId, std::string_view text,
                       ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  const bool stored = StoreText(*record, TrimTrailingBlanks(text), kind);
  FinishSet(form, *record);
  return stored ? kTrue : kFalse;
}

Logical GetControlText(DialogForm& form, std::int32_t controlId, std::span<char> buffer,
                       ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  const std::string* text = FetchText(*record, kind);
  if (text == nullptr) return kFalse;
  const std::size_t count = std::min(text->size(), buffer.size());
  std::memcpy(buffer.data(), text->data(), count);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(count), buffer.end(), ' ');
  return kTrue;
}

}  // namespace quorvane::dialog
