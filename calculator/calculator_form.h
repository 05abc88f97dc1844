#pragma once

#include "dialog/dialog_template.h"

namespace quorvane::calculator {

// The calculator form as a template record, 47 controls in template order.
dialog::DialogTemplate CalculatorFormTemplate();

}  // namespace quorvane::calculator
