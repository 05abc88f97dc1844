#pragma once

#include "dialog/dialog_form.h"

// Moving values between the control records and the shown window.
namespace quorvane::dialog {

// Writes the records marked changed (or all of them when forced) in template
// order with the writing flag set; nothing when the form is not shown.
void WriteChangedRecords(DialogForm& form);
void WriteEveryRecord(DialogForm& form);

// Reads one record, or every record, back from its control window.
void ReadRecordBack(DialogForm& form, ControlRecord& record);
void ReadEveryRecordBack(DialogForm& form);

}  // namespace quorvane::dialog
