#include "params/confidence_band.h"

#include <cmath>
#include <stdexcept>

#include "models/model_pressure.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::params {
namespace {

// erf(z / sqrt 2) reaches 1 in double precision well before z = 40.
constexpr double kLargestQuantile = 40.0;
// Halving [0, 40] this often leaves an interval below the spacing of doubles.
constexpr int kBisections = 200;

}  // namespace

double TwoSidedNormalQuantile(double level) {
  if (!(level > 0.0 && level < 1.0)) {
    throw std::invalid_argument("the confidence level must lie in (0, 1)");
  }
  // erf is monotonic and exact to rounding: bisection needs no starting guess
  // and cannot leave the bracket.
  double low = 0.0, high = kLargestQuantile;
  for (int i = 0; i < kBisections && high > low; ++i) {
    const double mid = 0.5 * (low + high);
    if (mid == low || mid == high) break;
    (std::erf(mid / std::sqrt(2.0)) < level ? low : high) = mid;
  }
  return 0.5 * (low + high);
}

BandHalfWidths VolumeBandHalfWidths(const models::Model& model,
                                    const ParameterCovariance& covariance, double V, double T,
                                    double z, double scatterP) {
  const double sigmaV = VolumeUncertainty(model, covariance, V, T);
  const double KT = models::BulkModulus(model, V, T);
  return {z * sigmaV, z * std::hypot(sigmaV, scatterP * V / KT)};
}

}  // namespace quorvane::params
