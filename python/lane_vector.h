#pragma once

// Lanes of doubles that the catalogue's formula templates compute with, one
// instruction for all lanes: + - * / are the vector's own (so each lane is
// the very double the scalar formula gives) and the elementary functions are
// SLEEF's (1 ulp; the cube root 3.5, see the Isa). Isa names the vector type and SLEEF's functions
// for one instruction set; each translation unit built for a set instantiates these templates with
// an Isa of its own, in an unnamed namespace, so that no code compiled for one set is shared with
// code run on a processor without it.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "models/debye_integral.h"
#include "models/model.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/thermal_equations.h"

namespace quorvane::python {

template <class Isa>
class Lanes {
 public:
  using Native = typename Isa::Native;
  static constexpr int kCount = Isa::kCount;

  Lanes() = default;
  // Implicit: the formulas mix plain doubles in.
  Lanes(double x) : v_(Native{} + x) {}
  explicit Lanes(Native v) : v_(v) {}

  Native native() const { return v_; }

  friend Lanes operator+(const Lanes& a, const Lanes& b) { return Lanes(a.v_ + b.v_); }
  friend Lanes operator-(const Lanes& a, const Lanes& b) { return Lanes(a.v_ - b.v_); }
  friend Lanes operator*(const Lanes& a, const Lanes& b) { return Lanes(a.v_ * b.v_); }
  friend Lanes operator/(const Lanes& a, const Lanes& b) { return Lanes(a.v_ / b.v_); }
  friend Lanes operator-(const Lanes& a) { return Lanes(-a.v_); }

  friend Lanes exp(const Lanes& x) { return Lanes(Isa::Exp(x.v_)); }
  friend Lanes log(const Lanes& x) { return Lanes(Isa::Log(x.v_)); }
  friend Lanes sinh(const Lanes& x) { return Lanes(Isa::Sinh(x.v_)); }
  friend Lanes Expm1(const Lanes& x) { return Lanes(Isa::Expm1(x.v_)); }
  friend Lanes Log1p(const Lanes& x) { return Lanes(Isa::Log1p(x.v_)); }
  friend Lanes Cbrt(const Lanes& x) { return Lanes(Isa::Cbrt(x.v_)); }
  friend Lanes Power(const Lanes& x, const Lanes& e) { return Lanes(Isa::Pow(x.v_, e.v_)); }
  friend Lanes Power(const Lanes& x, double e) { return Lanes(Isa::Pow(x.v_, Lanes(e).v_)); }

  // The Debye integral has no vector form of its own: each lane takes the
  // scalar one, the catalogue's within 3 ulp.
  friend Lanes DebyeIntegral(const Lanes& x) {
    Lanes result;
    for (int i = 0; i < kCount; ++i) result.v_[i] = models::DebyeIntegral(x.v_[i]);
    return result;
  }

  // The scalar ratios' branch at 0, taken lane by lane.
  friend Lanes LogOfComplementRatio(const Lanes& y) {
    const Lanes ratio = -Log1p(-y) / y;
    return Lanes(y.v_ == 0.0 ? Native{} + 1.0 : ratio.v_);
  }
  friend Lanes Expm1Ratio(const Lanes& z) {
    const Lanes ratio = Expm1(z) / z;
    return Lanes(z.v_ == 0.0 ? Native{} + 1.0 : ratio.v_);
  }

  // The scalar GrowthOfPower's branch, taken lane by lane.
  friend models::PowerGrowth<Lanes> GrowthOfPower(const Lanes& q, const Lanes& L) {
    const Lanes qL = q * L;
    const Lanes less1 = Expm1(qL);
    const Lanes series = L * (1.0 + qL / 2.0 + qL * qL / 6.0);
    const Lanes ratio = less1 / q;
    Lanes overQ;
    for (int i = 0; i < kCount; ++i) {
      overQ.v_[i] = std::fabs(qL.v_[i]) < kSeriesBelow ? series.v_[i] : ratio.v_[i];
    }
    return {less1, overQ};
  }

 private:
  // Where the scalar GrowthOfPower turns to its series.
  static constexpr double kSeriesBelow = 1e-5;
  Native v_;
};

// P(V,T) of a textbook model over n points, the lanes filled from V and T and
// the last lanes of a short batch padded with the last point.
template <class Isa, class Temperatures>
__attribute__((always_inline)) inline void BatchesInLanes(
    const models::Model& shape, const models::ParameterArray<Lanes<Isa>>& p, const double* V,
    std::size_t n, const Temperatures& temperatureAt, double* out) {
  using L = Lanes<Isa>;
  using Native = typename Isa::Native;
  constexpr auto kCount = static_cast<std::size_t>(L::kCount);
  const bool thermalPressure = models::Info(shape.thermal).thermalPressure;
  for (std::size_t first = 0; first < n; first += kCount) {
    Native volume;
    if (first + kCount <= n) {
      std::memcpy(&volume, V + first, sizeof volume);
    } else {
      for (std::size_t k = 0; k < kCount; ++k) volume[k] = V[std::min(first + k, n - 1)];
    }
    const Native temperature = temperatureAt(first);
    Native P = models::ModelPressure(shape, p, L(volume), L(temperature)).native();
    // Where the scalar model has no pressure, neither have the lanes.
    const auto has = thermalPressure ? (volume > 0.0) & (temperature > 0.0) : volume > 0.0;
    P = has ? P : Native{} + __builtin_nan("");
    // Stores of doubles, which cannot change the model's shape, unlike memcpy.
    for (std::size_t k = 0; k < kCount && first + k < n; ++k) out[first + k] = P[k];
  }
}

// The same where T[i * stride] is the temperature of point i (a stride of 0:
// one for all). Flattened, with the model's shape held locally, so that the
// terms of the parameters alone (implied coefficients, the scaled expansion,
// and with one temperature V(T,0) and K(T)) may be computed once outside the
// loop rather than in every batch.
template <class Isa>
__attribute__((flatten)) void PressuresInLanes(const models::Model& model, const double* values,
                                               const double* V, const double* T, std::size_t stride,
                                               std::size_t n, double* out) {
  using L = Lanes<Isa>;
  using Native = typename Isa::Native;
  constexpr auto kCount = static_cast<std::size_t>(L::kCount);
  models::Model shape;
  shape.equation = model.equation;
  shape.order = model.order;
  shape.thermal = model.thermal;
  shape.arithmetic = model.arithmetic;
  shape.volumeUnit = model.volumeUnit;
  shape.Z = model.Z;
  models::ParameterArray<L> p;
  for (int i = 0; i < models::kParameterCount; ++i) p[i] = L(values[i]);
  if (stride == 0) {
    const Native temperature = Native{} + T[0];
    BatchesInLanes<Isa>(
        shape, p, V, n, [temperature](std::size_t) { return temperature; }, out);
    return;
  }
  BatchesInLanes<Isa>(
      shape, p, V, n,
      [T, n](std::size_t first) {
        Native temperature;
        if (first + kCount <= n) {
          std::memcpy(&temperature, T + first, sizeof temperature);
        } else {
          for (std::size_t k = 0; k < kCount; ++k) temperature[k] = T[std::min(first + k, n - 1)];
        }
        return temperature;
      },
      out);
}

}  // namespace quorvane::python
