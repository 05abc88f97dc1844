#include "cli/parameter_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <string_view>

#include "cli/decimal_text.h"
#include "cli/input_error.h"
#include "cli/safe_text.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"

namespace quorvane::cli {
namespace {

using engine::EosParameters;
using engine::EosType;

// The short name users may write for each type instead of its name (the
// catalogue's, as parameter files spell it); either in any case.
struct ShortName {
  const char* shortName;
  EosType type;
};

const ShortName kShortNames[] = {
    {"m", EosType::Murnaghan},
    {"bm", EosType::BirchMurnaghan},
    {"v", EosType::Vinet},
    {"ns", EosType::NaturalStrain},
};

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

EosType TypeFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--eos");
  if (!text) return EosType::BirchMurnaghan;
  for (const ShortName& entry : kShortNames) {
    if (SameWord(*text, models::Info(models::EquationOf(entry.type)).name) ||
        SameWord(*text, entry.shortName)) {
      return entry.type;
    }
  }
  throw InputError("--eos: " + QuotedInput(*text) +
                   " is not one of murnaghan (m), birch-murnaghan (bm), vinet (v), "
                   "natural-strain (ns)");
}

// The orders the form offers for each type.
engine::EosOrder OrderFromOptions(const TypedOptions& options, EosType type) {
  const std::string* text = options.Find("--order");
  if (!text) return 3;
  if (*text != "2" && *text != "3" && *text != "4") {
    throw InputError("--order: " + QuotedInput(*text) + " is not 2, 3 or 4");
  }
  const engine::EosOrder order = (*text)[0] - '0';
  if (type == EosType::Murnaghan && order != 3) {
    throw InputError("--order " + *text + ": murnaghan is 3rd order only");
  }
  if (type == EosType::Vinet && order == 4) {
    throw InputError("--order 4: vinet is 2nd or 3rd order only");
  }
  return order;
}

void ReadNumber(const TypedOptions& options, const char* name, double& parameter) {
  const std::string* text = options.Find(name);
  if (!text) return;
  const auto value = ParseDecimal(*text);
  if (!value) {
    throw InputError(std::string(name) + ": " + QuotedInput(*text) + " " +
                     DecimalSyntaxProblem(*text));
  }
  parameter = *value;
}

void CheckFloor(const char* name, double magnitude) {
  if (magnitude < engine::kParameterFloor) {
    throw InputError(std::string(name) + " must be at least 0.0010000000474974513" +
                     (std::string(name) == "--Kp0" ? " in magnitude" : ""));
  }
}

bool ImpliesKp0(const EosParameters& p) {
  return p.order == 2 && p.type != EosType::Murnaghan;
}

bool ImpliesKpp0(const EosParameters& p) {
  return p.type == EosType::Murnaghan || p.type == EosType::Vinet || p.order != 4;
}

void RefuseImplied(const TypedOptions& options, const char* name, const char* symbol,
                   const EosParameters& p) {
  if (!options.Find(name)) return;
  throw InputError(std::string(name) + ": " + symbol + " is implied by " +
                   models::Info(models::EquationOf(p.type)).name + " at order " +
                   std::to_string(p.order) + " and cannot be given");
}

}  // namespace

EosParameters ParametersFromOptions(const TypedOptions& options) {
  EosParameters p;
  p.type = TypeFromOptions(options);
  p.order = OrderFromOptions(options, p.type);
  if (ImpliesKp0(p)) RefuseImplied(options, "--Kp0", "K'0", p);
  if (ImpliesKpp0(p)) RefuseImplied(options, "--Kpp0", "K''0", p);

  ReadNumber(options, "--V0", p.V0);
  ReadNumber(options, "--K0", p.K0);
  ReadNumber(options, "--Kp0", p.Kp0);
  ReadNumber(options, "--alpha0", p.alpha0);
  ReadNumber(options, "--alpha1", p.alpha1);
  ReadNumber(options, "--dKdT", p.dKdT);
  ReadNumber(options, "--Tref", p.Tref);
  CheckFloor("--V0", p.V0);
  CheckFloor("--K0", p.K0);
  CheckFloor("--Kp0", std::fabs(p.Kp0));

  // At 4th order the form starts from the K''0 that 3rd order implied.
  const engine::EosOrder order = p.order;
  if (order == 4) p.order = 3;
  engine::UpdateImpliedCoefficients(p);
  p.order = order;
  ReadNumber(options, "--Kpp0", p.Kpp0);
  engine::UpdateImpliedCoefficients(p);
  return p;
}

}  // namespace quorvane::cli
