#include "fit/pressure_derivatives.h"

#include <cmath>

#include "engine/thermal_model.h"

namespace quorvane::fit {
namespace {

using engine::EosType;

// The exponents and constant of the engine's pressure.
constexpr double kE7 = engine::IsothermalCurve::kE7;
constexpr double kE5 = engine::IsothermalCurve::kE5;
constexpr double kE2 = engine::IsothermalCurve::kE2;
constexpr double kEm = engine::IsothermalCurve::kEm;
constexpr double kC1 = engine::IsothermalCurve::kC1;

constexpr double kAlpha0Scale = 1e-5;
constexpr double kAlpha1Scale = 1e-8;

}  // namespace

IsothermDerivatives::IsothermDerivatives(const engine::EosParameters& p, double T)
    : curve_(p, T),
      type_(p.type),
      order_(p.order),
      K_(curve_.BulkModulus()),
      Kp_(p.Kp0),
      Kpp_(p.Kpp0),
      VT0_(curve_.ReferenceVolume()),
      dKdT_(p.dKdT),
      dTfromRef_(T - p.Tref) {
  dVT0dV0_ = VT0_ / p.V0;
  dVT0dAlpha0_ = VT0_ * dTfromRef_ * kAlpha0Scale;
  dVT0dAlpha1_ = VT0_ * 0.5 * (T * T - p.Tref * p.Tref) * kAlpha1Scale;
  dVT0dT_ = VT0_ * (p.alpha0 * kAlpha0Scale + p.alpha1 * kAlpha1Scale * T);
}

PressurePoint IsothermDerivatives::Evaluate(double V) const {
  const double x = VT0_ / V;
  Partials partials;
  switch (type_) {
    case EosType::BirchMurnaghan:
      partials = BirchMurnaghan(x);
      break;
    case EosType::Vinet:
      partials = Vinet(x);
      break;
    case EosType::NaturalStrain:
      partials = NaturalStrain(x);
      break;
    default:
      partials = Murnaghan(x);
  }
  // x changes with V(T,0) as 1/V.
  const double dPdVT0 = partials.dx / V;
  PressurePoint point;
  point.P = curve_.Pressure(V);
  point.dP[static_cast<int>(RefinedParameter::V0)] = dPdVT0 * dVT0dV0_;
  point.dP[static_cast<int>(RefinedParameter::K0)] = partials.dK;
  point.dP[static_cast<int>(RefinedParameter::Kp0)] = partials.dKp;
  point.dP[static_cast<int>(RefinedParameter::Kpp0)] = partials.dKpp;
  point.dP[static_cast<int>(RefinedParameter::alpha0)] = dPdVT0 * dVT0dAlpha0_;
  point.dP[static_cast<int>(RefinedParameter::alpha1)] = dPdVT0 * dVT0dAlpha1_;
  point.dP[static_cast<int>(RefinedParameter::dKdT)] = partials.dK * dTfromRef_;
  point.KT = x * partials.dx;
  point.dPdT = dPdVT0 * dVT0dT_ + partials.dK * dKdT_;
  return point;
}

IsothermDerivatives::Partials IsothermDerivatives::BirchMurnaghan(double x) const {
  const double D = std::pow(x, kE7) - std::pow(x, kE5);
  const double dD = kE7 * std::pow(x, kE7 - 1.0) - kE5 * std::pow(x, kE5 - 1.0);
  const double u = std::pow(x, kE2) - 1.0;
  const double du = kE2 * std::pow(x, kE2 - 1.0);
  const double a3 = order_ > 2 ? 0.75 * (Kp_ - 4.0) : 0.0;
  const bool fourth = order_ == 4;
  const double a4 = fourth ? 0.375 * (K_ * Kpp_ + (Kp_ - 3.0) * (Kp_ - 4.0) + kC1) : 0.0;
  const double bracket = 1.0 + a3 * u + a4 * u * u;
  const double scale = 1.5 * K_ * D;
  Partials partials;
  partials.dx = 1.5 * K_ * (dD * bracket + D * (a3 + 2.0 * a4 * u) * du);
  partials.dK = 1.5 * D * bracket + (fourth ? scale * 0.375 * Kpp_ * u * u : 0.0);
  partials.dKp =
      scale * ((order_ > 2 ? 0.75 * u : 0.0) + (fourth ? 0.375 * (2.0 * Kp_ - 7.0) * u * u : 0.0));
  partials.dKpp = fourth ? scale * 0.375 * K_ * u * u : 0.0;
  return partials;
}

IsothermDerivatives::Partials IsothermDerivatives::Vinet(double x) const {
  const double y = std::pow(x, kEm);
  const double dy = kEm * std::pow(x, kEm - 1.0);
  const double w = 1.0 - y;
  const double eta = 1.5 * (Kp_ - 1.0);
  const double e = std::exp(eta * w);
  const double P = 3.0 * K_ * w / (y * y) * e;
  // P = 3K w y^-2 e^(eta w), with dw/dy = -1.
  const double dPdy = 3.0 * K_ * e * (-1.0 / (y * y) - 2.0 * w / (y * y * y) - eta * w / (y * y));
  Partials partials;
  partials.dx = dPdy * dy;
  partials.dK = 3.0 * w / (y * y) * e;
  partials.dKp = P * 1.5 * w;
  return partials;
}

IsothermDerivatives::Partials IsothermDerivatives::NaturalStrain(double x) const {
  const double L = std::log(x);
  const double d = Kp_ - 2.0;
  const double h = order_ > 2 ? 0.5 * d : 0.0;
  const bool fourth = order_ == 4;
  const double g = fourth ? (d * d + d + K_ * Kpp_ + 1.0) / 6.0 : 0.0;
  const double series = L + h * L * L + g * L * L * L;
  const double L3 = L * L * L;
  Partials partials;
  partials.dx = K_ * (series + 1.0 + 2.0 * h * L + 3.0 * g * L * L);
  partials.dK = x * series + (fourth ? x * K_ * L3 * Kpp_ / 6.0 : 0.0);
  partials.dKp =
      x * K_ * ((order_ > 2 ? 0.5 * L * L : 0.0) + (fourth ? (2.0 * d + 1.0) / 6.0 * L3 : 0.0));
  partials.dKpp = fourth ? x * K_ * L3 * K_ / 6.0 : 0.0;
  return partials;
}

IsothermDerivatives::Partials IsothermDerivatives::Murnaghan(double x) const {
  const double power = std::pow(x, Kp_);
  Partials partials;
  partials.dx = K_ * power / x;
  partials.dK = (power - 1.0) / Kp_;
  partials.dKp = -K_ / (Kp_ * Kp_) * (power - 1.0) + K_ / Kp_ * power * std::log(x);
  return partials;
}

}  // namespace quorvane::fit
