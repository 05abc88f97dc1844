#include "calculator/precision_handler.h"

#include <algorithm>

#include "calculator/control_ids.h"
#include "calculator/field_reading.h"
#include "calculator/working_point_handlers.h"
#include "engine/process_state.h"

namespace quorvane::calculator {

std::int32_t WidthFromPrecisionReading(float reading) {
  // Decide on the float itself: converting 1e30 or -1e30 to an integer first
  // would be undefined. Anything that truncates to 0 or less is the narrowest.
  if (reading > static_cast<float>(kWidestWidth)) return kWidestWidth;
  if (!(reading >= 1.0f)) return kNarrowestWidth;
  return static_cast<std::int32_t>(reading);
}

void OnPrecisionChanged(dialog::DialogForm& form, std::int32_t /*controlId*/,
                        dialog::EventKind /*eventKind*/) {
  auto& parameters = engine::TheEosParameters();
  float reading = 0.0f;
  if (ReadField(form, kPrecisionField, reading)) {
    parameters.precision = WidthFromPrecisionReading(reading);
  }
  parameters.precision = std::clamp(parameters.precision, kNarrowestWidth, kWidestWidth);
  OnWorkingPointChanged(form, kVolumeField, dialog::EventKind::Changed);
}

}  // namespace quorvane::calculator
