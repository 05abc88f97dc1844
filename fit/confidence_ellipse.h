#pragma once

#include <array>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "models/model.h"

namespace quorvane::fit {

// The level of a one-standard-deviation region: the default of every
// ellipse and band.
inline constexpr double kDefaultConfidenceLevel = 0.683;

// The covariance that ellipses and bands are drawn from, and how reports name
// it. This is the one place that chooses it.
struct ConfidenceCovariance {
  std::vector<std::vector<double>> matrix;
  std::string name;
};
ConfidenceCovariance ConfidenceCovarianceOf(const FitResult& result);

// Delta chi2 of the region holding `level` of the probability for two
// parameters: -2 ln(1 - level). Throws FitError unless 0 < level < 1.
double DeltaChi2ForTwo(double level);

// The region (x - c)' C^-1 (x - c) <= DeltaChi2ForTwo(level) of two
// parameters with covariance C and centre c.
struct ConfidenceEllipse {
  std::array<double, 2> centre{};
  double level = kDefaultConfidenceLevel;
  double deltaChi2 = 0.0;
  // Semi-axes, the major first: sqrt(deltaChi2 * eigenvalue).
  double semiMajor = 0.0;
  double semiMinor = 0.0;
  // Angle of the major axis from the first parameter's axis, in radians in
  // (-pi/2, pi/2], measured in the parameters' own units.
  double orientation = 0.0;
  // Half the width of the region along each parameter: sqrt(deltaChi2 C_ii).
  std::array<double, 2> extent{};
};

using Covariance2 = std::array<std::array<double, 2>, 2>;

// Throws FitError for a level outside (0, 1) or a block that is no
// covariance (a variance negative or not finite, or |C_01| beyond
// sqrt(C_00 C_11) by more than rounding).
ConfidenceEllipse EllipseOf(const Covariance2& covariance, std::array<double, 2> centre,
                            double level = kDefaultConfidenceLevel);

// `count` points around the outline, the first on the major axis, the last
// one step before it.
std::vector<std::array<double, 2>> EllipseOutline(const ConfidenceEllipse& ellipse, int count);

// The ellipse of two refined parameters of a fit from its confidence
// covariance. Throws FitError for a parameter not refined or named twice.
ConfidenceEllipse FitEllipse(const FitResult& result, models::Parameter first,
                             models::Parameter second, double level = kDefaultConfidenceLevel);

}  // namespace quorvane::fit
