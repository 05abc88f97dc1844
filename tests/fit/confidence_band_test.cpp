#include "fit/confidence_band.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "fit/confidence_ellipse.h"
#include "fit/synthetic_data.h"
#include "models/model_catalogue.h"
#include "models/model_volume.h"
#include "params/confidence_band.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

TEST(ConfidenceBandQuantile, IsTheTabulatedNormalQuantile) {
  const struct {
    double level, z;
  } kTable[] = {{0.682689492137, 1.0},
                {0.95, 1.959963985},
                {0.99, 2.575829304},
                {0.999, 3.290526731},
                {1e-6, 1.2533141373155e-6}};
  for (const auto& row : kTable) {
    EXPECT_NEAR(params::TwoSidedNormalQuantile(row.level), row.z, 1e-8 * row.z) << row.level;
  }
  for (double level : {0.0, 1.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_THROW(params::TwoSidedNormalQuantile(level), std::invalid_argument) << level;
  }
}

// Replicas of one noisy isotherm, each fitted: the 68.3 % confidence band of
// V(P) holds the true curve, and the prediction band a new measurement, in
// 68.3 % of them within three binomial standard deviations.
TEST(ConfidenceBandCoverage, BandsHoldTheirShareOfNoisyReplicas) {
  models::Model truth = models::DefaultModel(
      models::Equation::BirchMurnaghan, 3, models::Thermal::Linear, models::Arithmetic::Calculator);
  truth[Parameter::V0] = 163.7;
  truth[Parameter::K0] = 87.5;
  truth[Parameter::Kp0] = 4.9;
  models::ApplyImpliedCoefficients(truth);
  const double T = truth[Parameter::Tref];
  const FitData exact = testing::SyntheticData(truth, {T}, 16);
  constexpr double kSigP = 0.1;
  constexpr int kReplicas = 400;
  constexpr double kLevel = 0.683;
  const double z = params::TwoSidedNormalQuantile(kLevel);
  // Where the band is checked: inside the data, away from its ends.
  const double Vtrue = 0.85 * truth[Parameter::V0];
  const double Ptrue = models::Pressure(truth, Vtrue, T);
  testing::GaussianNoise noise(20261210);
  int curveInside = 0, measurementInside = 0;
  for (int replica = 0; replica < kReplicas; ++replica) {
    FitData data = exact;
    for (Observation& point : data.points) {
      point.sigP = kSigP;
      point.P += kSigP * noise.Next();
    }
    FitRequest request;
    request.start = truth;
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << replica;
    const params::ParameterCovariance covariance{result.refined,
                                                 ConfidenceCovarianceOf(result).matrix};
    const double scatter = PredictionScatter(data, result, T);

    const double Vfit = models::VolumeFromPressure(result.model, Ptrue, T).V;
    const auto atCurve =
        params::VolumeBandHalfWidths(result.model, covariance, Vfit, T, z, scatter);
    if (std::fabs(Vfit - Vtrue) <= atCurve.confidence) ++curveInside;

    // A new measurement at the true volume, its pressure off by the noise.
    const double Pnew = Ptrue + kSigP * noise.Next();
    const double Vnew = models::VolumeFromPressure(result.model, Pnew, T).V;
    const auto atNew = params::VolumeBandHalfWidths(result.model, covariance, Vnew, T, z, scatter);
    if (std::fabs(Vnew - Vtrue) <= atNew.prediction) ++measurementInside;
  }
  const double allowance = 3.0 * std::sqrt(kLevel * (1.0 - kLevel) / kReplicas);
  EXPECT_NEAR(static_cast<double>(curveInside) / kReplicas, kLevel, allowance);
  EXPECT_NEAR(static_cast<double>(measurementInside) / kReplicas, kLevel, allowance);
}

TEST(ConfidenceBandScatter, IsTheScaledRmsSigmaOfThePointsAtThatTemperature) {
  FitData data;
  FitResult result;
  const struct {
    double T, sigma;
  } kPoints[] = {{300, 0.1}, {300, 0.2}, {300, 0.2}, {700, 0.5}, {700, 0.5}};
  for (const auto& p : kPoints) {
    Observation point;
    point.T = p.T;
    data.points.push_back(point);
    PointResidual residual;
    residual.sigma = p.sigma;
    result.residuals.push_back(residual);
  }
  result.chi2w = 8.0;
  result.dof = 2;
  EXPECT_NEAR(PredictionScatter(data, result, 300), std::sqrt(0.09 / 3.0) * 2.0, 1e-15);
  EXPECT_NEAR(PredictionScatter(data, result, 700), 0.5 * 2.0, 1e-15);
  EXPECT_TRUE(std::isnan(PredictionScatter(data, result, 500)));
  // Without degrees of freedom there is no chi2w/dof to scale by.
  result.dof = 0;
  EXPECT_NEAR(PredictionScatter(data, result, 700), 0.5, 1e-15);
}

}  // namespace
}  // namespace quorvane::fit
