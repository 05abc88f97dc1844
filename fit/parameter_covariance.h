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

// The normal matrix J'J has the square of J's condition: once the scaled
// condition of J passes 1/sqrt(epsilon), J'J is singular to working precision
// and a parameter is as good as undetermined.
inline constexpr double kSingularRatio = 1.4901161193847656e-08;

CovarianceEstimate EstimateCovariance(const Eigen::MatrixXd& jacobian);

// Correlation matrix of a covariance.
Eigen::MatrixXd CorrelationOf(const Eigen::MatrixXd& covariance);

}  // namespace quorvane::fit
