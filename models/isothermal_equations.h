#pragma once

#include "engine/eos_parameters.h"
#include "engine/isothermal_curve.h"
#include "models/model.h"
#include "models/scalar_functions.h"

namespace quorvane::models {

// The constants of the classic equations: the textbook doubles, or the
// calculator's single-precision roundings of the same fractions.
struct EquationConstants {
  double e7;     // 7/3
  double e5;     // 5/3
  double e2;     // 2/3
  double em;     // -1/3
  double birch;  // 35/9
  double vinet;  // 19/36
  // Thirds of powers from one cube root, more exact and faster than pow;
  // the calculator's powers are pow's of its rounded exponents.
  bool cubeRoots;
};

inline constexpr EquationConstants kTextbookConstants{
    7.0 / 3.0, 5.0 / 3.0, 2.0 / 3.0, -1.0 / 3.0, 35.0 / 9.0, 19.0 / 36.0, true};
inline constexpr EquationConstants kCalculatorConstants{engine::IsothermalCurve::kE7,
                                                        engine::IsothermalCurve::kE5,
                                                        engine::IsothermalCurve::kE2,
                                                        engine::IsothermalCurve::kEm,
                                                        engine::kBirchCoefficient,
                                                        engine::kVinetCoefficient,
                                                        false};

constexpr const EquationConstants& ConstantsOf(Arithmetic arithmetic) {
  return arithmetic == Arithmetic::Calculator ? kCalculatorConstants : kTextbookConstants;
}

// The K'0 an order implies (2nd order), or K'0 itself.
template <class S>
S ImpliedKp(Equation equation, int order, const S& Kp) {
  if (order != 2) return Kp;
  switch (equation) {
    case Equation::Vinet:
      return S(1.0);
    case Equation::NaturalStrain:
      return S(2.0);
    case Equation::Murnaghan:
      return Kp;
    default:
      return S(4.0);
  }
}

// Whether the equation and order take K''0 from the user.
constexpr bool HasFreeKpp(Equation equation, int order) {
  return order == 4 && (equation == Equation::BirchMurnaghan ||
                        equation == Equation::NaturalStrain || equation == Equation::Tait);
}

// The K''0 the equation implies at bulk modulus K and K'0 Kp, or Kpp itself
// where the order leaves it free.
template <class S>
S ImpliedKpp(Equation equation, int order, const EquationConstants& c, const S& K, const S& Kp,
             const S& Kpp) {
  if (HasFreeKpp(equation, order)) return Kpp;
  switch (equation) {
    case Equation::BirchMurnaghan:
      return -((Kp - 4.0) * (Kp - 3.0) + c.birch) / K;
    case Equation::Vinet: {
      const S h = Kp / 2.0;
      return -(h * h + h - c.vinet) / K;
    }
    case Equation::NaturalStrain: {
      const S d = Kp - 2.0;
      return -(d * d + d + 1.0) / K;
    }
    case Equation::Tait:
      return -Kp / K;
    default:
      return S(0.0);
  }
}

// The pressure at V of the isotherm whose zero-pressure volume is V0 and
// whose K0, K'0 and K''0 there are K, Kp and Kpp (implied ones applied).
template <class S>
S IsothermalPressure(Equation equation, int order, const EquationConstants& c, const S& V,
                     const S& V0, const S& K, const S& Kp, const S& Kpp) {
  const S x = Ratio(V0, V);
  switch (equation) {
    case Equation::Murnaghan:
      return (K / Kp) * (Power(x, Kp) - 1.0);
    case Equation::BirchMurnaghan: {
      const S a3 = order > 2 ? S(0.75 * (Kp - 4.0)) : S(0.0);
      const S a4 = order == 4 ? S(0.375 * (K * Kpp + (Kp - 3.0) * (Kp - 4.0) + c.birch)) : S(0.0);
      if (c.cubeRoots) {
        const S r = Cbrt(x);
        const S p2 = r * r;
        const S u = p2 - 1.0;
        return 1.5 * K * (x * x * r - x * p2) * (1.0 + a3 * u + a4 * (u * u));
      }
      const S u = Power(x, c.e2) - 1.0;
      return 1.5 * K * (Power(x, c.e7) - Power(x, c.e5)) * (1.0 + a3 * u + a4 * (u * u));
    }
    case Equation::Vinet: {
      const S y = c.cubeRoots ? Cbrt(Ratio(V, V0)) : Power(x, c.em);
      const S w = 1.0 - y;
      return 3.0 * K * w / y / y * exp(1.5 * (Kp - 1.0) * w);
    }
    case Equation::NaturalStrain: {
      const S d = Kp - 2.0;
      const S h = order > 2 ? S(0.5 * d) : S(0.0);
      const S g = order == 4 ? S((d * d + d + K * Kpp + 1.0) / 6.0) : S(0.0);
      const S L = log(x);
      return x * K * (L + h * (L * L) + g * (L * L * L));
    }
    case Equation::Tait: {
      // V/V0 = 1 - a (1 - (1 + bP)^-c), a = (1 + K') / (1 + K' + K K''),
      // b = (K'^2 + K' - K K'') / (K (1 + K')), c = 1 / (a b K), turned round
      // for P = K s L(y) E(z), s = 1 - V/V0, y = s / a, z = s L(y) / (a c):
      // so a infinite (1 + K' + K K'' = 0) and b and c zero (K K'' = K'^2 +
      // K') give their limits rather than 0/0 or a power of 1.
      const S onePlusKp = 1.0 + Kp;
      const S strain = 1.0 - Ratio(V, V0);
      const S logRatio = LogOfComplementRatio(S(strain * (onePlusKp + K * Kpp) / onePlusKp));
      const S z = strain * logRatio * (Kp * onePlusKp - K * Kpp) / onePlusKp;
      return K * strain * logRatio * Expm1Ratio(z);
    }
  }
  return S(0.0);
}

}  // namespace quorvane::models
