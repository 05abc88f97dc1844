#pragma once

#include <istream>
#include <string>
#include <vector>

#include "fit/fit_data.h"

namespace quorvane::app {

// Reads measured points for a fit: columns P and V, optionally T, sigP, sigV
// and sigT, with the data reader's tolerances. Rows without a T column take
// Tref. A standard deviation may be 0 or empty (none known from that column)
// where another column of the row gives one. Throws InputError naming the
// source, line and column of a volume that is not positive, a negative
// standard deviation, or a row with none where the file gives any. With an
// axis, its column (and sigma from sigAXIS or sig_AXIS) stands for V, cubed.
fit::FitData ReadFitData(std::istream& in, const std::string& source, double Tref,
                         const std::string& axis = {});

// The points ReadFitData reads, checked alike, but an axis' length and sigma
// as the file gives them rather than cubed: what a table of the data shows.
fit::FitData ReadDataAsGiven(std::istream& in, const std::string& source, double Tref,
                             const std::string& axis);

// The columns a fit can take as a cell edge in place of V: all but P, T, V
// and the sigmas, in the file's order.
std::vector<std::string> EdgeColumns(const std::vector<std::string>& columns);

}  // namespace quorvane::app
