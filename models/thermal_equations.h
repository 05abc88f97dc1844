#pragma once

#include <cmath>

#include "models/debye_integral.h"
#include "models/model.h"
#include "models/scalar_functions.h"

namespace quorvane::models {

// R in J/(mol K), and the molar volume in cm^3/mol of one cubic angstrom per
// formula unit (Avogadro's number times 1e-24).
inline constexpr double kGasConstant = 8.314462618;
inline constexpr double kMolarVolumePerCubicAngstrom = 0.602214076;
// J/cm^3 in GPa.
inline constexpr double kGigapascalsPerJoulePerCubicCentimetre = 1e-3;

// The coefficient of T^(-1/2) in Holland and Powell's (1998) expansion, K^(1/2).
inline constexpr double kHollandPowellRootTerm = 10.0;

// alpha0 and alpha1 as typed are in units of 1e-5 and 1e-8.
template <class S>
S LinearExpansion(const ParameterArray<S>& p) {
  return p[Index(Parameter::alpha0)] / 100000.0;
}
template <class S>
S QuadraticExpansion(const ParameterArray<S>& p) {
  return p[Index(Parameter::alpha1)] / 10000.0 / 10000.0;
}

// The integral of alpha from Tref to T: ln(V(T,0) / V0).
template <class S>
S ExpansionIntegral(Thermal thermal, const ParameterArray<S>& p, const S& T) {
  const S& Tref = p[Index(Parameter::Tref)];
  const S a0 = LinearExpansion(p);
  const S a1 = QuadraticExpansion(p);
  switch (thermal) {
    case Thermal::Berman: {
      const S dT = T - Tref;
      return a0 * dT + 0.5 * a1 * (dT * dT);
    }
    case Thermal::Fei:
      return a0 * (T - Tref) + 0.5 * a1 * (T * T - Tref * Tref) -
             p[Index(Parameter::alpha2)] * (1.0 / T - 1.0 / Tref);
    case Thermal::HollandPowell:
      // alpha0 (1 - 10 / sqrt(T)); the 10 is in K^(1/2), so T is in kelvin.
      return a0 * ((T - Tref) - kHollandPowellRootTerm * 2.0 * (Power(T, 0.5) - Power(Tref, 0.5)));
    default:
      return a0 * (T - Tref) + 0.5 * a1 * (T * T - Tref * Tref);
  }
}

// 1 / (e^u - 1) as e^-u / (1 - e^-u): at a low temperature (u in the
// hundreds) e^u overflows, and its slope with it, where this form goes
// smoothly to zero.
template <class S>
S EinsteinOccupation(const S& u) {
  using std::exp;
  return exp(S(-u)) / -Expm1(S(-u));
}

// Holland and Powell's Einstein thermal pressure, less its value at Tref:
// alpha0 K0 (theta / xi0) (1 / (e^(theta/T) - 1) - 1 / (e^(theta/Tref) - 1)),
// xi0 = u^2 e^u / (e^u - 1)^2 at u = theta/Tref.
template <class S>
S EinsteinPressureChange(const ParameterArray<S>& p, const S& T) {
  using std::sinh;
  const S& theta = p[Index(Parameter::theta0)];
  const S u0 = theta / p[Index(Parameter::Tref)];
  const S root = u0 / (2.0 * sinh(u0 / 2.0));
  const S xi0 = root * root;
  const S occupation = EinsteinOccupation(S(theta / T)) - EinsteinOccupation(u0);
  return LinearExpansion(p) * p[Index(Parameter::K0)] * (theta / xi0) * occupation;
}

// The Debye thermal energy 9 n R T (T/theta)^3 D(theta/T), in J/mol.
template <class S>
S DebyeEnergy(const S& T, const S& theta, const S& n) {
  const S u = theta / T;
  return 9.0 * kGasConstant * n * T * DebyeIntegral(u) / (u * u * u);
}

// x^q - 1 at ln x = L, and (x^q - 1) / q with its limit L as q goes to zero.
template <class S>
struct PowerGrowth {
  S less1;
  S overQ;
};
template <class S>
PowerGrowth<S> GrowthOfPower(const S& q, const S& L) {
  using std::fabs;
  const S qL = q * L;
  const S less1 = Expm1(qL);
  if (fabs(Value(qL)) < 1e-5) return {less1, S(L * (1.0 + qL / 2.0 + qL * qL / 6.0))};
  return {less1, S(less1 / q)};
}

// The Grueneisen parameter gamma = gamma0 (V/V0)^q and the Debye temperature
// theta = theta0 exp((gamma0 - gamma) / q) at V.
template <class S>
struct DebyeVolumeState {
  S gamma;
  S theta;
};
template <class S>
DebyeVolumeState<S> DebyeStateAt(const ParameterArray<S>& p, const S& V) {
  using std::exp;
  using std::log;
  const S L = log(Ratio(V, p[Index(Parameter::V0)]));
  const S& gamma0 = p[Index(Parameter::gamma0)];
  const PowerGrowth<S> growth = GrowthOfPower(p[Index(Parameter::q)], L);
  return {gamma0 * (1.0 + growth.less1), p[Index(Parameter::theta0)] * exp(-gamma0 * growth.overQ)};
}

// The Mie-Grueneisen-Debye thermal pressure gamma (E(T) - E(Tref)) / V, in
// GPa for V in cm^3/mol (molarVolume turns the model's volume into that).
template <class S>
S DebyePressureChange(const ParameterArray<S>& p, const S& V, const S& T, double molarVolume) {
  const DebyeVolumeState<S> state = DebyeStateAt(p, V);
  const S& n = p[Index(Parameter::natoms)];
  const S energy =
      DebyeEnergy(T, state.theta, n) - DebyeEnergy(p[Index(Parameter::Tref)], state.theta, n);
  return state.gamma * energy / (V * molarVolume) * kGigapascalsPerJoulePerCubicCentimetre;
}

// The Debye entropy 3 n R (4 D(u) / u^3 - ln(1 - e^-u)), u = theta/T, in
// J/(mol K): a function of theta/T alone.
template <class S>
S DebyeEntropy(const S& T, const S& theta, const S& n) {
  using std::log;
  const S u = theta / T;
  return 3.0 * kGasConstant * n * (4.0 * DebyeIntegral(u) / (u * u * u) - log(-Expm1(S(-u))));
}

// Einstein's thermal energy of n atoms' oscillators, 3 n R theta / (e^(theta/T) - 1), in J/mol.
template <class S>
S EinsteinEnergy(const S& T, const S& theta, const S& n) {
  return 3.0 * kGasConstant * n * theta / Expm1(S(theta / T));
}

}  // namespace quorvane::models
