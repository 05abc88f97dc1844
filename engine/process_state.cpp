#include "engine/process_state.h"

#include "engine/isothermal_eos.h"
#include "engine/thermal_model.h"
#include "engine/volume_solver.h"

namespace quorvane::engine {

EosParameters& TheEosParameters() {
  static EosParameters parameters;
  return parameters;
}

WorkingPoint& TheWorkingPoint() {
  static WorkingPoint point;
  return point;
}

void UpdateImpliedCoefficients() {
  UpdateImpliedCoefficients(TheEosParameters());
}

double PressureFromVolume(double V, double T) {
  return PressureFromVolume(TheEosParameters(), V, T);
}

double VolumeFromPressure(double P, double T) {
  return VolumeFromPressure(TheEosParameters(), P, T);
}

double ZeroPressureVolume(double T) {
  return ZeroPressureVolume(TheEosParameters(), T);
}

double TemperatureFromZeroPressureVolume(double VT0) {
  return TemperatureFromZeroPressureVolume(TheEosParameters(), VT0);
}

double ThermalBulkModulus(double T) {
  return ThermalBulkModulus(TheEosParameters(), T);
}

}  // namespace quorvane::engine
