#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::cli {

// Whether the first argument names one of the pressure-scale commands:
// "scales" (the list), "pressure" (P from a calibrant), "rescale" (a data
// set's pressures moved to another scale) or "cell" (a calibrant's cell and
// d-spacings at P and T).
bool IsScaleCommand(const std::vector<std::string>& arguments);

// Runs that command; the arguments start with its name. Exit codes as
// RunEosCommand's: bad input gives one line on err, nothing on out, and 2.
int RunScaleCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                    std::ostream& err);

int RunScalesList(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
int RunPressureCommand(const std::vector<std::string>& arguments, std::istream& in,
                       std::ostream& out, std::ostream& err);
int RunCellCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err);
int RunRescaleCommand(const std::vector<std::string>& arguments, std::istream& in,
                      std::ostream& out, std::ostream& err);

}  // namespace quorvane::cli
