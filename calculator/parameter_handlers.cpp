#include "calculator/parameter_handlers.h"

#include <cmath>

#include "calculator/control_ids.h"
#include "calculator/field_reading.h"
#include "calculator/selection_handlers.h"
#include "calculator/working_point_handlers.h"
#include "engine/process_state.h"

namespace quorvane::calculator {
namespace {

using engine::kParameterFloor;

// A NaN passes the floors unchanged: the comparisons are false for it.
void ReadWithFloor(dialog::DialogForm& form, std::int32_t controlId, double& parameter) {
  double value = parameter;
  if (!ReadField(form, controlId, value)) return;
  parameter = value < kParameterFloor ? kParameterFloor : value;
}

// K'0 divides in the Murnaghan formulas, so its magnitude has the floor.
void ReadWithMagnitudeFloor(dialog::DialogForm& form, std::int32_t controlId, double& parameter) {
  double value = parameter;
  if (!ReadField(form, controlId, value)) return;
  parameter = std::fabs(value) < kParameterFloor ? kParameterFloor : value;
}

}  // namespace

void OnParameterChanged(dialog::DialogForm& form, std::int32_t /*controlId*/,
                        dialog::EventKind /*eventKind*/) {
  auto& parameters = engine::TheEosParameters();
  ReadWithFloor(form, kV0Field, parameters.V0);
  ReadWithFloor(form, kK0Field, parameters.K0);
  ReadWithMagnitudeFloor(form, kKp0Field, parameters.Kp0);
  ReadField(form, kKpp0Field, parameters.Kpp0);
  ReadField(form, kAlpha0Field, parameters.alpha0);
  ReadField(form, kAlpha1Field, parameters.alpha1);
  ReadField(form, kDKdTField, parameters.dKdT);
  ReadField(form, kTrefField, parameters.Tref);
  engine::UpdateImpliedCoefficients();
  RefreshImpliedFields(form);
  OnWorkingPointChanged(form, kVolumeField, dialog::EventKind::Changed);
}

}  // namespace quorvane::calculator
