#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::cli {

// `quorvane-eos fit`: the arguments after "fit". Bad input (options, data,
// a fit that cannot be made, an output that may not be replaced: not a
// regular file, read-only, or the data file itself) gives one line on err
// and kExitBadInput, and no file is written; a fit that does not converge,
// or a file that cannot be written, gives one line and kExitWriteFailed.
// Either way nothing is written to out, and no file is left half-written.
int RunFitCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err);

}  // namespace quorvane::cli
