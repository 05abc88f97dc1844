#pragma once

#include <string>
#include <vector>

namespace quorvane::web {

// What a fit gives a page: the command line's JSON and text reports and its
// parameter file, or the one line the command line would have written on
// its error stream (without the program's name).
struct PageFit {
  bool ok = false;
  std::string json;
  std::string text;
  std::string parameterFile;
  std::string error;
};

// The fit `quorvane-eos fit` makes of the data file's text with these
// options (the command line's own, without DATA and --format), the points
// whose indices are in excluded left out. source names the data in reports
// and messages, as DATA does on the command line. A converged fit is
// remembered for its figures (web/page_figures.h).
PageFit FitDataText(const std::string& dataText, const std::string& source,
                    const std::vector<std::string>& options, const std::vector<int>& excluded);

// The points the fit reads from the data file's text, as JSON:
// {"columns": [...], "points": [[line, P, V, T, sigP, sigV, sigT], ...],
// "error": null}, or no points and the reader's message naming the line.
// With --axis, V and sigV are the axis' length and sigma as the file gives
// them, not their cube. Whether or not the points could be read, "columns"
// names every column of the file's header (without its unit) and "edges"
// those that can be a cell edge.
std::string DataPointsJson(const std::string& dataText, const std::string& source,
                           const std::vector<std::string>& options);

}  // namespace quorvane::web
