#pragma once

#include "engine/eos_parameters.h"

// The single process-wide parameter set and state point the calculator works
// on, and the argument-less operations that read them.
namespace quorvane::engine {

EosParameters& TheEosParameters();
WorkingPoint& TheWorkingPoint();

void UpdateImpliedCoefficients();
double PressureFromVolume(double V, double T);
double VolumeFromPressure(double P, double T);
double ZeroPressureVolume(double T);
double TemperatureFromZeroPressureVolume(double VT0);
double ThermalBulkModulus(double T);

}  // namespace quorvane::engine
