#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eos_parameters.h"
#include "fit/refined_parameter.h"

namespace quorvane::fit {

// A parameter file that cannot be used. The message names the file.
class ParameterFileError : public std::runtime_error {
 public:
  explicit ParameterFileError(const std::string& message) : std::runtime_error(message) {}
};

struct Provenance {
  std::string program;
  std::string data;
  double chi2w = 0.0;
  int dof = 0;
  bool converged = true;
};

// A parameter set with what a fit knows about it. Every number survives a
// write and read bit for bit.
struct ParameterFile {
  engine::EosParameters parameters;
  std::vector<RefinedParameter> refined;
  // Rows in the order of refined; empty when the file holds none.
  std::vector<std::vector<double>> covariance;
  // True: the covariance is scaled by the reduced chi^2 ("chi2"); false: "none".
  bool covarianceScaled = true;
  bool hasProvenance = false;
  Provenance provenance;
};

inline constexpr const char* kParameterFileFormat = "quorvane-eos-parameters";
inline constexpr int kParameterFileVersion = 1;

std::string WriteParameterFile(const ParameterFile& file);

// Reads a parameter file's text; source names it in errors. Unknown keys are
// ignored. Refused: a wrong format or a version above 1, an unknown equation,
// an order the equation is not offered at, a missing or non-finite parameter,
// V0, K0 or |K'0| below the calculator's floor, an unknown or repeated refined
// name, or a covariance whose size does not match the refined list. The
// implied K'0 and K''0 are applied as the calculator applies them.
ParameterFile ReadParameterFile(std::string_view text, const std::string& source);

}  // namespace quorvane::fit
