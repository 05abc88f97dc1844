#pragma once

#include <Eigen/Core>
#include <cmath>
#include <unsupported/Eigen/AutoDiff>

namespace quorvane::models {

// The functions the models need beyond those Eigen's automatic derivatives
// provide, for plain doubles and for AutoDiffScalar alike. Each AutoDiffScalar
// result carries the very value the double overload gives.

inline double Power(double x, double e) {
  return std::pow(x, e);
}
inline double Expm1(double x) {
  return std::expm1(x);
}
inline double Log1p(double x) {
  return std::log1p(x);
}
inline double Cbrt(double x) {
  return std::cbrt(x);
}
inline double Value(double x) {
  return x;
}

// a / b. Where b^2 leaves the range of a double (volumes beyond about
// 1e+-154) its derivative is taken as da/b - (a/b) db/b, which never forms it.
template <class S>
S Ratio(const S& a, const S& b) {
  return a / b;
}
template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Ratio(const Eigen::AutoDiffScalar<Derivatives>& a,
                                         const Eigen::AutoDiffScalar<Derivatives>& b) {
  const double square = b.value() * b.value();
  if (std::isnormal(square) && std::isfinite(1.0 / square)) return a / b;
  const double value = a.value() / b.value();
  return Eigen::AutoDiffScalar<Derivatives>(
      value, a.derivatives() / b.value() - b.derivatives() * (value / b.value()));
}

template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Chained(const Eigen::AutoDiffScalar<Derivatives>& x,
                                           double value, double slope) {
  return Eigen::AutoDiffScalar<Derivatives>(value, x.derivatives() * slope);
}

template <class Derivatives>
double Value(const Eigen::AutoDiffScalar<Derivatives>& x) {
  return x.value();
}

// x^e with both operands carrying derivatives: e x^(e-1) dx + x^e ln(x) de.
template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Power(const Eigen::AutoDiffScalar<Derivatives>& x,
                                         const Eigen::AutoDiffScalar<Derivatives>& e) {
  const double value = std::pow(x.value(), e.value());
  const double dx = x.value() == 0.0 ? 0.0 : e.value() * value / x.value();
  const double de = x.value() > 0.0 ? value * std::log(x.value()) : 0.0;
  return Eigen::AutoDiffScalar<Derivatives>(value, x.derivatives() * dx + e.derivatives() * de);
}

template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Power(const Eigen::AutoDiffScalar<Derivatives>& x, double e) {
  const double value = std::pow(x.value(), e);
  return Chained(x, value, x.value() == 0.0 ? 0.0 : e * value / x.value());
}

template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Cbrt(const Eigen::AutoDiffScalar<Derivatives>& x) {
  const double value = std::cbrt(x.value());
  return Chained(x, value, x.value() == 0.0 ? 0.0 : value / (3.0 * x.value()));
}

template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Expm1(const Eigen::AutoDiffScalar<Derivatives>& x) {
  return Chained(x, std::expm1(x.value()), std::exp(x.value()));
}

template <class Derivatives>
Eigen::AutoDiffScalar<Derivatives> Log1p(const Eigen::AutoDiffScalar<Derivatives>& x) {
  return Chained(x, std::log1p(x.value()), 1.0 / (1.0 + x.value()));
}

// -ln(1 - y) / y and (e^z - 1) / z, each 1 at 0 (with its slope 1/2 there),
// accurate for the smallest arguments through log1p and expm1.
template <class S>
S LogOfComplementRatio(const S& y) {
  if (Value(y) == 0.0) return S(1.0 + y / 2.0);
  return S(-Log1p(S(-y)) / y);
}
template <class S>
S Expm1Ratio(const S& z) {
  if (Value(z) == 0.0) return S(1.0 + z / 2.0);
  return S(Expm1(z) / z);
}

}  // namespace quorvane::models
