#include "params/parameter_covariance.h"

#include <cmath>

namespace quorvane::params {
namespace {

using Fault = CovarianceFault::Kind;

// c / (s_i s_j), without the product's underflow; a zero standard deviation
// leaves room only for a zero entry.
double InCorrelationUnits(double c, double si, double sj) {
  return c == 0.0 ? 0.0 : c / si / sj;
}

}  // namespace

CovarianceFault CheckCovariance(const Eigen::MatrixXd& matrix) {
  const int n = static_cast<int>(matrix.rows());
  for (int i = 0; i < n; ++i) {
    if (matrix(i, i) < 0.0) return {Fault::NegativeVariance, i, i};
  }
  const Eigen::VectorXd sd = matrix.diagonal().cwiseSqrt();
  Eigen::MatrixXd correlation = Eigen::MatrixXd::Identity(n, n);
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const double upper = InCorrelationUnits(matrix(i, j), sd[i], sd[j]);
      const double lower = InCorrelationUnits(matrix(j, i), sd[i], sd[j]);
      if (!std::isfinite(upper) || !std::isfinite(lower)) return {Fault::BeyondItsVariances, i, j};
      if (!(std::fabs(upper - lower) <= kCovarianceRounding)) return {Fault::NotSymmetric, i, j};
      const double r = 0.5 * (upper + lower);
      if (!(std::fabs(r) <= 1.0 + kCovarianceRounding)) return {Fault::BeyondItsVariances, i, j};
      correlation(i, j) = correlation(j, i) = r;
    }
  }
  if (n == 0) return {};
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eigen(correlation, Eigen::EigenvaluesOnly);
  if (eigen.info() != Eigen::Success || !(eigen.eigenvalues()[0] >= -kCovarianceRounding)) {
    return {Fault::NotSemidefinite, -1, -1};
  }
  return {};
}

}  // namespace quorvane::params
