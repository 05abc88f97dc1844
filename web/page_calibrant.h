#pragma once

#include <string>

namespace quorvane::web {

// The scales the page offers, the shipped volume scales and the
// fluorescence gauges, as JSON: [{"name", "material", "kind": "volume" or
// "fluorescence", "citation", "range", "readings": ["Vcal", "acal"]}, ...].
std::string ScaleListJson();

// The pressures a data file's calibrant column gives on a scale, as
// `quorvane-eos pressure --input FILE --scale NAME --column COLUMN` gives
// them, and the data with them as its P and sigP, for the fit:
//   {"column": "Vcal", "rows": [[line, P, sigP, sigPscale, in_range], ...],
//    "default_T": the scale's temperature for rows without T (null where
//    the file has T), "warning": "" or a line, "data": the data's text,
//    "error": null}
// or {"error": "message"}. column: Vcal, acal or lambda; empty for the one
// the data holds. The data's text keeps every row on its line, so the
// fit's messages and figures name the lines of the file as it was opened;
// it holds the columns the fit reads: P, V and, where there are any, sigP,
// sigV, T and sigT.
std::string CalibrantPressuresJson(const std::string& dataText, const std::string& source,
                                   const std::string& scaleName, const std::string& column);

}  // namespace quorvane::web
