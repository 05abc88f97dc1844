#include "dialog/control_values.h"
#include "dialog/form_access.h"

namespace quorvane::dialog {
namespace {

using K = ValueKind;

bool HasState(ControlClass controlClass) {
  return controlClass == ControlClass::CheckBox || controlClass == ControlClass::RadioButton;
}

ControlRecord* RadioAt(DialogForm& form, std::int32_t recordNumber) {
  if (recordNumber < 1 || static_cast<std::size_t>(recordNumber) > form.controls.size()) {
    return nullptr;
  }
  ControlRecord& record = form.controls[static_cast<std::size_t>(recordNumber) - 1];
  return record.controlClass == ControlClass::RadioButton ? &record : nullptr;
}

// Clears the whole group, then checks this button, or the group's first one
// when the value is false.
void SetRadioState(DialogForm& form, ControlRecord& record, Logical value) {
  std::int32_t first = record.integers[0];
  std::int32_t last = record.integers[1];
  if (RadioAt(form, first) == nullptr || last < first) first = last = 0;
  for (std::int32_t k = first; k <= last && k != 0; ++k) {
    ControlRecord* member = RadioAt(form, k);
    if (member == nullptr) continue;
    member->logicals[1] = kFalse;
    member->changed = kTrue;
  }
  ControlRecord* checked = IsTrue(value) ? &record : RadioAt(form, first);
  if (checked == nullptr) checked = &record;
  checked->logicals[1] = kTrue;
  checked->changed = kTrue;
}

bool StoreLogical(DialogForm& form, ControlRecord& record, Logical value, K kind) {
  if (kind == K::Enabled || (kind == K::Default && !HasState(record.controlClass))) {
    record.logicals[0] = value;
    return true;
  }
  if (!HasState(record.controlClass) || (kind != K::Default && kind != K::State)) return false;
  if (record.controlClass == ControlClass::RadioButton) {
    SetRadioState(form, record, value);
  } else {
    record.logicals[1] = value;
  }
  return true;
}

}  // namespace

Logical SetControlLogical(DialogForm& form, std::int32_t controlId, Logical value, ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  const bool stored = StoreLogical(form, *record, value, kind);
  FinishSet(form, *record);
  return stored ? kTrue : kFalse;
}

Logical GetControlLogical(DialogForm& form, std::int32_t controlId, Logical& value,
                          ValueKind kind) {
  ControlRecord* record = FindUsableControl(form, controlId);
  if (record == nullptr) return kFalse;
  RefreshBeforeAccess(form, *record);
  if (kind == K::Enabled || (kind == K::Default && !HasState(record->controlClass))) {
    value = record->logicals[0];
    return kTrue;
  }
  if (!HasState(record->controlClass) || (kind != K::Default && kind != K::State)) return kFalse;
  value = record->logicals[1];
  return kTrue;
}

}  // namespace quorvane::dialog
