#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

namespace quorvane::calculator {

// Reads one number from the text of a field. True when a number was read into
// value; otherwise value is left as it was (blank, not a number, or a null
// value that stores nothing).
bool ReadField(dialog::DialogForm& form, std::int32_t controlId, double& value);
bool ReadField(dialog::DialogForm& form, std::int32_t controlId, float& value);

}  // namespace quorvane::calculator
