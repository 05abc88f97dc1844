#pragma once

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>
#include <vector>

#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::fit {

// The weighted pressure residuals (Pcalc - Pobs) / sigma of the refined
// parameters x, with the effective standard deviations held fixed while the
// solver runs, in the form the solver calls.
class PressureResiduals : public Eigen::DenseFunctor<double> {
 public:
  PressureResiduals(const FitData& data, const std::vector<models::Parameter>& refined,
                    const models::Model& base);

  // The whole model at x, its implied coefficients applied as the calculator
  // applies them after every edit.
  models::Model ModelAt(const Eigen::VectorXd& x) const;
  Eigen::VectorXd Start() const;

  // sigma^2 = sigP^2 + (K_T sigV / V)^2 + (dP/dT sigT)^2 at x; 1 everywhere
  // when the data carry no standard deviations.
  Eigen::VectorXd EffectiveSigmas(const Eigen::VectorXd& x) const;
  void HoldSigmas(const Eigen::VectorXd& sigmas) {
    sigmas_ = sigmas;
    jacobianAt_.resize(0);
  }
  const Eigen::VectorXd& Sigmas() const { return sigmas_; }

  // The model's pressures at the data points at x, and from them the
  // weighted residuals into the first values() entries of residuals.
  Eigen::VectorXd Pressures(const Eigen::VectorXd& x) const;
  void Weigh(const Eigen::VectorXd& calculated, Eigen::VectorXd& residuals) const;

  int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const;
  int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const;

 private:
  const FitData& data_;
  std::vector<models::Parameter> refined_;
  models::Model base_;
  bool weighted_;
  Eigen::VectorXd sigmas_;
  // The solver asks again for what it had at the same x (the start, the
  // solution): the last pressures and Jacobian, and the x they were made at.
  mutable Eigen::VectorXd pressuresAt_;
  mutable Eigen::VectorXd pressures_;
  mutable Eigen::VectorXd jacobianAt_;
  mutable Eigen::MatrixXd jacobian_;
};

}  // namespace quorvane::fit
