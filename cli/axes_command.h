#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::cli {

// `quorvane-eos axes`: the cell edges at P and T from the parameter files of
// their axial fits, each with its sigma and linear compressibility, and the
// cell volume they and the cell's angles make. The arguments follow "axes";
// exit codes as RunEosCommand's.
int RunAxesCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace quorvane::cli
