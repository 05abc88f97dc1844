#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// The equation-of-state type and order radios, and the greying that follows
// from them.
namespace quorvane::calculator {

// A checked type radio sets the type, limits the order and refreshes.
void OnTypeClicked(dialog::DialogForm& form, std::int32_t controlId, dialog::EventKind eventKind);

// A checked order radio sets the order; every click refreshes.
void OnOrderClicked(dialog::DialogForm& form, std::int32_t controlId, dialog::EventKind eventKind);

// Greys K'o and K''o where the order implies them and shows the implied values
// at width 7; the note "Implied values in gray" is greyed where nothing is
// implied (order 4).
void RefreshImpliedFields(dialog::DialogForm& form);

// Offers the orders the type allows, forcing the order where it must, and
// checks the radio of the current order.
void RefreshOrderChoices(dialog::DialogForm& form);

}  // namespace quorvane::calculator
