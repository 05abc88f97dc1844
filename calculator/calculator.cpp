#include "calculator/calculator.h"

#include <iostream>

#include "calculator/control_ids.h"
#include "calculator/parameter_handlers.h"
#include "calculator/precision_handler.h"
#include "calculator/selection_handlers.h"
#include "calculator/working_point_handlers.h"
#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "engine/process_state.h"
#include "numtext/show_field_number.h"

namespace quorvane::calculator {
namespace {

using dialog::SetControlHandler;

// Parameter fields are written once, at start-up, this wide.
constexpr int kParameterWidth = 6;

// The spin steps the display width through 2..8.
constexpr std::int32_t kSpinLowest = 2;
constexpr std::int32_t kSpinHighest = 8;

// The start-up display width and the pressure shown before any entry.
constexpr std::int32_t kStartUpPrecision = 7;
constexpr const char* kStartUpPressure = "0.0";

void BindHandlers(dialog::DialogForm& form) {
  for (std::int32_t id : {kMurnaghanRadio, kBirchMurnaghanRadio, kVinetRadio, kNaturalStrainRadio})
    SetControlHandler(form, id, OnTypeClicked);
  for (std::int32_t id : {kOrder2Radio, kOrder3Radio, kOrder4Radio})
    SetControlHandler(form, id, OnOrderClicked);
  for (std::int32_t id : {kV0Field, kK0Field, kKp0Field, kKpp0Field, kAlpha0Field, kAlpha1Field,
                          kDKdTField, kTrefField})
    SetControlHandler(form, id, OnParameterChanged);
  for (std::int32_t id : {kPressureField, kVolumeField, kVolumeRatioField, kZeroPressureVolumeField,
                          kThermalVolumeRatioField, kTemperatureField})
    SetControlHandler(form, id, OnWorkingPointChanged);
}

}  // namespace

dialog::DialogForm& TheCalculatorForm() {
  static dialog::DialogForm form;
  return form;
}

void RunCalculator() {
  dialog::DialogForm& form = TheCalculatorForm();
  if (!dialog::IsTrue(dialog::LoadForm(form, kCalculatorFormId))) {
    std::cout << "Error: dialog not found" << std::endl;
    return;
  }
  BindHandlers(form);
  dialog::SetControlInteger(form, kPrecisionSpin, kSpinLowest, dialog::ValueKind::RangeMin);
  dialog::SetControlInteger(form, kPrecisionSpin, kSpinHighest, dialog::ValueKind::RangeMax);
  SetControlHandler(form, kPrecisionField, OnPrecisionChanged);
  InitCalculatorForm(form);
  dialog::RunFormModal(form);
  dialog::ReleaseForm(form);
}

void InitCalculatorForm(dialog::DialogForm& form) {
  auto& parameters = engine::TheEosParameters();
  parameters.Tref = 298.0;
  parameters.V0 = 10.0;
  parameters.K0 = 100.0;
  parameters.Kp0 = 4.0;
  parameters.alpha0 = 2.0;
  parameters.alpha1 = 0.0;
  parameters.dKdT = -0.019999999552965164;  // -0.02 held in single precision

  numtext::ShowFieldNumber(form, kV0Field, parameters.V0, kParameterWidth);
  numtext::ShowFieldNumber(form, kK0Field, parameters.K0, kParameterWidth);
  numtext::ShowFieldNumber(form, kKp0Field, parameters.Kp0, kParameterWidth);
  numtext::ShowFieldNumber(form, kAlpha0Field, parameters.alpha0, kParameterWidth);
  numtext::ShowFieldNumber(form, kAlpha1Field, parameters.alpha1, kParameterWidth);
  numtext::ShowFieldNumber(form, kDKdTField, parameters.dKdT, kParameterWidth);

  parameters.type = engine::EosType::BirchMurnaghan;
  parameters.order = 3;
  dialog::SetControlLogical(form, kBirchMurnaghanRadio, dialog::kTrue);

  parameters.precision = kStartUpPrecision;
  dialog::SetControlInteger(form, kPrecisionSpin, parameters.precision,
                            dialog::ValueKind::Position);

  engine::UpdateImpliedCoefficients();
  RefreshOrderChoices(form);
  RefreshImpliedFields(form);

  dialog::SetControlText(form, kPressureField, kStartUpPressure);
  numtext::ShowFieldNumber(form, kTrefField, parameters.Tref, parameters.precision);
  numtext::ShowFieldNumber(form, kTemperatureField, parameters.Tref, parameters.precision);
  OnWorkingPointChanged(form, kPressureField, dialog::EventKind::Changed);
}

}  // namespace quorvane::calculator
