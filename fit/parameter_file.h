#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eos_parameters.h"
#include "models/model.h"

namespace quorvane::fit {

// A parameter file that cannot be used. The message names the file.
class ParameterFileError : public std::runtime_error {
 public:
  explicit ParameterFileError(const std::string& message) : std::runtime_error(message) {}
};

// What the fit command records about how a parameter set was found.
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
  std::vector<models::Parameter> refined;
  // Rows in the order of refined; empty when the file holds none.
  std::vector<std::vector<double>> covariance;
  // True: the covariance is scaled by the reduced chi^2 ("chi2"); false: "none".
  bool covarianceScaled = true;
  // The "provenance" object on one line of JSON, as AppendJsonValue writes it
  // ("" when the file has none): a reader keeps whatever a writer put there.
  std::string provenance;
};

inline constexpr const char* kParameterFileFormat = "quorvane-eos-parameters";
inline constexpr int kParameterFileVersion = 1;
// Parameter files are a few hundred bytes; anything far larger is no such file.
inline constexpr std::size_t kMaxParameterFileBytes = 1 << 20;

std::string WriteParameterFile(const ParameterFile& file);

// The fit's provenance as a parameter file holds it.
std::string ProvenanceJson(const Provenance& provenance);

// Any JSON object's text as a parameter file holds it; throws
// ParameterFileError naming source when the text is no JSON object.
std::string ProvenanceFromText(std::string_view json, const std::string& source);

// Reads a parameter file's text; source names it in errors. Unknown keys are
// ignored, and an optional key whose value is null is as if absent. Refused,
// with the key named: a text above kMaxParameterFileBytes or not JSON, a wrong
// format, a version other than 1 (1.0 is 1: JSON numbers have no integer
// kind), an unknown equation, an order the equation is not offered at, a
// missing or non-finite parameter, V0, K0 or |K'0| in use below the
// calculator's floor, an unknown, repeated or implied refined name, a
// covariance whose size does not match the refined list, that has no
// covariance_scaling, or that is not symmetric positive semi-definite within
// kCovarianceRounding, and a provenance that is no object. The implied K'0
// and K''0 are applied as the calculator applies them.
ParameterFile ReadParameterFile(std::string_view text, const std::string& source);

}  // namespace quorvane::fit
