#include "models/model_pressure.h"

#include <limits>

#include "engine/isothermal_eos.h"
#include "models/calculator_parameters.h"

namespace quorvane::models {
namespace {

constexpr int kVolumeSlot = kParameterCount;
constexpr int kTemperatureSlot = kParameterCount + 1;
using Gradient = Eigen::Matrix<double, kParameterCount + 2, 1>;
using Dual = Eigen::AutoDiffScalar<Gradient>;

bool HasPressure(const Model& model, double V, double T) {
  if (!(V > 0.0)) return false;
  return !Info(model.thermal).thermalPressure || T > 0.0;
}

Dual Seeded(double value, int slot) {
  return Dual(value, Gradient::Unit(slot));
}

}  // namespace

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

double BulkModulus(const Model& model, double V, double T) {
  using VolumeDual = Eigen::AutoDiffScalar<Eigen::Matrix<double, 1, 1>>;
  ParameterArray<VolumeDual> p;
  for (int i = 0; i < kParameterCount; ++i)
    p[i] = VolumeDual(model.values[i], Eigen::Matrix<double, 1, 1>::Zero());
  const VolumeDual P = ModelPressure(model, p, VolumeDual(V, Eigen::Matrix<double, 1, 1>::Ones()),
                                     VolumeDual(T, Eigen::Matrix<double, 1, 1>::Zero()));
  return -V * P.derivatives()[0];
}

}  // namespace quorvane::models
