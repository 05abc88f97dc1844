#pragma once

#include <string>

#include "app/eos_request.h"

namespace quorvane::app {

// --natoms once the model is known, from its options or a parameter file:
// the atoms per formula unit an einstein model's heat capacity needs. That
// model's pressure holds no atom count, so none of its parameter files has
// one; the count is an input of its properties, as the molar mass is, and is
// taken with a file as without. The mgd model's count is its parameter
// natoms, given with the other parameters; other models have none. The
// command line and the page both read the count here. Throws InputError.
void ReadAtomCount(const std::string& text, EosRequest& request);

}  // namespace quorvane::app
