#include "fit/pressure_residuals.h"

#include <cmath>
#include <limits>
#include <optional>

#include "engine/isothermal_curve.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::fit {
namespace {

// The model's pressures point by point. The calculator's isotherm (V(T,0),
// K(T), the order's coefficients) is built only where the temperature
// changes, as its search builds it: the engine's doubles, without building
// it again for every point of an isotherm.
class PointPressures {
 public:
  explicit PointPressures(const models::Model& model) : model_(model) {
    if (model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model)) {
      calculator_ = models::CalculatorParameters(model);
    }
  }

  double At(double V, double T) {
    if (!calculator_) return models::Pressure(model_, V, T);
    if (!(V > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    if (!curve_ || T != T_) {
      curve_.emplace(*calculator_, T);
      T_ = T;
    }
    return curve_->Pressure(V);
  }

 private:
  const models::Model& model_;
  std::optional<engine::EosParameters> calculator_;
  std::optional<engine::IsothermalCurve> curve_;
  double T_ = 0.0;
};

}  // namespace

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
  PointPressures pressures(model);
  const Eigen::Index n = values();
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    residuals[i] = (pressures.At(point.V, point.T) - point.P) / sigmas_[i];
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
