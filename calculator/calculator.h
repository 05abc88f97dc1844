#pragma once

#include "dialog/dialog_form.h"

// The calculator's main routine and its start-up display.
namespace quorvane::calculator {

// Loads form 101, binds the handlers, shows the start-up values, runs the form
// until Exit and releases it. Writes "Error: dialog not found" to standard
// output when the form cannot be loaded.
void RunCalculator();

// The start-up parameters and the first display of a loaded form.
void InitCalculatorForm(dialog::DialogForm& form);

// The one calculator form of the process.
dialog::DialogForm& TheCalculatorForm();

}  // namespace quorvane::calculator
