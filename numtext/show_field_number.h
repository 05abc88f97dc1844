#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

namespace quorvane::numtext {

// Sets the text of control controlId to x as FormatFieldNumber writes it at width n.
void ShowFieldNumber(dialog::DialogForm& form, std::int32_t controlId, double x, int n);

}  // namespace quorvane::numtext
