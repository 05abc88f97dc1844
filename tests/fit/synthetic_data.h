#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/eos_parameters.h"
#include "fit/fit_data.h"
#include "models/calculator_parameters.h"
#include "models/model.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"

namespace quorvane::fit::testing {

// Every equation of state the calculator computes, at every order it offers.
struct Shape {
  models::Equation equation;
  int order;
};

inline constexpr Shape kCalculatorShapes[] = {
    {models::Equation::Murnaghan, 3},      {models::Equation::BirchMurnaghan, 2},
    {models::Equation::BirchMurnaghan, 3}, {models::Equation::BirchMurnaghan, 4},
    {models::Equation::Vinet, 2},          {models::Equation::Vinet, 3},
    {models::Equation::NaturalStrain, 2},  {models::Equation::NaturalStrain, 3},
    {models::Equation::NaturalStrain, 4},
};

// Points on the isotherms of a known model: volumes from V(T,0) down to 70 %
// of it, with the model's exact pressures (the engine's for the calculator's
// models).
inline FitData SyntheticData(const models::Model& truth, const std::vector<double>& T,
                             int pointsPerIsotherm) {
  FitData data;
  for (double t : T) {
    const double VT0 = models::ZeroPressureVolume(truth, t).V;
    for (int i = 0; i < pointsPerIsotherm; ++i) {
      Observation point;
      point.T = t;
      point.V = VT0 * (1.0 - 0.3 * i / (pointsPerIsotherm - 1));
      point.P = models::Pressure(truth, point.V, t);
      data.points.push_back(point);
    }
  }
  return data;
}

inline FitData SyntheticData(const engine::EosParameters& truth, const std::vector<double>& T,
                             int pointsPerIsotherm) {
  return SyntheticData(models::FromCalculatorParameters(truth), T, pointsPerIsotherm);
}

// Gaussian deviates from a fixed 64-bit generator and the Box-Muller
// transform, the same on every platform and standard library.
class GaussianNoise {
 public:
  explicit GaussianNoise(std::uint64_t seed) : state_(seed) {}
  double Next() {
    const double u1 = Uniform();
    const double u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  }

 private:
  // splitmix64, mapped onto (0, 1].
  double Uniform() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return (static_cast<double>(z >> 11) + 1.0) * 0x1.0p-53;
  }
  std::uint64_t state_;
};

}  // namespace quorvane::fit::testing
