#pragma once

#include <string>

#include "app/command_line.h"
#include "app/eos_request.h"
#include "models/model.h"

namespace quorvane::cli {

// The whole request the options describe, the CSV rows not yet read. Throws
// InputError naming the argument for any bad or conflicting option.
app::EosRequest RequestFromOptions(const app::TypedOptions& options);

// The column and option names of the quantities.
const char* ColumnName(app::KnownQuantity quantity);
const char* OptionName(app::KnownQuantity quantity);

// Whether the model is the calculator's own, which alone the form's search
// and a temperature from V(T,0) compute.
bool ComputesAsTheForm(const models::Model& model);

// Throws InputError, naming where V(T,0) was given, unless it gives the
// model's temperature.
void CheckTemperatureFollows(const models::Model& model, const std::string& where);

// Volumes and ratios must be positive, as on the form.
bool MustBePositive(app::KnownQuantity quantity);

}  // namespace quorvane::cli
