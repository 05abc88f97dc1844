#pragma once

#include <pybind11/pybind11.h>

namespace quorvane::python {

// Adds fit(...) over the fitting library to the module.
void BindFit(pybind11::module_& module);

}  // namespace quorvane::python
