#pragma once

#include <cmath>
#include <cstddef>
#include <limits>

#include "engine/eos_parameters.h"
#include "engine/thermal_model.h"

namespace quorvane::engine {

// One isotherm of the chosen equation of state: everything the pressure needs
// that does not depend on the volume, computed once. The solver builds one per
// search instead of recomputing it for every trial volume; each term is still
// the same double.
class IsothermalCurve {
 public:
  // Single-precision roundings of 7/3, 5/3, 2/3, -1/3 and 35/9; whatever
  // differentiates this curve must use the same ones.
  static constexpr double kE7 = 2.3333332538604736;
  static constexpr double kE5 = 1.6666666269302368;
  static constexpr double kE2 = 0.6666666865348816;
  static constexpr double kEm = -0.3333333432674408;
  static constexpr double kC1 = 3.8888888359069824;

  IsothermalCurve(const EosParameters& parameters, double T)
      : type_(parameters.type),
        Kp_(parameters.Kp0),
        VT0_(ZeroPressureVolume(parameters, T)),
        K_(ThermalBulkModulus(parameters, T)) {
    const EosOrder order = parameters.order;
    const double Kpp = parameters.Kpp0;
    a3_ = order > 2 ? 0.75 * (Kp_ - 4.0) : 0.0;
    a4_ = order == 4 ? 0.375 * (K_ * Kpp + (Kp_ - 3.0) * (Kp_ - 4.0) + kC1) : 0.0;
    const double d = Kp_ - 2.0;
    h_ = order > 2 ? 0.5 * d : 0.0;
    g_ = order == 4 ? (d * d + d + K_ * Kpp + 1.0) / 6.0 : 0.0;
  }

  EosType Type() const { return type_; }
  // V(T,0) and K(T) of this isotherm.
  double ReferenceVolume() const { return VT0_; }
  double BulkModulus() const { return K_; }
  // K'0 as the pressure uses it.
  double PressureDerivative() const { return Kp_; }

  double Pressure(double V) const {
    const double x = VT0_ / V;
    switch (type_) {
      case EosType::BirchMurnaghan:
        return BirchMurnaghan(x);
      case EosType::Vinet:
        return Vinet(x);
      case EosType::NaturalStrain:
        return NaturalStrain(x);
      default:
        return Murnaghan(x);
    }
  }

  // The pressure at V, the very double Pressure(V) gives, with the isothermal
  // bulk modulus K = -V dP/dV and its change -V dK/dV there, from the analytic
  // derivatives of the same formula and constants; all three share their
  // powers. K has the sign of K(T) exactly where the pressure moves against
  // the volume.
  struct PressureAndModulus {
    double P;
    double K;
    double dK;  // -V dK/dV
  };
  PressureAndModulus PressureWithModulus(double V) const {
    const double x = VT0_ / V;
    switch (type_) {
      case EosType::BirchMurnaghan:
        return BirchMurnaghanWithModulus(x);
      case EosType::Vinet:
        return VinetWithModulus(x);
      case EosType::NaturalStrain:
        return NaturalStrainWithModulus(x);
      default:
        return MurnaghanWithModulus(x);
    }
  }
  // Pressure(V[i]) into P[i], or PressureWithModulus(V[i]) into at[i], for n
  // volumes, each the very same doubles, but for Birch-Murnaghan several times
  // faster on long runs.
  void Pressures(const double* V, std::size_t n, double* P) const;
  void PressuresWithModulus(const double* V, std::size_t n, PressureAndModulus* at) const;

 private:
  // A negative x (a volume below zero) has no pressure, but pow gives a finite
  // power of it whenever K' is a whole number.
  double Murnaghan(double x) const {
    if (x < 0.0) return std::numeric_limits<double>::quiet_NaN();
    return (K_ / Kp_) * (std::pow(x, Kp_) - 1.0);
  }

  // Without the higher-order terms (2nd order, or K'0 = 4 at 3rd) the bracket
  // is exactly 1 for every finite u, and u is not finite only where D is not
  // a number already: the third power is not needed.
  bool HasBracket() const { return a3_ != 0.0 || a4_ != 0.0; }

  double BirchMurnaghan(double x) const {
    return BirchMurnaghanFromPowers(std::pow(x, kE7), std::pow(x, kE5),
                                    HasBracket() ? std::pow(x, kE2) : 1.0);
  }

  double BirchMurnaghanFromPowers(double p7, double p5, double p2) const {
    const double D = p7 - p5;
    if (!HasBracket()) return 1.5 * K_ * D;
    const double u = p2 - 1.0;
    return 1.5 * K_ * D * (1.0 + a3_ * u + a4_ * (u * u));
  }

  double Vinet(double x) const {
    const double y = std::pow(x, kEm);
    const double w = 1.0 - y;
    return 3.0 * K_ * w / y / y * std::exp(1.5 * (Kp_ - 1.0) * w);
  }

  double NaturalStrain(double x) const {
    const double L = std::log(x);
    return x * K_ * (L + h_ * (L * L) + g_ * (L * L * L));
  }

  // With the operator D = x d/dx (x = V(T,0)/V), the modulus is D P, which
  // equals -V dP/dV, and its change is D D P, which equals -V dK/dV.
  PressureAndModulus MurnaghanWithModulus(double x) const {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (x < 0.0) return {Murnaghan(x), nan, nan};
    const double power = std::pow(x, Kp_);
    return {(K_ / Kp_) * (power - 1.0), K_ * power, K_ * Kp_ * power};
  }

  PressureAndModulus BirchMurnaghanWithModulus(double x) const {
    return BirchMurnaghanWithModulusFromPowers(std::pow(x, kE7), std::pow(x, kE5),
                                               HasBracket() ? std::pow(x, kE2) : 1.0);
  }

  PressureAndModulus BirchMurnaghanWithModulusFromPowers(double p7, double p5, double p2) const {
    const double D = p7 - p5;
    const double dD = kE7 * p7 - kE5 * p5;
    const double ddD = kE7 * kE7 * p7 - kE5 * kE5 * p5;
    const double c = 1.5 * K_;
    if (!HasBracket()) return {1.5 * K_ * D, c * dD, c * ddD};
    const double u = p2 - 1.0;
    const double du = kE2 * p2;
    const double bracket = 1.0 + a3_ * u + a4_ * (u * u);
    const double dBracket = (a3_ + 2.0 * a4_ * u) * du;
    const double ddBracket = 2.0 * a4_ * (du * du) + (a3_ + 2.0 * a4_ * u) * (kE2 * du);
    return {1.5 * K_ * D * bracket, c * (dD * bracket + D * dBracket),
            c * (ddD * bracket + 2.0 * dD * dBracket + D * ddBracket)};
  }

  // In y = x^em, D y = em y; the modulus is -3 em K(T) y^-2 e^(eta w) G.
  PressureAndModulus VinetWithModulus(double x) const {
    const double y = std::pow(x, kEm);
    const double w = 1.0 - y;
    const double eta = 1.5 * (Kp_ - 1.0);
    const double growth = std::exp(eta * w);
    const double G = y + 2.0 * w + eta * w * y;
    const double dG = kEm * y * (eta - 1.0 - 2.0 * eta * y);
    const double scale = -3.0 * kEm * K_ * growth / y / y;
    return {3.0 * K_ * w / y / y * growth, scale * G, scale * (dG - kEm * (2.0 + eta * y) * G)};
  }

  PressureAndModulus NaturalStrainWithModulus(double x) const {
    const double L = std::log(x);
    const double strain = L + h_ * (L * L) + g_ * (L * L * L);
    const double dStrain = 1.0 + 2.0 * h_ * L + 3.0 * g_ * (L * L);
    const double ddStrain = 2.0 * h_ + 6.0 * g_ * L;
    return {x * K_ * strain, x * K_ * (strain + dStrain),
            x * K_ * (strain + 2.0 * dStrain + ddStrain)};
  }

  EosType type_;
  double Kp_;
  double VT0_;
  double K_;
  // The Birch-Murnaghan and natural-strain coefficients of the order.
  double a3_;
  double a4_;
  double h_;
  double g_;
};

}  // namespace quorvane::engine
