#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// The six working-point fields: Pressure, Volume, V/V(0,0), V(T,0),
// Temperature and V/V(T,0). The fields are the memory of the state point:
// whatever a path holds fixed is read back from its field as displayed.
namespace quorvane::calculator {

// Derives the state point from the field controlId names and writes it back.
// The event kind is not looked at.
void OnWorkingPointChanged(dialog::DialogForm& form, std::int32_t controlId,
                           dialog::EventKind eventKind);

// Recomputes the state point from V and T and writes all six fields.
void ShowStatePoint(dialog::DialogForm& form, double V, double T);

}  // namespace quorvane::calculator
