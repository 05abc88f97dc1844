#include "dialog/form_access.h"

#include "dialog/form_window.h"
#include "dialog/modal_run.h"

namespace quorvane::dialog {

ControlRecord* FindControl(DialogForm& form, std::int32_t controlId) {
  for (ControlRecord& record : form.controls) {
    if (record.id == controlId) return &record;
  }
  return nullptr;
}

ControlRecord* FindUsableControl(DialogForm& form, std::int32_t controlId) {
  ControlRecord* record = FindControl(form, controlId);
  if (record == nullptr || IsTrue(record->duplicate)) return nullptr;
  return record;
}

void RefreshBeforeAccess(DialogForm& form, ControlRecord& record) {
  if (IsShown(form) && !IsTrue(record.changed)) ReadRecordBack(form, record);
}

void FinishSet(DialogForm& form, ControlRecord& record) {
  form.formChanged = kTrue;
  record.changed = kTrue;
  if (IsShown(form) && DispatchingForm() != &form) WriteChangedRecords(form);
}

std::string TrimTrailingBlanks(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

}  // namespace quorvane::dialog
