#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "models/model.h"
#include "python/array_map.h"

namespace quorvane::python {

// Whether the model computes along the calculator's own path (its family in
// its own arithmetic), whose doubles the module keeps to the last bit.
bool ComputesAsTheForm(const models::Model& model);

// The catalogue's formulas over flat arrays of equal size, for every model
// the calculator's path does not compute. The volumes are the exact search's.
// ModelPressures takes one temperature for all as well, where
// HasLanePressures (python/lane_pressures.h).
Array ModelPressures(const models::Model& model, const Array& V, const Array& T);
pybind11::tuple ModelVolumes(const models::Model& model, const Array& P, const Array& T);
Array ModelZeroPressureVolumes(const models::Model& model, const Array& T);
Array ModelZeroPressureModuli(const models::Model& model, const Array& T);
pybind11::tuple ModelStates(const models::Model& model, const std::string& known,
                            const Array& values, const Array& partners);

// K_T = -V dP/dV at V and T, for every model.
Array BulkModuli(const models::Model& model, const Array& V, const Array& T);

}  // namespace quorvane::python
