#pragma once

#include <istream>
#include <string>

#include "fit/fit_data.h"

namespace quorvane::cli {

// Reads measured points for a fit: columns P and V, optionally T, sigP, sigV
// and sigT, with the data reader's tolerances. Rows without a T column take
// Tref. Throws InputError naming the source, line and column of a volume that
// is not positive or a standard deviation that is not.
fit::FitData ReadFitData(std::istream& in, const std::string& source, double Tref);

}  // namespace quorvane::cli
