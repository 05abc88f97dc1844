#pragma once

#include <Eigen/Core>
#include <span>
#include <unsupported/Eigen/AutoDiff>

#include "models/isothermal_equations.h"
#include "models/model.h"
#include "models/model_catalogue.h"
#include "models/thermal_equations.h"

namespace quorvane::models {

// cm^3/mol per unit of the model's volume.
double MolarVolumeFactor(const Model& model);

// What the pressure at any volume of one isotherm needs, worked out once
// for the temperature: the isotherm's zero-pressure volume, K, K' and K''
// (implied ones applied), and a thermal pressure that does not depend on the
// volume (Einstein's; zero otherwise).
template <class S>
struct IsothermAtT {
  S V0;
  S K;
  S Kp;
  S Kpp;
  S shift;
};

template <class S>
IsothermAtT<S> IsothermOf(const Model& shape, const ParameterArray<S>& p, const S& T) {
  using std::exp;
  const EquationConstants& c = ConstantsOf(shape.arithmetic);
  const Equation equation = shape.equation;
  const int order = shape.order;
  const S Kp = ImpliedKp(equation, order, p[Index(Parameter::Kp0)]);
  const S& K0 = p[Index(Parameter::K0)];
  const S& Kpp0 = p[Index(Parameter::Kpp0)];
  if (Info(shape.thermal).thermalPressure) {
    const S Kpp = ImpliedKpp(equation, order, c, K0, Kp, Kpp0);
    const S shift = shape.thermal == Thermal::Einstein ? EinsteinPressureChange(p, T) : S(0.0);
    return {p[Index(Parameter::V0)], K0, Kp, Kpp, shift};
  }
  const S VT0 = p[Index(Parameter::V0)] * exp(ExpansionIntegral(shape.thermal, p, T));
  const S KT = K0 + p[Index(Parameter::dKdT)] * (T - p[Index(Parameter::Tref)]);
  // The calculator implies K''0 at K0 once; the textbook isotherm at T is a
  // whole equation of its own, its K'' implied at K(T).
  const S Kpp = ImpliedKpp(equation, order, c, shape.arithmetic == Arithmetic::Calculator ? K0 : KT,
                           Kp, Kpp0);
  return {VT0, KT, Kp, Kpp, S(0.0)};
}

// The pressure at V on the isotherm at T.
template <class S>
S IsothermPressure(const Model& shape, const IsothermAtT<S>& isotherm, const ParameterArray<S>& p,
                   const S& V, const S& T) {
  const S reference = IsothermalPressure(shape.equation, shape.order, ConstantsOf(shape.arithmetic),
                                         V, isotherm.V0, isotherm.K, isotherm.Kp, isotherm.Kpp);
  if (!Info(shape.thermal).thermalPressure) return reference;
  if (shape.thermal == Thermal::Einstein) return reference + isotherm.shift;
  return reference + DebyePressureChange(p, V, T, MolarVolumeFactor(shape));
}

// P(V,T) of any model written once for any scalar: plain doubles, or
// AutoDiffScalar for the derivatives a fit needs. The shape (equation, order,
// thermal model, arithmetic, units) comes from the model, the values from p.
template <class S>
S ModelPressure(const Model& shape, const ParameterArray<S>& p, const S& V, const S& T) {
  return IsothermPressure(shape, IsothermOf(shape, p, T), p, V, T);
}

// Whether the model has a pressure at V and T: V > 0, and T > 0 where it
// adds a thermal pressure.
bool HasPressure(const Model& model, double V, double T);

// The pressure at V and T; for the calculator family the engine's own double.
// Not a number where the model has no pressure (V <= 0, T <= 0 with a
// thermal pressure).
double Pressure(const Model& model, double V, double T);

// The pressure with its derivatives, from the same formula.
struct PressureGradient {
  double P = 0.0;
  // dP/d(parameter), alpha0 and alpha1 in their typed scales.
  ParameterArray<double> dP{};
  double dPdV = 0.0;
  double dPdT = 0.0;
};
PressureGradient PressureWithGradient(const Model& model, double V, double T);

// The same with only the derivatives asked for, at a fraction of the cost
// when they are few: those by the listed parameters and, with
// volumeAndTemperature, dP/dV and dP/dT. The others are zero, or given as well.
PressureGradient PressureWithGradient(const Model& model, double V, double T,
                                      std::span<const Parameter> parameters,
                                      bool volumeAndTemperature);

// The isothermal bulk modulus K_T = -V dP/dV at V and T.
double BulkModulus(const Model& model, double V, double T);

}  // namespace quorvane::models
