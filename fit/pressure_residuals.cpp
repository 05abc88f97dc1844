#include "fit/pressure_residuals.h"

#include <cmath>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::fit {

PressureResiduals::PressureResiduals(const FitData& data,
                                     const std::vector<models::Parameter>& refined,
                                     const models::Model& base)
    : Eigen::DenseFunctor<double>(static_cast<int>(refined.size()),
                                  static_cast<int>(data.points.size())),
      data_(data),
      refined_(refined),
      base_(base),
      weighted_(HasSigmas(data)),
      sigmas_(Eigen::VectorXd::Ones(static_cast<Eigen::Index>(data.points.size()))) {}

models::Model PressureResiduals::ModelAt(const Eigen::VectorXd& x) const {
  models::Model model = base_;
  for (std::size_t i = 0; i < refined_.size(); ++i) {
    model[refined_[i]] = x[static_cast<Eigen::Index>(i)];
  }
  models::ApplyImpliedCoefficients(model);
  return model;
}

Eigen::VectorXd PressureResiduals::Start() const {
  Eigen::VectorXd x(static_cast<Eigen::Index>(refined_.size()));
  for (std::size_t i = 0; i < refined_.size(); ++i) {
    x[static_cast<Eigen::Index>(i)] = base_[refined_[i]];
  }
  return x;
}

Eigen::VectorXd PressureResiduals::EffectiveSigmas(const Eigen::VectorXd& x) const {
  const Eigen::Index n = values();
  Eigen::VectorXd sigmas = Eigen::VectorXd::Ones(n);
  if (!weighted_) return sigmas;
  const models::Model model = ModelAt(x);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    const models::PressureGradient at =
        models::PressureWithGradient(model, point.V, point.T, {}, true);
    // K_T = -V dP/dV.
    const double fromV = at.dPdV * point.sigV;
    const double fromT = at.dPdT * point.sigT;
    sigmas[i] = std::sqrt(point.sigP * point.sigP + fromV * fromV + fromT * fromT);
  }
  return sigmas;
}

int PressureResiduals::operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const {
  const models::Model model = ModelAt(x);
  const Eigen::Index n = values();
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    residuals[i] = (models::Pressure(model, point.V, point.T) - point.P) / sigmas_[i];
  }
  return 0;
}

int PressureResiduals::df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const {
  const models::Model model = ModelAt(x);
  const Eigen::Index n = values();
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    const models::PressureGradient at =
        models::PressureWithGradient(model, point.V, point.T, refined_, false);
    for (std::size_t j = 0; j < refined_.size(); ++j) {
      jacobian(i, static_cast<Eigen::Index>(j)) = at.dP[models::Index(refined_[j])] / sigmas_[i];
    }
  }
  return 0;
}

}  // namespace quorvane::fit
