#include "fit/pressure_residuals.h"

#include <cmath>
#include <optional>

#include "fit/pressure_derivatives.h"

namespace quorvane::fit {
namespace {

// Walks the points, rebuilding the isotherm only where the temperature
// changes: isothermal data build it once.
class IsothermCache {
 public:
  explicit IsothermCache(const engine::EosParameters& parameters) : parameters_(parameters) {}
  const IsothermDerivatives& At(double T) {
    if (!isotherm_ || T != T_) {
      isotherm_.emplace(parameters_, T);
      T_ = T;
    }
    return *isotherm_;
  }

 private:
  const engine::EosParameters& parameters_;
  std::optional<IsothermDerivatives> isotherm_;
  double T_ = 0.0;
};

}  // namespace

PressureResiduals::PressureResiduals(const FitData& data,
                                     const std::vector<RefinedParameter>& refined,
                                     const engine::EosParameters& base)
    : Eigen::DenseFunctor<double>(static_cast<int>(refined.size()),
                                  static_cast<int>(data.points.size())),
      data_(data),
      refined_(refined),
      base_(base),
      weighted_(HasSigmas(data)),
      sigmas_(Eigen::VectorXd::Ones(static_cast<Eigen::Index>(data.points.size()))) {}

engine::EosParameters PressureResiduals::ParametersAt(const Eigen::VectorXd& x) const {
  engine::EosParameters p = base_;
  for (std::size_t i = 0; i < refined_.size(); ++i) {
    ParameterValue(p, refined_[i]) = x[static_cast<Eigen::Index>(i)];
  }
  engine::UpdateImpliedCoefficients(p);
  return p;
}

Eigen::VectorXd PressureResiduals::Start() const {
  Eigen::VectorXd x(static_cast<Eigen::Index>(refined_.size()));
  for (std::size_t i = 0; i < refined_.size(); ++i) {
    x[static_cast<Eigen::Index>(i)] = ParameterValue(base_, refined_[i]);
  }
  return x;
}

Eigen::VectorXd PressureResiduals::EffectiveSigmas(const Eigen::VectorXd& x) const {
  const Eigen::Index n = values();
  Eigen::VectorXd sigmas = Eigen::VectorXd::Ones(n);
  if (!weighted_) return sigmas;
  const engine::EosParameters p = ParametersAt(x);
  IsothermCache cache(p);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    const PressurePoint at = cache.At(point.T).Evaluate(point.V);
    const double fromV = at.KT * point.sigV / point.V;
    const double fromT = at.dPdT * point.sigT;
    sigmas[i] = std::sqrt(point.sigP * point.sigP + fromV * fromV + fromT * fromT);
  }
  return sigmas;
}

int PressureResiduals::operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const {
  const engine::EosParameters p = ParametersAt(x);
  IsothermCache cache(p);
  const Eigen::Index n = values();
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    residuals[i] = (cache.At(point.T).Pressure(point.V) - point.P) / sigmas_[i];
  }
  return 0;
}

int PressureResiduals::df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const {
  const engine::EosParameters p = ParametersAt(x);
  IsothermCache cache(p);
  const Eigen::Index n = values();
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    const PressurePoint at = cache.At(point.T).Evaluate(point.V);
    for (std::size_t j = 0; j < refined_.size(); ++j) {
      jacobian(i, static_cast<Eigen::Index>(j)) =
          at.dP[static_cast<std::size_t>(refined_[j])] / sigmas_[i];
    }
  }
  return 0;
}

}  // namespace quorvane::fit
