#pragma once

#include "engine/volume_solver.h"
#include "models/model.h"

namespace quorvane::models {

// The volume whose pressure at T is nearest P, by the same exact search as
// the calculator's equations: none of the doubles beside it gives a strictly
// smaller residual. The root is sought on the branch through the zero-pressure
// volume at T; a pressure that branch never reaches is not converged. For the
// calculator family in its own arithmetic this is the engine's very search.
engine::VolumeSolution VolumeFromPressure(const Model& model, double P, double T);

// V(T,0): the volume at zero pressure and temperature T, a search of its own
// for the thermal-pressure models (not converged where there is none).
engine::VolumeSolution ZeroPressureVolume(const Model& model, double T);

}  // namespace quorvane::models
