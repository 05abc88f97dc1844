#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::cli {

// Exit codes of quorvane-eos.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitBadInput = 2;
// A single point whose inputs give a value that is infinite or not a number,
// or no number for the pressure.
inline constexpr int kExitNoStatePoint = 3;

// The whole program; "fit" as the first argument runs RunFitCommand. Reads the arguments (without
// the program name) and the CSV from a file or from in, writes the table to out. Bad input gives
// one line on err, nothing on out, and kExitBadInput; so does a single point that is no state
// point, with kExitNoStatePoint. Rows that are not state points are flagged in the converged column
// and counted on err, by kind.
int RunEosCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err);

}  // namespace quorvane::cli
