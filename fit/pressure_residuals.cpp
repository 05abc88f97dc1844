#include "fit/pressure_residuals.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "engine/isothermal_curve.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::fit {
namespace {

// The model's pressures point by point. The isotherm (for the calculator
// family the calculator's own: V(T,0), K(T), the order's coefficients) is
// worked out only where the temperature changes, as the calculator's search
// builds it: the same doubles, without building it again for every point.
class PointPressures {
 public:
  explicit PointPressures(const models::Model& model) : model_(model) {
    if (model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model)) {
      calculator_ = models::CalculatorParameters(model);
    }
  }

  double At(double V, double T) {
    if (!models::HasPressure(model_, V, T)) return std::numeric_limits<double>::quiet_NaN();
    if (!calculator_) {
      if (!isotherm_ || T != T_) {
        isotherm_ = models::IsothermOf(model_, model_.values, T);
        T_ = T;
      }
      return models::IsothermPressure(model_, *isotherm_, model_.values, V, T);
    }
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
  std::optional<models::IsothermAtT<double>> isotherm_;
  double T_ = 0.0;
};

// dP/dV and dP/dT point by point, the isotherm's derivatives by T worked out
// once per temperature.
class PointSlopes {
  using Slots = Eigen::Matrix<double, 2, 1>;
  using Scalar = Eigen::AutoDiffScalar<Slots>;

 public:
  explicit PointSlopes(const models::Model& model) : model_(model) {
    for (int i = 0; i < models::kParameterCount; ++i) {
      p_[i] = Scalar(model.values[i], Slots::Zero());
    }
  }

  // dP/dV and dP/dT.
  Slots At(double V, double T) {
    if (!isotherm_ || T != temperature_.value()) {
      temperature_ = Scalar(T, Slots::Unit(1));
      isotherm_ = models::IsothermOf(model_, p_, temperature_);
    }
    const Scalar volume(V, Slots::Unit(0));
    return models::IsothermPressure(model_, *isotherm_, p_, volume, temperature_).derivatives();
  }

 private:
  const models::Model& model_;
  models::ParameterArray<Scalar> p_;
  std::optional<models::IsothermAtT<Scalar>> isotherm_;
  Scalar temperature_;
};

// dP/d(refined parameter) / sigma for every point into the Jacobian, with a
// gradient of N slots for the refined parameters and the isotherm's own
// derivatives worked out once per temperature.
template <int N>
void FillJacobian(const models::Model& model, const std::vector<models::Parameter>& refined,
                  const FitData& data, const Eigen::VectorXd& sigmas, Eigen::MatrixXd& jacobian) {
  using Slots = Eigen::Matrix<double, N, 1>;
  using Scalar = Eigen::AutoDiffScalar<Slots>;
  models::ParameterArray<Scalar> p;
  for (int i = 0; i < models::kParameterCount; ++i) {
    p[i] = Scalar(model.values[i], Slots::Zero());
  }
  const auto count = static_cast<Eigen::Index>(refined.size());
  for (Eigen::Index k = 0; k < count; ++k) {
    p[models::Index(refined[static_cast<std::size_t>(k)])].derivatives()[k] = 1.0;
  }
  std::optional<models::IsothermAtT<Scalar>> isotherm;
  Scalar temperature;
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const Observation& point = data.points[i];
    if (!isotherm || point.T != temperature.value()) {
      temperature = Scalar(point.T, Slots::Zero());
      isotherm = models::IsothermOf(model, p, temperature);
    }
    const Scalar P =
        models::IsothermPressure(model, *isotherm, p, Scalar(point.V, Slots::Zero()), temperature);
    const auto row = static_cast<Eigen::Index>(i);
    for (Eigen::Index k = 0; k < count; ++k) jacobian(row, k) = P.derivatives()[k] / sigmas[row];
  }
}

// The same bits: x values that compare equal (0 and -0) can give different
// pressures.
bool SameBits(const Eigen::VectorXd& a, const Eigen::VectorXd& b) {
  return a.size() == b.size() &&
         std::memcmp(a.data(), b.data(), sizeof(double) * static_cast<std::size_t>(a.size())) == 0;
}

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
  PointSlopes slopes(model);
  std::optional<Eigen::VectorXd> calculated;
  for (Eigen::Index i = 0; i < n; ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    const double fromP = point.sigP * point.sigP;
    // Without sigV and sigT the slopes add nothing, yet where the model has
    // no finite pressure the point has no sigma either.
    if (point.sigV == 0.0 && point.sigT == 0.0) {
      if (!calculated) calculated = Pressures(x);
      const bool finite = std::isfinite((*calculated)[i]);
      sigmas[i] = finite ? std::sqrt(fromP) : std::numeric_limits<double>::quiet_NaN();
      continue;
    }
    const Eigen::Vector2d slope = slopes.At(point.V, point.T);
    // K_T = -V dP/dV.
    const double fromV = slope[0] * point.sigV;
    const double fromT = slope[1] * point.sigT;
    sigmas[i] = std::sqrt(fromP + fromV * fromV + fromT * fromT);
  }
  return sigmas;
}

Eigen::VectorXd PressureResiduals::Pressures(const Eigen::VectorXd& x) const {
  if (SameBits(x, pressuresAt_)) return pressures_;
  const models::Model model = ModelAt(x);
  PointPressures pressures(model);
  Eigen::VectorXd calculated(values());
  for (Eigen::Index i = 0; i < calculated.size(); ++i) {
    const Observation& point = data_.points[static_cast<std::size_t>(i)];
    calculated[i] = pressures.At(point.V, point.T);
  }
  pressuresAt_ = x;
  pressures_ = calculated;
  return calculated;
}

void PressureResiduals::Weigh(const Eigen::VectorXd& calculated, Eigen::VectorXd& residuals) const {
  for (Eigen::Index i = 0; i < calculated.size(); ++i) {
    residuals[i] = (calculated[i] - data_.points[static_cast<std::size_t>(i)].P) / sigmas_[i];
  }
}

int PressureResiduals::operator()(const Eigen::VectorXd& x, Eigen::VectorXd& residuals) const {
  Weigh(Pressures(x), residuals);
  return 0;
}

int PressureResiduals::df(const Eigen::VectorXd& x, Eigen::MatrixXd& jacobian) const {
  if (SameBits(x, jacobianAt_)) {
    jacobian = jacobian_;
    return 0;
  }
  const models::Model model = ModelAt(x);
  // A few sizes of gradient, so that the cost follows the parameters refined.
  if (refined_.size() <= 4) {
    FillJacobian<4>(model, refined_, data_, sigmas_, jacobian);
  } else if (refined_.size() <= 8) {
    FillJacobian<8>(model, refined_, data_, sigmas_, jacobian);
  } else {
    FillJacobian<models::kParameterCount>(model, refined_, data_, sigmas_, jacobian);
  }
  jacobianAt_ = x;
  jacobian_ = jacobian;
  return 0;
}

}  // namespace quorvane::fit
