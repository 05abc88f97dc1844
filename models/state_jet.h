#pragma once

#include <cmath>
#include <type_traits>

#include "models/debye_integral.h"
#include "models/scalar_functions.h"

// The jet lives in a namespace of its own, so that its elementary functions
// are found by argument-dependent lookup only and hide no overload for doubles.
namespace quorvane::models::jet {

// A value with its first and second derivatives by volume and temperature:
// the model's one formula, evaluated on it, gives K_T, K', alpha and C_V, which
// are second derivatives of the free energy and first and second ones of P.
// T is double, or an AutoDiffScalar whose own derivatives then carry each of
// these values' derivatives by the parameters (for their uncertainties).
template <class T>
struct StateJet {
  T v{0.0};
  T dV{0.0};
  T dT{0.0};
  T dVV{0.0};
  T dVT{0.0};
  T dTT{0.0};

  StateJet() = default;
  // A constant: a parameter, or a number of the formula. Implicit, so that
  // the formula's numbers mix with jets as they do with doubles.
  StateJet(double c) : v(c) {}
  template <class U>
  StateJet(const U& c) requires(!std::is_same_v<U, double> && std::is_convertible_v<U, T>) : v(c) {}

  // The value seeded as the volume or the temperature.
  static StateJet Volume(const T& value) {
    StateJet j(value);
    j.dV = T(1.0);
    return j;
  }
  static StateJet Temperature(const T& value) {
    StateJet j(value);
    j.dT = T(1.0);
    return j;
  }

  // f(x) from f, f' and f'' at x.
  static StateJet Chain(const StateJet& x, const T& f, const T& f1, const T& f2) {
    StateJet r;
    r.v = f;
    r.dV = f1 * x.dV;
    r.dT = f1 * x.dT;
    r.dVV = f1 * x.dVV + f2 * x.dV * x.dV;
    r.dVT = f1 * x.dVT + f2 * x.dV * x.dT;
    r.dTT = f1 * x.dTT + f2 * x.dT * x.dT;
    return r;
  }

  friend StateJet operator+(const StateJet& a, const StateJet& b) {
    StateJet r;
    r.v = a.v + b.v;
    r.dV = a.dV + b.dV;
    r.dT = a.dT + b.dT;
    r.dVV = a.dVV + b.dVV;
    r.dVT = a.dVT + b.dVT;
    r.dTT = a.dTT + b.dTT;
    return r;
  }
  friend StateJet operator-(const StateJet& a, const StateJet& b) {
    StateJet r;
    r.v = a.v - b.v;
    r.dV = a.dV - b.dV;
    r.dT = a.dT - b.dT;
    r.dVV = a.dVV - b.dVV;
    r.dVT = a.dVT - b.dVT;
    r.dTT = a.dTT - b.dTT;
    return r;
  }
  friend StateJet operator-(const StateJet& a) {
    StateJet r;
    r.v = -a.v;
    r.dV = -a.dV;
    r.dT = -a.dT;
    r.dVV = -a.dVV;
    r.dVT = -a.dVT;
    r.dTT = -a.dTT;
    return r;
  }
  friend StateJet operator*(const StateJet& a, const StateJet& b) {
    StateJet r;
    r.v = a.v * b.v;
    r.dV = a.dV * b.v + a.v * b.dV;
    r.dT = a.dT * b.v + a.v * b.dT;
    r.dVV = a.dVV * b.v + 2.0 * (a.dV * b.dV) + a.v * b.dVV;
    r.dVT = a.dVT * b.v + a.dV * b.dT + a.dT * b.dV + a.v * b.dVT;
    r.dTT = a.dTT * b.v + 2.0 * (a.dT * b.dT) + a.v * b.dTT;
    return r;
  }
  // The quotient's value is the plain division's, so that P on a jet is the
  // double P to the last bit.
  friend StateJet operator/(const StateJet& a, const StateJet& b) {
    StateJet r;
    r.v = a.v / b.v;
    r.dV = (a.dV - r.v * b.dV) / b.v;
    r.dT = (a.dT - r.v * b.dT) / b.v;
    r.dVV = (a.dVV - 2.0 * (r.dV * b.dV) - r.v * b.dVV) / b.v;
    r.dVT = (a.dVT - r.dV * b.dT - r.dT * b.dV - r.v * b.dVT) / b.v;
    r.dTT = (a.dTT - 2.0 * (r.dT * b.dT) - r.v * b.dTT) / b.v;
    return r;
  }
};

template <class T>
double Value(const StateJet<T>& x) {
  return models::Value(x.v);
}

template <class T>
StateJet<T> exp(const StateJet<T>& x) {
  using std::exp;
  const T e = exp(x.v);
  return StateJet<T>::Chain(x, e, e, e);
}

template <class T>
StateJet<T> log(const StateJet<T>& x) {
  using std::log;
  const T r = 1.0 / x.v;
  return StateJet<T>::Chain(x, log(x.v), r, -(r * r));
}

template <class T>
StateJet<T> sinh(const StateJet<T>& x) {
  using std::cosh;
  using std::sinh;
  const T s = sinh(x.v);
  return StateJet<T>::Chain(x, s, cosh(x.v), s);
}

template <class T>
StateJet<T> sqrt(const StateJet<T>& x) {
  using std::sqrt;
  const T s = sqrt(x.v);
  const T f1 = 0.5 / s;
  return StateJet<T>::Chain(x, s, f1, -f1 / (2.0 * x.v));
}

template <class T>
StateJet<T> Expm1(const StateJet<T>& x) {
  using std::exp;
  const T e = exp(x.v);
  return StateJet<T>::Chain(x, models::Expm1(x.v), e, e);
}

template <class T>
StateJet<T> Log1p(const StateJet<T>& x) {
  const T r = 1.0 / (1.0 + x.v);
  return StateJet<T>::Chain(x, models::Log1p(x.v), r, -(r * r));
}

template <class T>
StateJet<T> Cbrt(const StateJet<T>& x) {
  const T c = models::Cbrt(x.v);
  const T f1 = c / (3.0 * x.v);
  return StateJet<T>::Chain(x, c, f1, -2.0 * f1 / (3.0 * x.v));
}

template <class T>
StateJet<T> Power(const StateJet<T>& x, double e) {
  const T f = models::Power(x.v, e);
  const T f1 = e * f / x.v;
  return StateJet<T>::Chain(x, f, f1, (e - 1.0) * f1 / x.v);
}

// x^e with both operands on jets: the second-order chain rule of a function
// of two arguments.
template <class T>
StateJet<T> Power(const StateJet<T>& x, const StateJet<T>& e) {
  using std::log;
  const T f = models::Power(x.v, e.v);
  const T L = log(x.v);
  const T fx = e.v * f / x.v;
  const T fe = f * L;
  const T fxx = (e.v - 1.0) * fx / x.v;
  const T fxe = f / x.v * (1.0 + e.v * L);
  const T fee = fe * L;
  StateJet<T> r;
  r.v = f;
  r.dV = fx * x.dV + fe * e.dV;
  r.dT = fx * x.dT + fe * e.dT;
  r.dVV =
      fx * x.dVV + fe * e.dVV + fxx * x.dV * x.dV + 2.0 * (fxe * x.dV * e.dV) + fee * e.dV * e.dV;
  r.dVT = fx * x.dVT + fe * e.dVT + fxx * x.dV * x.dT + fxe * (x.dV * e.dT + x.dT * e.dV) +
          fee * e.dV * e.dT;
  r.dTT =
      fx * x.dTT + fe * e.dTT + fxx * x.dT * x.dT + 2.0 * (fxe * x.dT * e.dT) + fee * e.dT * e.dT;
  return r;
}

// D(x) has the integrand t^3 / (e^t - 1) for its slope.
template <class T>
StateJet<T> DebyeIntegral(const StateJet<T>& x) {
  const T em1 = models::Expm1(x.v);
  const T x2 = x.v * x.v;
  const T slope = x2 * x.v / em1;
  // e^x / (e^x - 1) as 1 + 1 / (e^x - 1), which stays finite where e^x does not.
  const T curvature = 3.0 * x2 / em1 - slope * (1.0 + 1.0 / em1);
  return StateJet<T>::Chain(x, models::DebyeIntegral(x.v), slope, curvature);
}

}  // namespace quorvane::models::jet
