#include "app/axial_state.h"

#include <cmath>
#include <variant>

#include "app/input_error.h"
#include "app/scale_pressure.h"
#include "models/model_pressure.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::app {

Axis AxisOf(const std::string& name, const scales::Scale& file, const std::string& quoted) {
  const auto* cubed = std::get_if<scales::VolumeScale>(&file);
  if (!cubed) throw InputError(quoted + " names no parameter file");
  return {name, *cubed};
}

AxisState AxisStateAt(const Axis& axis, double P, double T, const std::string& what) {
  const double V = CalibrantVolume(axis.cubed, P, T, what + ", axis " + axis.name);
  AxisState state;
  state.L = std::cbrt(V);
  if (axis.cubed.covariance) {
    const double sigV = params::VolumeUncertainty(axis.cubed.model, *axis.cubed.covariance, V, T);
    state.sigL = state.L * sigV / (3.0 * V);
  }
  state.beta = 1.0 / (3.0 * models::BulkModulus(axis.cubed.model, V, T));
  return state;
}

}  // namespace quorvane::app
