#include "python/axes_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/axial_cell.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "python/array_map.h"

namespace quorvane::python {
namespace {

namespace py = pybind11;

// The argument the error lines name, as the command line names its --axis.
constexpr const char* kFiles = "files";

app::AxialCell CellOf(const std::vector<std::string>& names, const std::vector<std::string>& paths,
                      const std::string& folder, const app::CellAngles& angles) {
  if (names.empty())
    throw app::InputError(std::string(kFiles) + ": which axes? (name -> parameter file)");
  if (names.size() != paths.size()) throw app::InputError("the axes and files differ in number");
  app::AxialCell cell;
  std::set<std::string> seen;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string quoted =
        std::string(kFiles) + ": " + app::QuotedInput(names[k] + "=" + paths[k]);
    // The columns are keyed by name: an axis needs one of its own.
    if (names[k].empty()) throw app::InputError(quoted + " gives the axis no name");
    if (!seen.insert(names[k]).second)
      throw app::InputError(quoted + " names axis " + app::SafeText(names[k]) + " again");
    cell.axes.push_back(app::AxisOf(names[k], app::ScaleOption(kFiles, paths[k], folder), quoted));
  }
  const char* angleNames[app::kCellEdges] = {"alpha", "beta", "gamma"};
  for (std::size_t i = 0; i < app::kCellEdges; ++i)
    cell.angles[i] = app::CellAngle(angles[i], angleNames[i]);
  app::RequireCell(cell.angles, "alpha, beta, gamma");
  return cell;
}

// The columns of quorvane-eos axes but P and T, as flat arrays over the
// points (P[i], T[i]); T None takes the first file's T(ref), as there.
py::dict Axes(const std::vector<std::string>& names, const std::vector<std::string>& paths,
              const std::string& folder, const Array& P, const std::optional<Array>& T,
              const app::CellAngles& angles) {
  const app::AxialCell cell = CellOf(names, paths, folder, angles);
  if (T && T->size() != P.size()) throw app::InputError("the arrays differ in size");
  const double defaultT = app::DefaultTemperature(cell.axes.front().cubed);
  const std::vector<std::string> columns = cell.Columns();
  const py::ssize_t n = P.size();
  std::vector<Array> values;
  for (std::size_t k = 0; k < columns.size(); ++k) values.emplace_back(n);
  Flags inRange(n);
  for (py::ssize_t i = 0; i < n; ++i) {
    const double t = T ? T->data()[i] : defaultT;
    const std::vector<double> row = cell.Row(P.data()[i], t, "value " + std::to_string(i));
    for (std::size_t k = 0; k < row.size(); ++k) values[k].mutable_data()[i] = row[k];
    // The axes carry no calibrated range.
    inRange.mutable_data()[i] = true;
  }
  py::dict out;
  for (std::size_t k = 0; k < columns.size(); ++k) out[columns[k].c_str()] = values[k];
  out["in_range"] = inRange;
  return out;
}

}  // namespace

void BindAxes(py::module_& module) {
  module.def("axes", &Axes, py::arg("names"), py::arg("paths"), py::arg("folder"), py::arg("P"),
             py::arg("T"), py::arg("angles"),
             "Cell edges, their sigmas and linear compressibilities at (P, T) over flat arrays, "
             "with three edges the cell volume and its sigma, and in_range.");
}

}  // namespace quorvane::python
