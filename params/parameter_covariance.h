#pragma once

#include <Eigen/Dense>
#include <vector>

#include "models/model.h"

namespace quorvane::params {

// The covariance of refined parameters, rows in the order of refined.
struct ParameterCovariance {
  std::vector<models::Parameter> refined;
  std::vector<std::vector<double>> matrix;
};

// How far, in units of the correlation, a matrix written out and read back
// may stray from symmetric and positive semi-definite: a covariance from any
// other program, rounded to ten digits, still passes; a sign or an exponent
// typed wrong does not.
inline constexpr double kCovarianceRounding = 1e-9;

// Why a square matrix is no covariance, if it is none.
struct CovarianceFault {
  enum class Kind { None, NegativeVariance, NotSymmetric, BeyondItsVariances, NotSemidefinite };
  Kind kind = Kind::None;
  // The entry at fault; -1 when no single entry is (NotSemidefinite).
  int row = -1;
  int column = -1;
};

// Checks, in this order, the variances for a negative one, each pair of
// entries c_ij, c_ji for symmetry and for |c_ij| <= sqrt(c_ii c_jj), and the
// correlation matrix for a negative eigenvalue, each within kCovarianceRounding.
CovarianceFault CheckCovariance(const Eigen::MatrixXd& matrix);

}  // namespace quorvane::params
