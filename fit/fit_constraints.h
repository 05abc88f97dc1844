#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/model.h"

namespace quorvane::fit {

// How the covariance a fit reports is scaled by chi2w / dof: Auto only where
// chi2w / dof > 1 (the data scatter more than their sigmas say), so that
// sigmas larger than the scatter never shrink the esds; Always as least
// squares without trusted sigmas does; Never for sigmas taken as they are.
enum class EsdScaling { Auto, Always, Never };

const char* EsdScalingName(EsdScaling scaling);
std::optional<EsdScaling> EsdScalingFromName(const std::string& name);

// A Gaussian prior on a refined parameter, fitted as one more observation
// with the residual (value - mean) / sigma.
struct Prior {
  models::Parameter parameter;
  double mean = 0.0;
  double sigma = 0.0;
};

// Limits a refined parameter stays within.
struct Bound {
  models::Parameter parameter;
  double lower = 0.0;
  double upper = 0.0;
};

// A bounded parameter this close to a limit, as a fraction of the range
// between its limits, sits on it: the fit holds it there and gives no esd.
inline constexpr double kAtBoundFraction = 1e-5;

// Limits this close, as a fraction of the larger of 1 and their magnitude,
// leave no range to refine over: the fit holds the parameter between them.
inline constexpr double kPinnedBoundWidth = 1e-6;
// A prior's sigma this small, as a fraction of the larger of 1 and its mean,
// is below what the fit can resolve: the parameter is held at the mean.
inline constexpr double kPinnedPriorSigma = 1e-13;

// Throws FitError, one line, for a prior or bound on a parameter that is not
// refined, named twice, with a sigma not above zero or a value not finite,
// or with a lower limit not below the upper.
void CheckConstraints(const std::vector<Prior>& priors, const std::vector<Bound>& bounds,
                      const std::vector<models::Parameter>& refined);

// Where the starting value of a bounded parameter lies outside its limits: a
// value the user gave is refused (FitError); one the data or the start-up
// values suggested is moved just inside the nearest limit.
void PlaceStartWithinBounds(const std::vector<Bound>& bounds,
                            const std::vector<models::Parameter>& given, models::Model& start);

// "K'0 ~ 4 +- 0.5" and "2 <= K'0 <= 8", for reports.
std::string PriorText(const Prior& prior);
std::string BoundText(const Bound& bound);

}  // namespace quorvane::fit
