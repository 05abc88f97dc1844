#include "calculator/working_point_handlers.h"

#include "calculator/control_ids.h"
#include "calculator/field_reading.h"
#include "engine/process_state.h"
#include "engine/state_point.h"
#include "numtext/show_field_number.h"

namespace quorvane::calculator {
namespace {

using engine::TheEosParameters;
using engine::TheWorkingPoint;

void Show(dialog::DialogForm& form, std::int32_t controlId, double value) {
  numtext::ShowFieldNumber(form, controlId, value, TheEosParameters().precision);
}

// Reads a quantity that must be positive; a NaN is not positive either.
bool ReadPositive(dialog::DialogForm& form, std::int32_t controlId, double& value) {
  return ReadField(form, controlId, value) && value > 0.0;
}

// Pressure and temperature held: only the volume side is written.
void ShowPressurePath(dialog::DialogForm& form, double T) {
  auto& point = TheWorkingPoint();
  if (!ReadField(form, kPressureField, point.P)) return;
  const engine::WorkingPoint state = engine::StateFromPressure(TheEosParameters(), point.P, T);
  point.V = state.V;
  point.VoverV00 = state.VoverV00;
  point.VT0 = state.VT0;
  point.VoverVT0 = state.VoverVT0;
  Show(form, kVolumeField, point.V);
  Show(form, kVolumeRatioField, point.VoverV00);
  Show(form, kZeroPressureVolumeField, point.VT0);
  Show(form, kThermalVolumeRatioField, point.VoverVT0);
}

}  // namespace

void OnWorkingPointChanged(dialog::DialogForm& form, std::int32_t controlId,
                           dialog::EventKind /*eventKind*/) {
  auto& point = TheWorkingPoint();
  // An unreadable temperature falls back to the last one known.
  ReadField(form, kTemperatureField, point.T);
  switch (controlId) {
    case kPressureField:
      ShowPressurePath(form, point.T);
      return;
    case kVolumeField:
      if (!ReadPositive(form, kVolumeField, point.V)) return;
      ShowStatePoint(form, point.V, point.T);
      return;
    case kVolumeRatioField:
      if (!ReadPositive(form, kVolumeRatioField, point.VoverV00)) return;
      ShowStatePoint(form, point.VoverV00 * TheEosParameters().V0, point.T);
      return;
    case kZeroPressureVolumeField:
      if (!ReadPositive(form, kZeroPressureVolumeField, point.VT0)) return;
      point.T = engine::TemperatureFromZeroPressureVolume(point.VT0);
      if (!ReadPositive(form, kVolumeField, point.V)) return;
      ShowStatePoint(form, point.V, point.T);
      return;
    case kTemperatureField:
      if (!ReadPositive(form, kVolumeField, point.V)) return;
      ShowStatePoint(form, point.V, point.T);
      return;
    case kThermalVolumeRatioField:
      if (!ReadPositive(form, kThermalVolumeRatioField, point.VoverVT0)) return;
      ShowStatePoint(form, engine::ZeroPressureVolume(point.T) * point.VoverVT0, point.T);
      return;
    default:
      return;
  }
}

void ShowStatePoint(dialog::DialogForm& form, double V, double T) {
  auto& point = TheWorkingPoint();
  point = engine::StateFromVolume(TheEosParameters(), V, T);
  Show(form, kPressureField, point.P);
  Show(form, kTemperatureField, point.T);
  Show(form, kVolumeField, point.V);
  Show(form, kVolumeRatioField, point.VoverV00);
  Show(form, kZeroPressureVolumeField, point.VT0);
  Show(form, kThermalVolumeRatioField, point.VoverVT0);
}

}  // namespace quorvane::calculator
