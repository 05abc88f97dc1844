#pragma once

#include <Eigen/Dense>
#include <optional>
#include <unsupported/Eigen/LevenbergMarquardt>
#include <vector>

#include "fit/fit_constraints.h"
#include "fit/pressure_residuals.h"

namespace quorvane::fit {

// The weighted pressure residuals with the priors appended as observations,
// over solver variables u that keep bounded parameters within their limits.
//
// A bounded parameter is theta = lower + (upper - lower) (1 + sin u) / 2:
// every u is a value inside the limits, so no step of the solver can take the
// model where its pressures have no meaning (a K'0 far below zero), which a
// step projected back afterwards could not promise once the solver has
// evaluated there. The price is a vanishing derivative at a limit: a
// parameter that settles there is held at it and the others are fitted again,
// so no esd comes from the flat transform.
class ConstrainedResiduals : public Eigen::DenseFunctor<double> {
 public:
  ConstrainedResiduals(const FitData& data, const std::vector<models::Parameter>& refined,
                       const models::Model& base, const std::vector<Prior>& priors,
                       const std::vector<Bound>& bounds);

  // The refined parameters' values at u, and u at the start's values.
  Eigen::VectorXd Theta(const Eigen::VectorXd& u) const;
  Eigen::VectorXd Start() const;
  models::Model ModelAt(const Eigen::VectorXd& u) const { return pressures_.ModelAt(Theta(u)); }

  Eigen::VectorXd EffectiveSigmas(const Eigen::VectorXd& u) const {
    return pressures_.EffectiveSigmas(Theta(u));
  }
  void HoldSigmas(const Eigen::VectorXd& sigmas) { pressures_.HoldSigmas(sigmas); }
  const Eigen::VectorXd& Sigmas() const { return pressures_.Sigmas(); }
  int Points() const { return pressures_.values(); }
  const std::vector<Prior>& Priors() const { return priors_; }

  // The refined parameters that sit on a limit at u.
  std::vector<models::Parameter> AtBound(const Eigen::VectorXd& u) const;

  int operator()(const Eigen::VectorXd& u, Eigen::VectorXd& residuals) const;
  // The same, giving the model's pressures at the data points as well.
  Eigen::VectorXd Evaluate(const Eigen::VectorXd& u, Eigen::VectorXd& residuals) const;
  int df(const Eigen::VectorXd& u, Eigen::MatrixXd& jacobian) const;
  // The Jacobian with respect to the parameters themselves, for the covariance.
  void ParameterJacobian(const Eigen::VectorXd& u, Eigen::MatrixXd& jacobian) const;

 private:
  double DThetaDu(const Eigen::VectorXd& u, Eigen::Index j) const;

  std::vector<models::Parameter> refined_;
  PressureResiduals pressures_;
  models::Model base_;
  std::vector<Prior> priors_;
  std::vector<Eigen::Index> priorColumns_;
  std::vector<std::optional<Bound>> bounds_;
};

}  // namespace quorvane::fit
