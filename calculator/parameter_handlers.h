#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// The eight parameter fields: Vo, Ko, K'o, K''o, alpha0, alpha1, dK/dT, T(ref).
namespace quorvane::calculator {

// Reads all eight parameter fields, whichever changed, then brings the implied
// coefficients and the display up to date at the volume and temperature shown.
void OnParameterChanged(dialog::DialogForm& form, std::int32_t controlId,
                        dialog::EventKind eventKind);

}  // namespace quorvane::calculator
