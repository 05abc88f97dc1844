#include "fit/constrained_residuals.h"

#include <algorithm>
#include <cmath>

namespace quorvane::fit {
namespace {

// A prior on a parameter not refined (one held on a limit) is a constant.
int Rows(const FitData& data, const std::vector<models::Parameter>& refined,
         const std::vector<Prior>& priors) {
  const auto onRefined = std::count_if(priors.begin(), priors.end(), [&](const Prior& prior) {
    return std::find(refined.begin(), refined.end(), prior.parameter) != refined.end();
  });
  return static_cast<int>(data.points.size()) + static_cast<int>(onRefined);
}

}  // namespace

ConstrainedResiduals::ConstrainedResiduals(const FitData& data,
                                           const std::vector<models::Parameter>& refined,
                                           const models::Model& base,
                                           const std::vector<Prior>& priors,
                                           const std::vector<Bound>& bounds)
    : Eigen::DenseFunctor<double>(static_cast<int>(refined.size()), Rows(data, refined, priors)),
      refined_(refined),
      pressures_(data, refined, base),
      base_(base),
      bounds_(refined.size()) {
  for (const Prior& prior : priors) {
    const auto at = std::find(refined.begin(), refined.end(), prior.parameter);
    if (at == refined.end()) continue;
    priors_.push_back(prior);
    priorColumns_.push_back(at - refined.begin());
  }
  for (const Bound& bound : bounds) {
    const auto at = std::find(refined.begin(), refined.end(), bound.parameter);
    if (at != refined.end()) bounds_[static_cast<std::size_t>(at - refined.begin())] = bound;
  }
}

Eigen::VectorXd ConstrainedResiduals::Theta(const Eigen::VectorXd& u) const {
  Eigen::VectorXd theta = u;
  for (std::size_t j = 0; j < bounds_.size(); ++j) {
    if (!bounds_[j]) continue;
    const auto k = static_cast<Eigen::Index>(j);
    const Bound& b = *bounds_[j];
    theta[k] = b.lower + (b.upper - b.lower) * (1.0 + std::sin(u[k])) / 2.0;
  }
  return theta;
}

Eigen::VectorXd ConstrainedResiduals::Start() const {
  Eigen::VectorXd u = pressures_.Start();
  for (std::size_t j = 0; j < bounds_.size(); ++j) {
    if (!bounds_[j]) continue;
    const auto k = static_cast<Eigen::Index>(j);
    const Bound& b = *bounds_[j];
    u[k] = std::asin(std::clamp(2.0 * (u[k] - b.lower) / (b.upper - b.lower) - 1.0, -1.0, 1.0));
  }
  return u;
}

std::vector<models::Parameter> ConstrainedResiduals::AtBound(const Eigen::VectorXd& u) const {
  std::vector<models::Parameter> at;
  const Eigen::VectorXd theta = Theta(u);
  for (std::size_t j = 0; j < bounds_.size(); ++j) {
    if (!bounds_[j]) continue;
    const Bound& b = *bounds_[j];
    const double near = kAtBoundFraction * (b.upper - b.lower);
    const double value = theta[static_cast<Eigen::Index>(j)];
    if (value - b.lower <= near || b.upper - value <= near) at.push_back(refined_[j]);
  }
  return at;
}

double ConstrainedResiduals::DThetaDu(const Eigen::VectorXd& u, Eigen::Index j) const {
  const auto& bound = bounds_[static_cast<std::size_t>(j)];
  if (!bound) return 1.0;
  return (bound->upper - bound->lower) * std::cos(u[j]) / 2.0;
}

Eigen::VectorXd ConstrainedResiduals::Evaluate(const Eigen::VectorXd& u,
                                               Eigen::VectorXd& residuals) const {
  const Eigen::VectorXd theta = Theta(u);
  Eigen::VectorXd calculated = pressures_.Pressures(theta);
  pressures_.Weigh(calculated, residuals);
  for (std::size_t i = 0; i < priors_.size(); ++i) {
    const Prior& prior = priors_[i];
    residuals[calculated.size() + static_cast<Eigen::Index>(i)] =
        (theta[priorColumns_[i]] - prior.mean) / prior.sigma;
  }
  return calculated;
}

int ConstrainedResiduals::operator()(const Eigen::VectorXd& u, Eigen::VectorXd& residuals) const {
  Evaluate(u, residuals);
  return 0;
}

void ConstrainedResiduals::ParameterJacobian(const Eigen::VectorXd& u,
                                             Eigen::MatrixXd& jacobian) const {
  const Eigen::VectorXd theta = Theta(u);
  const Eigen::Index n = pressures_.values();
  Eigen::MatrixXd points(n, pressures_.inputs());
  pressures_.df(theta, points);
  jacobian.setZero(values(), inputs());
  jacobian.topRows(n) = points;
  for (std::size_t i = 0; i < priors_.size(); ++i) {
    jacobian(n + static_cast<Eigen::Index>(i), priorColumns_[i]) = 1.0 / priors_[i].sigma;
  }
}

int ConstrainedResiduals::df(const Eigen::VectorXd& u, Eigen::MatrixXd& jacobian) const {
  ParameterJacobian(u, jacobian);
  for (Eigen::Index j = 0; j < inputs(); ++j) jacobian.col(j) *= DThetaDu(u, j);
  return 0;
}

}  // namespace quorvane::fit
