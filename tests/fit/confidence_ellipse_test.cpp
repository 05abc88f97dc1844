#include "fit/confidence_ellipse.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fit/synthetic_data.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

struct Block {
  const char* name;
  Covariance2 covariance;
};

// Shapes where a closed form goes wrong first: a circle, axes swapped, a
// correlation near -1 and +1, variances decades apart (V0 against K0), and a
// block exactly singular.
const Block kBlocks[] = {
    {"uncorrelated, equal", {{{4.0, 0.0}, {0.0, 4.0}}}},
    {"second larger", {{{1.0, 0.0}, {0.0, 9.0}}}},
    {"positive correlation", {{{2.0, 1.2}, {1.2, 1.0}}}},
    {"correlation -0.9477", {{{0.1683, -0.0509}, {-0.0509, 0.01714}}}},
    {"decades apart", {{{5.778e-05, -0.001551}, {-0.001551, 0.1683}}}},
    {"correlation 0.999999", {{{1e-6, 0.999999e-2}, {0.999999e-2, 100.0}}}},
    {"singular", {{{1.0, 2.0}, {2.0, 4.0}}}},
};

double QuadraticForm(const Eigen::Matrix2d& inverse, const std::array<double, 2>& point,
                     const std::array<double, 2>& centre) {
  const Eigen::Vector2d d(point[0] - centre[0], point[1] - centre[1]);
  return d.dot(inverse * d);
}

TEST(ConfidenceEllipseGeometry, AgreesWithAnEigenDecompositionAndItsOwnOutline) {
  const std::array<double, 2> centre{84.389, 4.8909};
  for (const Block& block : kBlocks) {
    for (double level : {0.683, 0.95}) {
      SCOPED_TRACE(std::string(block.name) + " at " + std::to_string(level));
      const ConfidenceEllipse e = EllipseOf(block.covariance, centre, level);
      Eigen::Matrix2d c;
      c << block.covariance[0][0], block.covariance[0][1], block.covariance[1][0],
          block.covariance[1][1];
      const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2d> solver(c);
      const double d = e.deltaChi2;
      const double lambdaMax = solver.eigenvalues()[1], lambdaMin = solver.eigenvalues()[0];
      EXPECT_NEAR(e.semiMajor, std::sqrt(d * lambdaMax), 1e-12 * e.semiMajor);
      EXPECT_NEAR(e.semiMinor, std::sqrt(d * std::max(lambdaMin, 0.0)), 1e-9 * e.semiMajor);
      // The major axis is the eigenvector of the larger eigenvalue, up to sign.
      const Eigen::Vector2d major = solver.eigenvectors().col(1);
      if (lambdaMax - lambdaMin > 1e-12 * lambdaMax) {
        const double alignment =
            std::fabs(major[0] * std::cos(e.orientation) + major[1] * std::sin(e.orientation));
        EXPECT_NEAR(alignment, 1.0, 1e-12);
      }
      // The extents are the outline's reach along each axis.
      const std::vector<std::array<double, 2>> outline = EllipseOutline(e, 20000);
      std::array<double, 2> reach{0.0, 0.0};
      for (const auto& point : outline) {
        for (int i = 0; i < 2; ++i) reach[i] = std::max(reach[i], std::fabs(point[i] - centre[i]));
      }
      for (int i = 0; i < 2; ++i) EXPECT_NEAR(reach[i], e.extent[i], 1e-7 * e.extent[i] + 1e-15);
      if (lambdaMin <= 1e-12 * lambdaMax) continue;
      const Eigen::Matrix2d inverse = c.inverse();
      for (std::size_t k = 0; k < outline.size(); k += 997) {
        EXPECT_NEAR(QuadraticForm(inverse, outline[k], centre), d, 1e-6 * d);
      }
    }
  }
}

TEST(ConfidenceEllipseGeometry, DeltaChi2OfTwoParametersIsTheTabulatedOne) {
  // Chi-squared quantiles of two degrees of freedom, from tables.
  const struct {
    double level, deltaChi2;
  } kQuantiles[] = {{0.6827, 2.2958}, {0.9, 4.6052}, {0.95, 5.9915}, {0.99, 9.2103}};
  for (const auto& q : kQuantiles) EXPECT_NEAR(DeltaChi2ForTwo(q.level), q.deltaChi2, 1e-4);
}

TEST(ConfidenceEllipseRefusals, RefusesLevelsAndBlocksThatMakeNoEllipse) {
  const Covariance2 good{{{1.0, 0.5}, {0.5, 1.0}}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double level : {0.0, 1.0, -0.5, 1.5, nan}) {
    EXPECT_THROW(EllipseOf(good, {0.0, 0.0}, level), FitError) << level;
  }
  const Covariance2 bad[] = {{{{-1.0, 0.0}, {0.0, 1.0}}},
                             {{{1.0, 1.5}, {1.5, 1.0}}},
                             {{{nan, 0.0}, {0.0, 1.0}}},
                             {{{1.0, nan}, {nan, 1.0}}}};
  for (const Covariance2& c : bad) EXPECT_THROW(EllipseOf(c, {0.0, 0.0}), FitError);
}

// A 3rd-order Birch-Murnaghan isotherm with noise in P only, so that the
// weights do not move with the parameters and chi2w is a function of them
// alone.
struct NoisyIsotherm {
  FitData data;
  models::Model truth;
};

NoisyIsotherm MakeNoisyIsotherm() {
  NoisyIsotherm set;
  set.truth = models::DefaultModel(models::Equation::BirchMurnaghan, 3, models::Thermal::Linear,
                                   models::Arithmetic::Calculator);
  set.truth[Parameter::V0] = 163.7;
  set.truth[Parameter::K0] = 87.5;
  set.truth[Parameter::Kp0] = 4.9;
  models::ApplyImpliedCoefficients(set.truth);
  set.data = testing::SyntheticData(set.truth, {set.truth[Parameter::Tref]}, 24);
  testing::GaussianNoise noise(20261209);
  constexpr double kSigP = 0.05;
  for (Observation& point : set.data.points) {
    point.sigP = kSigP;
    point.P += kSigP * noise.Next();
  }
  return set;
}

// chi2w with K0 and K'0 held at a point and V0 refitted: the profile whose
// Delta chi2 contour the ellipse approximates.
double ProfileChi2(const NoisyIsotherm& set, const FitResult& best, double K0, double Kp0) {
  FitRequest request;
  request.start = best.model;
  request.start[Parameter::K0] = K0;
  request.start[Parameter::Kp0] = Kp0;
  models::ApplyImpliedCoefficients(request.start);
  request.refined = {Parameter::V0};
  request.givenStart = {Parameter::V0};
  const FitResult refit = FitEos(set.data, request);
  EXPECT_TRUE(refit.converged);
  return refit.chi2w;
}

TEST(ConfidenceEllipseAgainstRefits, OutlineLiesOnTheProfileDeltaChi2Contour) {
  const NoisyIsotherm set = MakeNoisyIsotherm();
  FitRequest request;
  request.start = set.truth;
  const FitResult best = FitEos(set.data, request);
  ASSERT_TRUE(best.converged);
  ASSERT_EQ(best.refined.size(), 3u);
  // K0 and K'0 are rows 1 and 2; the unscaled covariance is the curvature of
  // chi2w itself.
  const auto& c = best.covariance;
  const Covariance2 block{{{c[1][1], c[1][2]}, {c[2][1], c[2][2]}}};
  // The model is close enough to linear over the region that the contour
  // departs from the ellipse by a few per cent in Delta chi2.
  constexpr double kTolerance = 0.03;
  for (double level : {0.683, 0.95}) {
    const ConfidenceEllipse e =
        EllipseOf(block, {best.model[Parameter::K0], best.model[Parameter::Kp0]}, level);
    for (const auto& point : EllipseOutline(e, 12)) {
      const double rise = ProfileChi2(set, best, point[0], point[1]) - best.chi2w;
      EXPECT_NEAR(rise, e.deltaChi2, kTolerance * e.deltaChi2)
          << "level " << level << " at K0 = " << point[0] << ", K'0 = " << point[1];
    }
  }
}

TEST(ConfidenceEllipseOfAFit, RefusesPairsTheFitDidNotRefineOrNamesTwice) {
  const NoisyIsotherm set = MakeNoisyIsotherm();
  FitRequest request;
  request.start = set.truth;
  request.refined = {Parameter::V0, Parameter::K0};
  const FitResult result = FitEos(set.data, request);
  ASSERT_TRUE(result.converged);
  EXPECT_NO_THROW(FitEllipse(result, Parameter::K0, Parameter::V0));
  EXPECT_THROW(FitEllipse(result, Parameter::K0, Parameter::Kp0), FitError);
  EXPECT_THROW(FitEllipse(result, Parameter::K0, Parameter::K0), FitError);
  // The centre is the estimate, in the order asked.
  const ConfidenceEllipse e = FitEllipse(result, Parameter::K0, Parameter::V0, 0.95);
  EXPECT_EQ(e.centre[0], result.model[Parameter::K0]);
  EXPECT_EQ(e.centre[1], result.model[Parameter::V0]);
}

}  // namespace
}  // namespace quorvane::fit
