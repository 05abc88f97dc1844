#pragma once

#include <pybind11/pybind11.h>

namespace quorvane::python {

// Adds the parameter-file reader and writer of the command line to the
// module, so that load and save keep the command line's rules.
void BindParameterFile(pybind11::module_& module);

}  // namespace quorvane::python
