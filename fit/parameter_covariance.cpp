#include "fit/parameter_covariance.h"

#include <cmath>
#include <limits>

namespace quorvane::fit {
namespace {

// The two columns that dominate the undetermined direction.
void NameWeakest(const Eigen::VectorXd& direction, const Eigen::MatrixXd& scaledCovariance,
                 CovarianceEstimate& estimate) {
  const Eigen::Index m = direction.size();
  Eigen::Index weakest = 0;
  direction.cwiseAbs().maxCoeff(&weakest);
  estimate.weakest = static_cast<int>(weakest);
  if (m < 2) return;
  Eigen::VectorXd others = direction.cwiseAbs();
  others[weakest] = -1.0;
  Eigen::Index partner = 0;
  others.maxCoeff(&partner);
  estimate.partner = static_cast<int>(partner);
  const double c =
      scaledCovariance(weakest, partner) /
      std::sqrt(scaledCovariance(weakest, weakest) * scaledCovariance(partner, partner));
  // Along an exactly undetermined direction the estimates move together.
  const double sign = direction[weakest] * direction[partner] < 0.0 ? -1.0 : 1.0;
  estimate.correlation = std::isfinite(c) ? c : sign;
}

}  // namespace

CovarianceEstimate EstimateCovariance(const Eigen::MatrixXd& jacobian) {
  const Eigen::Index m = jacobian.cols();
  CovarianceEstimate estimate;
  Eigen::VectorXd norms = jacobian.colwise().norm().transpose();
  for (Eigen::Index i = 0; i < m; ++i) {
    if (norms[i] > 0.0 && std::isfinite(norms[i])) continue;
    estimate.singular = true;
    estimate.weakest = static_cast<int>(i);
    estimate.covariance = Eigen::MatrixXd::Constant(m, m, std::numeric_limits<double>::quiet_NaN());
    return estimate;
  }
  const Eigen::MatrixXd scaled = jacobian * norms.cwiseInverse().asDiagonal();
  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(scaled);
  const Eigen::MatrixXd R = qr.matrixQR().topRows(m).triangularView<Eigen::Upper>();
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(R, Eigen::ComputeFullV);
  const Eigen::VectorXd& s = svd.singularValues();
  const Eigen::MatrixXd& V = svd.matrixV();
  const Eigen::MatrixXd scaledCovariance =
      V * s.array().square().inverse().matrix().asDiagonal() * V.transpose();
  const Eigen::MatrixXd covariance =
      norms.cwiseInverse().asDiagonal() * scaledCovariance * norms.cwiseInverse().asDiagonal();
  // The products round differently above and below the diagonal.
  estimate.covariance = 0.5 * (covariance + covariance.transpose());
  if (s[m - 1] < kSingularRatio * s[0]) {
    estimate.singular = true;
    NameWeakest(V.col(m - 1), scaledCovariance, estimate);
  }
  return estimate;
}

Eigen::MatrixXd CorrelationOf(const Eigen::MatrixXd& covariance) {
  const Eigen::VectorXd scale = covariance.diagonal().cwiseSqrt().cwiseInverse();
  return scale.asDiagonal() * covariance * scale.asDiagonal();
}

}  // namespace quorvane::fit
