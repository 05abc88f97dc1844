#pragma once

#include <Eigen/Dense>

namespace quorvane::fit {

// The covariance (J'J)^-1 of a weighted Jacobian, computed from the singular
// values of its column-scaled R factor rather than by inverting the normal
// matrix, whose condition is the square of J's.
struct CovarianceEstimate {
  Eigen::MatrixXd covariance;
  // The data do not determine the parameters: the scaled Jacobian's smallest
  // singular value is below kSingularRatio of its largest.
  bool singular = false;
  // When singular: the column most involved in the undetermined combination,
  // the column it moves with most, and their correlation.
  int weakest = -1;
  int partner = -1;
  double correlation = 0.0;
};

// A scaled condition number beyond 1e9 leaves fewer than half the digits of
// the covariance; such a parameter is as good as undetermined.
inline constexpr double kSingularRatio = 1e-9;

CovarianceEstimate EstimateCovariance(const Eigen::MatrixXd& jacobian);

// Correlation matrix of a covariance.
Eigen::MatrixXd CorrelationOf(const Eigen::MatrixXd& covariance);

}  // namespace quorvane::fit
