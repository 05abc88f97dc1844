#include "calculator/selection_handlers.h"

#include "calculator/control_ids.h"
#include "calculator/working_point_handlers.h"
#include "dialog/control_values.h"
#include "engine/process_state.h"
#include "numtext/show_field_number.h"

namespace quorvane::calculator {
namespace {

using dialog::kFalse;
using dialog::kTrue;
using engine::EosType;

// Implied K'0 and K''0 are always shown this wide, whatever the display width.
constexpr int kImpliedWidth = 7;

dialog::Logical AsLogical(bool value) {
  return value ? kTrue : kFalse;
}

void Enable(dialog::DialogForm& form, std::int32_t controlId, bool enabled) {
  dialog::SetControlLogical(form, controlId, AsLogical(enabled), dialog::ValueKind::Enabled);
}

void Check(dialog::DialogForm& form, std::int32_t controlId) {
  dialog::SetControlLogical(form, controlId, kTrue);
}

bool IsChecked(dialog::DialogForm& form, std::int32_t controlId) {
  dialog::Logical checked = kFalse;
  dialog::GetControlLogical(form, controlId, checked);
  return dialog::IsTrue(checked);
}

void RefreshAll(dialog::DialogForm& form) {
  engine::UpdateImpliedCoefficients();
  RefreshImpliedFields(form);
  OnWorkingPointChanged(form, kVolumeField, dialog::EventKind::Changed);
}

}  // namespace

void OnTypeClicked(dialog::DialogForm& form, std::int32_t controlId,
                   dialog::EventKind /*eventKind*/) {
  if (!IsChecked(form, controlId)) return;
  auto& parameters = engine::TheEosParameters();
  switch (controlId) {
    case kMurnaghanRadio:
      parameters.type = EosType::Murnaghan;
      break;
    case kBirchMurnaghanRadio:
      parameters.type = EosType::BirchMurnaghan;
      break;
    case kVinetRadio:
      parameters.type = EosType::Vinet;
      break;
    case kNaturalStrainRadio:
      parameters.type = EosType::NaturalStrain;
      break;
    default:
      break;
  }
  RefreshOrderChoices(form);
  RefreshAll(form);
}

void OnOrderClicked(dialog::DialogForm& form, std::int32_t controlId,
                    dialog::EventKind /*eventKind*/) {
  auto& parameters = engine::TheEosParameters();
  if (IsChecked(form, controlId)) {
    switch (controlId) {
      case kOrder2Radio:
        parameters.order = 2;
        break;
      case kOrder3Radio:
        parameters.order = 3;
        break;
      case kOrder4Radio:
        parameters.order = 4;
        break;
      default:
        break;
    }
  }
  RefreshAll(form);
}

void RefreshImpliedFields(dialog::DialogForm& form) {
  const auto& parameters = engine::TheEosParameters();
  const engine::EosOrder order = parameters.order;
  Enable(form, kKp0Field, order != 2);
  Enable(form, kKpp0Field, order != 2 && order != 3);
  if (order == 2) numtext::ShowFieldNumber(form, kKp0Field, parameters.Kp0, kImpliedWidth);
  if (order < 4) numtext::ShowFieldNumber(form, kKpp0Field, parameters.Kpp0, kImpliedWidth);
  Enable(form, kImpliedNote, order < 4);
}

void RefreshOrderChoices(dialog::DialogForm& form) {
  auto& parameters = engine::TheEosParameters();
  switch (parameters.type) {
    case EosType::Murnaghan:
      parameters.order = 3;
      Enable(form, kOrder2Radio, false);
      Enable(form, kOrder3Radio, true);
      Check(form, kOrder3Radio);
      Enable(form, kOrder4Radio, false);
      break;
    case EosType::Vinet:
      if (parameters.order > 3) {
        parameters.order = 3;
        Check(form, kOrder3Radio);
      }
      Enable(form, kOrder2Radio, true);
      Enable(form, kOrder3Radio, true);
      Enable(form, kOrder4Radio, false);
      break;
    default:
      Enable(form, kOrder2Radio, true);
      Enable(form, kOrder3Radio, true);
      Enable(form, kOrder4Radio, true);
      break;
  }
  if (parameters.order == 2) Check(form, kOrder2Radio);
  if (parameters.order == 3) Check(form, kOrder3Radio);
  if (parameters.order == 4) Check(form, kOrder4Radio);
}

}  // namespace quorvane::calculator
