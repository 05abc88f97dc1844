#include "fit/fit_summary.h"

#include <cmath>
#include <limits>

#include "models/model_catalogue.h"
#include "numtext/double_text.h"

namespace quorvane::fit {
namespace {

using models::Equation;
using models::Parameter;
using models::Role;

std::string Shortest(double x) {
  return numtext::ShortestText(x);
}

// The formulas as the models compute them, in the catalogue's symbols.
std::string Formula(Equation equation, int order) {
  switch (equation) {
    case Equation::Murnaghan:
      return "P(V) = K0/K'0 [(V0/V)^K'0 - 1]";
    case Equation::BirchMurnaghan: {
      const std::string base = "P(V) = 3/2 K0 [(V0/V)^(7/3) - (V0/V)^(5/3)]";
      if (order == 2) return base;
      if (order == 3) return base + " {1 + 3/4 (K'0 - 4) u}, u = (V0/V)^(2/3) - 1";
      return base +
             " {1 + 3/4 (K'0 - 4) u + 3/8 [K0 K''0 + (K'0 - 3)(K'0 - 4) + 35/9] u^2}, "
             "u = (V0/V)^(2/3) - 1";
    }
    case Equation::Vinet:
      return "P(V) = 3 K0 (1 - y)/y^2 exp[3/2 (K'0 - 1)(1 - y)], y = (V/V0)^(1/3)";
    case Equation::NaturalStrain:
      if (order == 2) return "P(V) = K0 (V0/V) L, L = ln(V0/V)";
      if (order == 3) return "P(V) = K0 (V0/V) [L + (K'0 - 2)/2 L^2], L = ln(V0/V)";
      return "P(V) = K0 (V0/V) [L + (K'0 - 2)/2 L^2 + ((K'0 - 2)^2 + (K'0 - 2) + K0 K''0 + 1)/6 "
             "L^3], L = ln(V0/V)";
    case Equation::Tait:
      return "P(V) = [(1 - (1 - V/V0)/a)^(-1/c) - 1]/b, a = (1 + K'0)/(1 + K'0 + K0 K''0), "
             "b = K'0/K0 - K''0/(1 + K'0), c = (1 + K'0 + K0 K''0)/(K'0^2 + K'0 - K0 K''0)";
  }
  return "";
}

bool IsIsothermalParameter(Parameter parameter) {
  return parameter == Parameter::V0 || parameter == Parameter::K0 || parameter == Parameter::Kp0 ||
         parameter == Parameter::Kpp0;
}

std::string Value(const models::Model& model, Parameter parameter) {
  const bool implied = models::ListedRole(model, parameter) == Role::Implied;
  return std::string(models::Info(parameter).symbol) + " = " + Shortest(model[parameter]) +
         (implied ? " (implied)" : "");
}

}  // namespace

std::string FittedEquationText(const models::Model& model) {
  std::string isothermal, thermal;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (parameter == Parameter::Tref || models::ListedRole(model, parameter) == Role::Unused) {
      continue;
    }
    std::string& list = IsIsothermalParameter(parameter) ? isothermal : thermal;
    list += (list.empty() ? "" : ", ") + Value(model, parameter);
  }
  std::string text = Formula(model.equation, model.order) + ", with " + isothermal +
                     " at T(ref) = " + Shortest(model[Parameter::Tref]);
  if (!thermal.empty()) {
    text += "; other temperatures by the " + std::string(models::Info(model.thermal).name) +
            " thermal model with " + thermal;
  }
  return text;
}

double PressureRSquared(const FitResult& result) {
  const auto n = static_cast<double>(result.residuals.size());
  double mean = 0.0;
  for (const PointResidual& point : result.residuals) mean += point.Pobs / n;
  double residual = 0.0, total = 0.0;
  for (const PointResidual& point : result.residuals) {
    residual += point.dP * point.dP;
    total += (point.Pobs - mean) * (point.Pobs - mean);
  }
  if (!(total > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  return 1.0 - residual / total;
}

double ResidualInSigmas(const FitResult& result, std::size_t point) {
  const PointResidual& r = result.residuals[point];
  const double scatter = result.weighted ? 1.0 : std::sqrt(result.ReducedChi2());
  return std::fabs(r.dP) / (r.sigma * scatter);
}

std::vector<std::size_t> Outliers(const FitResult& result) {
  std::vector<std::size_t> outliers;
  for (std::size_t i = 0; i < result.residuals.size(); ++i) {
    if (ResidualInSigmas(result, i) > kOutlierSigmas) outliers.push_back(i);
  }
  return outliers;
}

}  // namespace quorvane::fit
