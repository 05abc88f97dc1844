#pragma once

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>
#include <vector>

#include "engine/eos_parameters.h"
#include "fit/fit_data.h"
#include "fit/refined_parameter.h"

namespace quorvane::fit {

// The weighted pressure residuals (Pcalc - Pobs) / sigma of the refined
// parameters x, with the effective standard deviations held fixed while the
// solver runs, in the form the solver calls.
class PressureResiduals : public Eigen::DenseFunctor<double> {
 public:
  PressureResiduals(const FitData& data, const std::vector<RefinedParameter>& refined,
                    const engine::EosParameters& base);

  // The full parameter set at x, the implied coefficients applied as the
  // calculator applies them after every edit.
  engine::EosParameters ParametersAt(const Eigen::VectorXd& x) const;
  Eigen::VectorXd Start() const;

  // sigma^2 = sigP^2 + (K_T sigV / V)^2 + (dP/dT sigT)^2 at x; 1 everywhere
  // when the data carry no standard deviations.
  Eigen::VectorXd EffectiveSigmas(const Eigen::VectorXd& x) const;
  void HoldSigmas(const Eigen::VectorXd& sigmas) { sigmas_ = sigmas; }
  const Eigen::VectorXd& Sigmas() const { return sigmas_; }

  int operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const;
  int df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const;

 private:
  const FitData& data_;
  std::vector<RefinedParameter> refined_;
  engine::EosParameters base_;
  bool weighted_;
  Eigen::VectorXd sigmas_;
};

}  // namespace quorvane::fit
