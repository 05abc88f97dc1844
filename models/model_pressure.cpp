#include "models/model_pressure.h"

#include <cmath>
#include <limits>

#include "engine/isothermal_eos.h"
#include "models/calculator_parameters.h"

namespace quorvane::models {
namespace {

constexpr int kVolumeSlot = kParameterCount;
constexpr int kTemperatureSlot = kParameterCount + 1;
using Gradient = Eigen::Matrix<double, kParameterCount + 2, 1>;
using Dual = Eigen::AutoDiffScalar<Gradient>;

Dual Seeded(double value, int slot) {
  return Dual(value, Gradient::Unit(slot));
}

// The derivatives by the slots of a gradient of N entries; slots beyond the
// ones asked for stay zero.
template <int N>
PressureGradient SomeDerivatives(const Model& model, double V, double T,
                                 std::span<const Parameter> parameters, bool volumeAndTemperature) {
  using Slots = Eigen::Matrix<double, N, 1>;
  using Scalar = Eigen::AutoDiffScalar<Slots>;
  ParameterArray<Scalar> p;
  for (int i = 0; i < kParameterCount; ++i) p[i] = Scalar(model.values[i], Slots::Zero());
  const int count = static_cast<int>(parameters.size());
  for (int k = 0; k < count; ++k) p[Index(parameters[k])].derivatives()[k] = 1.0;
  Scalar volume(V, Slots::Zero()), temperature(T, Slots::Zero());
  if (volumeAndTemperature) {
    volume.derivatives()[count] = 1.0;
    temperature.derivatives()[count + 1] = 1.0;
  }
  const Scalar P = ModelPressure(model, p, volume, temperature);
  PressureGradient result;
  // The formula's value is the engine's own for the calculator family.
  result.P = HasPressure(model, V, T) ? P.value() : std::numeric_limits<double>::quiet_NaN();
  for (int k = 0; k < count; ++k) result.dP[Index(parameters[k])] = P.derivatives()[k];
  if (volumeAndTemperature) {
    result.dPdV = P.derivatives()[count];
    result.dPdT = P.derivatives()[count + 1];
  }
  return result;
}

}  // namespace

bool HasPressure(const Model& model, double V, double T) {
  if (!(V > 0.0)) return false;
  return !Info(model.thermal).thermalPressure || T > 0.0;
}

double MolarVolumeFactor(const Model& model) {
  if (model.volumeUnit == VolumeUnit::CubicCentimetresPerMole) return 1.0;
  return kMolarVolumePerCubicAngstrom / model.Z;
}

double Pressure(const Model& model, double V, double T) {
  if (!HasPressure(model, V, T)) return std::numeric_limits<double>::quiet_NaN();
  if (model.arithmetic == Arithmetic::Calculator && IsCalculatorFamily(model)) {
    return engine::PressureFromVolume(CalculatorParameters(model), V, T);
  }
  return ModelPressure(model, model.values, V, T);
}

PressureGradient PressureWithGradient(const Model& model, double V, double T) {
  PressureGradient result;
  ParameterArray<Dual> p;
  for (int i = 0; i < kParameterCount; ++i) p[i] = Seeded(model.values[i], i);
  const Dual P = ModelPressure(model, p, Seeded(V, kVolumeSlot), Seeded(T, kTemperatureSlot));
  result.P = Pressure(model, V, T);
  for (int i = 0; i < kParameterCount; ++i) result.dP[i] = P.derivatives()[i];
  result.dPdV = P.derivatives()[kVolumeSlot];
  result.dPdT = P.derivatives()[kTemperatureSlot];
  return result;
}

PressureGradient PressureWithGradient(const Model& model, double V, double T,
                                      std::span<const Parameter> parameters,
                                      bool volumeAndTemperature) {
  // A few sizes of gradient, so that the cost follows what is asked for.
  const std::size_t slots = parameters.size() + (volumeAndTemperature ? 2 : 0);
  if (slots <= 2) return SomeDerivatives<2>(model, V, T, parameters, volumeAndTemperature);
  if (slots <= 4) return SomeDerivatives<4>(model, V, T, parameters, volumeAndTemperature);
  if (slots <= 8) return SomeDerivatives<8>(model, V, T, parameters, volumeAndTemperature);
  return PressureWithGradient(model, V, T);
}

double BulkModulus(const Model& model, double V, double T) {
  return -V * PressureWithGradient(model, V, T, {}, true).dPdV;
}

}  // namespace quorvane::models
