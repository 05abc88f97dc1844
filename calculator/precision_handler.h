#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"

// The display width: the digits-only precision field, which its spin rewrites.
namespace quorvane::calculator {

// The narrowest and widest display widths.
inline constexpr std::int32_t kNarrowestWidth = 1;
inline constexpr std::int32_t kWidestWidth = 8;

// The width a number read from the precision field stands for: truncated
// toward zero and kept within 1..8, however large or small the number.
std::int32_t WidthFromPrecisionReading(float reading);

// Reads the precision field in single precision and rewrites the working-point
// fields at the new width. Nothing is written back into the field.
void OnPrecisionChanged(dialog::DialogForm& form, std::int32_t controlId,
                        dialog::EventKind eventKind);

}  // namespace quorvane::calculator
