#include "engine/isothermal_eos.h"

#include "engine/isothermal_curve.h"

namespace quorvane::engine {

double PressureFromVolume(const EosParameters& parameters, double V, double T) {
  return IsothermalCurve(parameters, T).Pressure(V);
}

}  // namespace quorvane::engine
