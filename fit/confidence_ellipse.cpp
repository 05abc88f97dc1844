#include "fit/confidence_ellipse.h"

#include <algorithm>
#include <cmath>

#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

constexpr double kPi = 3.14159265358979323846;
// A covariance block rounded in its last digits may put |C_01| a little
// beyond sqrt(C_00 C_11); more than this, in units of it, is a wrong matrix.
constexpr double kCorrelationRounding = 1e-9;

std::size_t RefinedIndex(const FitResult& result, models::Parameter parameter) {
  const auto found = std::find(result.refined.begin(), result.refined.end(), parameter);
  if (found == result.refined.end()) {
    throw FitError(std::string(models::Info(parameter).symbol) + " is not refined");
  }
  return static_cast<std::size_t>(found - result.refined.begin());
}

void CheckCovariance(const Covariance2& c) {
  for (int i = 0; i < 2; ++i) {
    if (!std::isfinite(c[i][i]) || c[i][i] < 0.0) {
      throw FitError("a variance of the pair is negative or not finite");
    }
  }
  const double limit = std::sqrt(c[0][0] * c[1][1]);
  if (!std::isfinite(c[0][1]) || std::fabs(c[0][1]) > limit * (1.0 + kCorrelationRounding)) {
    throw FitError("the pair's covariance exceeds the product of their standard deviations");
  }
}

}  // namespace

ConfidenceCovariance ConfidenceCovarianceOf(const FitResult& result) {
  // The covariance the esds are reported from, under the scaling applied.
  return {result.ReportedCovariance(),
          result.scaledByChi2 ? "scaled covariance" : "unscaled covariance"};
}

double DeltaChi2ForTwo(double level) {
  if (!(level > 0.0 && level < 1.0)) throw FitError("the confidence level must lie in (0, 1)");
  return -2.0 * std::log1p(-level);
}

ConfidenceEllipse EllipseOf(const Covariance2& c, std::array<double, 2> centre, double level) {
  CheckCovariance(c);
  ConfidenceEllipse ellipse;
  ellipse.centre = centre;
  ellipse.level = level;
  ellipse.deltaChi2 = DeltaChi2ForTwo(level);
  // The eigenvalues of a symmetric 2x2 matrix in closed form; the radius by
  // hypot keeps them apart where the variances differ by many decades.
  const double mean = 0.5 * (c[0][0] + c[1][1]);
  const double radius = std::hypot(0.5 * (c[0][0] - c[1][1]), c[0][1]);
  const double larger = mean + radius;
  // The smaller one as det / larger: mean - radius would cancel.
  const double det = c[0][0] * c[1][1] - c[0][1] * c[0][1];
  const double smaller = larger > 0.0 ? std::max(det / larger, 0.0) : 0.0;
  ellipse.semiMajor = std::sqrt(ellipse.deltaChi2 * larger);
  ellipse.semiMinor = std::sqrt(ellipse.deltaChi2 * smaller);
  ellipse.orientation = 0.5 * std::atan2(2.0 * c[0][1], c[0][0] - c[1][1]);
  if (ellipse.orientation <= -0.5 * kPi) ellipse.orientation += kPi;
  for (int i = 0; i < 2; ++i) ellipse.extent[i] = std::sqrt(ellipse.deltaChi2 * c[i][i]);
  return ellipse;
}

std::vector<std::array<double, 2>> EllipseOutline(const ConfidenceEllipse& ellipse, int count) {
  std::vector<std::array<double, 2>> outline;
  const double cosine = std::cos(ellipse.orientation), sine = std::sin(ellipse.orientation);
  for (int k = 0; k < count; ++k) {
    const double t = 2.0 * kPi * k / count;
    const double u = ellipse.semiMajor * std::cos(t), v = ellipse.semiMinor * std::sin(t);
    outline.push_back(
        {ellipse.centre[0] + u * cosine - v * sine, ellipse.centre[1] + u * sine + v * cosine});
  }
  return outline;
}

ConfidenceEllipse FitEllipse(const FitResult& result, models::Parameter first,
                             models::Parameter second, double level) {
  if (first == second) {
    throw FitError(std::string(models::Info(first).symbol) + " is named twice");
  }
  const std::size_t i = RefinedIndex(result, first), j = RefinedIndex(result, second);
  const std::vector<std::vector<double>> c = ConfidenceCovarianceOf(result).matrix;
  return EllipseOf({{{c[i][i], c[i][j]}, {c[j][i], c[j][j]}}},
                   {result.model[first], result.model[second]}, level);
}

}  // namespace quorvane::fit
