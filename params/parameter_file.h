#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/model.h"

namespace quorvane::params {

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
  // The esd scaling the fit was asked for ("auto", "always", "never"); the
  // file's covariance_scaling says which was applied. Empty: left out.
  std::string esdScaling{};
  // Each a parameter's name with two numbers: a prior's mean and sigma, a
  // bound's lower and upper limits. Left out when empty.
  std::vector<std::pair<std::string, std::pair<double, double>>> constraints{};
  std::vector<std::pair<std::string, std::pair<double, double>>> bounds{};
  // Refined parameters the fit held on a limit (variance 0 in the file).
  std::vector<std::string> atBound{};
};

// A model with what a fit knows about it. Every number survives a write and
// read bit for bit.
struct ParameterFile {
  models::Model model;
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

// A parameter by the name files give it, in its exact spelling ("Kp0").
std::optional<models::Parameter> ParameterNamed(std::string_view name);

// Whether a program that computes only with the calculator's own parameter
// set can take the file's model: one of the calculator's equations with the
// linear thermal expansion, in the calculator's arithmetic.
bool IsCalculatorModel(const models::Model& model);

// The file's text. A key at its default ("thermal": "linear", the arithmetic
// the equation and thermal model default to, "volume_unit": "cm3/mol") is
// left out, so a calculator model's file keeps the layout it always had.
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
// kind), an unknown equation, thermal model, arithmetic or volume unit, an
// order the equation is not offered at, the calculator's arithmetic for a
// model it does not compute, "Z" without "A3" or "A3" without "Z", a missing
// or non-finite parameter of the model, one it does not use, V0, K0 or |K'0|
// below the calculator's floor in a calculator model, a value outside the
// catalogue's range, an unknown, repeated, unused or implied refined name, a
// covariance whose size does not match the refined list, that has no
// covariance_scaling, or that is not symmetric positive semi-definite within
// kCovarianceRounding, and a provenance that is no object. The implied K'0
// and K''0 replace whatever the file says.
ParameterFile ReadParameterFile(std::string_view text, const std::string& source);

}  // namespace quorvane::params
