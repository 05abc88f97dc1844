#pragma once

#include <array>

#include "engine/eos_parameters.h"
#include "engine/isothermal_curve.h"
#include "fit/refined_parameter.h"

namespace quorvane::fit {

// The pressure at one state point with what a fit needs beside it.
struct PressurePoint {
  double P = 0.0;
  // dP/d(parameter) for every parameter, in the order of kAllParameters,
  // with alpha0 and alpha1 in their typed scales (1e-5 and 1e-8).
  std::array<double, kParameterCount> dP{};
  // K_T = -V dP/dV, the isothermal bulk modulus at the point.
  double KT = 0.0;
  // dP/dT at constant volume.
  double dPdT = 0.0;
};

// One isotherm of a parameter set whose implied coefficients are applied. The
// pressure is the engine's own double; the derivatives are analytic.
class IsothermDerivatives {
 public:
  IsothermDerivatives(const engine::EosParameters& parameters, double T);

  double Pressure(double V) const { return curve_.Pressure(V); }
  PressurePoint Evaluate(double V) const;

 private:
  // dP/dx at fixed parameters, with x = V(T,0)/V, and dP/dK, dP/dK', dP/dK''.
  struct Partials {
    double dx = 0.0;
    double dK = 0.0;
    double dKp = 0.0;
    double dKpp = 0.0;
  };
  Partials BirchMurnaghan(double x) const;
  Partials Vinet(double x) const;
  Partials NaturalStrain(double x) const;
  Partials Murnaghan(double x) const;

  engine::IsothermalCurve curve_;
  engine::EosType type_;
  engine::EosOrder order_;
  double K_;
  double Kp_;
  double Kpp_;
  double VT0_;
  // d V(T,0) / d(V0, alpha0, alpha1, T).
  double dVT0dV0_;
  double dVT0dAlpha0_;
  double dVT0dAlpha1_;
  double dVT0dT_;
  double dKdT_;
  double dTfromRef_;
};

}  // namespace quorvane::fit
