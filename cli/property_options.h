#pragma once

#include "app/command_line.h"
#include "app/eos_request.h"

namespace quorvane::cli {

// --isobar P and --isochore V are the isotherms' grid turned round: the one
// pressure or volume held over the --T range. Returns the options with them
// written as --P and --V, and --natoms set aside for --properties where the
// model may be an einstein one (its options name it, or it comes from
// --params); throws InputError where the quantity is given twice.
app::TypedOptions WithPathsAsGrid(const app::TypedOptions& options);

// --properties, --molar-mass and --isentrope, once the model and the grid
// are read. The isentrope's temperatures are computed here, so that a model
// without one is refused before anything is written.
void ReadPropertyOptions(const app::TypedOptions& options, app::EosRequest& request);

}  // namespace quorvane::cli
