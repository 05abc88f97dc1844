#pragma once

#include <pybind11/pybind11.h>

namespace quorvane::python {

// Adds the thermodynamic properties at state points and the isentrope to
// the module, computed by the very functions of quorvane-eos's table.
void BindProperties(pybind11::module_& module);

}  // namespace quorvane::python
