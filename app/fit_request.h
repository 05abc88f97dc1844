#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/fit_ellipses.h"
#include "fit/eos_fit.h"

namespace quorvane::app {

enum class FitFormat { Text, Json };

// Everything `quorvane-eos fit` is asked to do, checked and converted.
struct FitCommandRequest {
  fit::FitRequest fit;
  // The data file, "-" for standard input.
  std::string dataPath;
  // The column of a crystal axis fitted in place of V (its cube); empty: V.
  std::string axis;
  FitFormat format = FitFormat::Text;
  std::optional<std::string> paramsOut;
  std::optional<std::string> plotPrefix;
  std::vector<EllipseAsk> ellipses;
  bool help = false;
  std::string helpText;
};

// Reads the arguments after "fit". Throws InputError for an unknown option,
// a bad value, an unknown or implied parameter in --refine, or a missing
// data file.
FitCommandRequest FitRequestFromArguments(const std::vector<std::string>& arguments);

}  // namespace quorvane::app
