#pragma once

#include "dialog/dialog_form.h"

// Initial list items from the form's dialog initialisation resource.
namespace quorvane::dialog {

// Each entry of the form's RT_DLGINIT resource that adds a string to a list
// becomes an AddItem of its text; malformed data ends the reading quietly.
void LoadInitialItems(DialogForm& form);

}  // namespace quorvane::dialog
