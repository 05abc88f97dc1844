#pragma once

#include <pybind11/pybind11.h>

namespace quorvane::python {

// Adds the pressure scales to the module: their list, a calibrant's pressure
// with its sigP, and pressures moved from one scale to another.
void BindScales(pybind11::module_& module);

}  // namespace quorvane::python
