#pragma once

#include <string>

namespace quorvane::web {

// One state point of a parameter file (the fit's --params-out) in either
// direction, as `quorvane-eos eos --params FILE --P x --T y --properties
// --format json` gives it: known is "P" (V follows, with sigV) or "V" (P
// follows, with sigP), the sigmas from the file's covariance. molarMass
// (g/mol) adds rho and Vphi, 0 leaving them out; natoms is the text of
// --natoms, taken and refused as the command line does ("" for none). The
// JSON:
//   {"row": {"P": .., "T": .., "V": .., ..., "KT": .., "sig_KT": ..,
//            "converged": true},
//    "units": {"P": "GPa", ...}, "warning": "" or a line, "error": null}
// or {"error": "message"} where the inputs determine no state point.
std::string StatePointJson(const std::string& parameterFileText, const std::string& known,
                           double value, double T, double molarMass, const std::string& natoms);

}  // namespace quorvane::web
