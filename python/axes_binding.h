#pragma once

#include <pybind11/pybind11.h>

namespace quorvane::python {

// Adds the cell edges at P and T from the parameter files of their axial
// fits, and the cell volume they make, as quorvane-eos axes computes them.
void BindAxes(pybind11::module_& module);

}  // namespace quorvane::python
