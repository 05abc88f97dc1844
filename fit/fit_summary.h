#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fit/eos_fit.h"

namespace quorvane::fit {

// A point beyond kOutlierSigmas of its sigma is named as an outlier.
inline constexpr double kOutlierSigmas = 3.0;

// The model's equation written out, from its catalogue entry: the formula of
// the equation at its order, then every value the model uses:
// "P(V) = K0/K'0 [(V0/V)^K'0 - 1], with V0 = 11.2, K0 = 160, K'0 = 4".
std::string FittedEquationText(const models::Model& model);

// 1 - sum (P_obs - P_calc)^2 / sum (P_obs - mean P_obs)^2, unweighted; not a
// number where every pressure is the same.
double PressureRSquared(const FitResult& result);

// The points whose |dP| exceeds kOutlierSigmas of their sigma. With unit
// weights the sigma is the scatter the fit implies, sqrt(chi2w / dof).
std::vector<std::size_t> Outliers(const FitResult& result);
// |dP| / sigma of a point, as Outliers judges it.
double ResidualInSigmas(const FitResult& result, std::size_t point);

}  // namespace quorvane::fit
