#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// Showing a form modally, dispatching its window's notifications to handlers,
// and ending and freeing it.
namespace quorvane::dialog {

// The form's result once its window has closed; -1 when the window could not
// be created. The parent is chosen when none is given.
std::int32_t RunFormModal(DialogForm& form);
std::int32_t RunFormModal(DialogForm& form, WindowHandle parent);

// Ends the run (nothing when the form is not shown).
void CloseForm(DialogForm& form);
void SetFormResult(DialogForm& form, std::int32_t value);
// Frees the records; the form must be loaded again before any other use.
void ReleaseForm(DialogForm& form);

// The form RunFormModal is running and the form whose window procedure is
// executing; null when none.
DialogForm* RunningForm();
DialogForm* DispatchingForm();

}  // namespace quorvane::dialog
