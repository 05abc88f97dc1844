#include "python/properties_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/eos_request.h"
#include "app/property_columns.h"
#include "app/state_rows.h"
#include "engine/state_point.h"
#include "models/isentrope.h"
#include "models/model_catalogue.h"
#include "models/model_volume.h"
#include "python/array_map.h"
#include "python/parallel_loop.h"

namespace py = pybind11;

namespace quorvane::python {
namespace {

using Matrix = py::array_t<double, py::array::c_style | py::array::forcecast>;

std::optional<params::ParameterCovariance> CovarianceOf(
    const std::optional<std::vector<std::string>>& refined, const std::optional<Matrix>& matrix) {
  if (!refined || !matrix) return std::nullopt;
  params::ParameterCovariance covariance;
  for (const std::string& name : *refined) {
    const auto parameter = models::ParameterFromName(name);
    if (!parameter) throw py::value_error("refined: unknown parameter \"" + name + "\"");
    covariance.refined.push_back(*parameter);
  }
  const auto m = static_cast<py::ssize_t>(covariance.refined.size());
  if (matrix->ndim() != 2 || matrix->shape(0) != m || matrix->shape(1) != m) {
    throw py::value_error("covariance: not a square matrix of the refined parameters");
  }
  const auto entries = matrix->unchecked<2>();
  covariance.matrix.assign(m, std::vector<double>(m));
  for (py::ssize_t i = 0; i < m; ++i) {
    for (py::ssize_t j = 0; j < m; ++j) covariance.matrix[i][j] = entries(i, j);
  }
  return covariance;
}

// The property columns of each state point, as quorvane-eos --properties
// writes them, keyed by their names; V (the volume found at a known P) too.
py::dict Properties(const models::Model& model, const std::string& known, const Array& values,
                    const Array& T, std::optional<double> molarMass,
                    std::optional<std::vector<std::string>> refined,
                    std::optional<Matrix> covarianceMatrix, std::optional<double> einsteinAtoms) {
  RequireSameSize(values, T);
  app::EosRequest request;
  request.model = model;
  request.known = known == "P" ? app::KnownQuantity::Pressure : app::KnownQuantity::Volume;
  request.properties = {true, molarMass, einsteinAtoms};
  request.covariance = CovarianceOf(refined, covarianceMatrix);
  const app::PropertySet set = app::PropertiesOf(request);
  const int columns = set.ValueCount();
  const py::ssize_t count = values.size();
  std::vector<Array> arrays;
  std::vector<double*> out;
  for (int c = 0; c < columns; ++c) {
    arrays.emplace_back(count);
    out.push_back(arrays.back().mutable_data());
  }
  Array volumes(count);
  double* V = volumes.mutable_data();
  const double* value = values.data();
  const double* temperature = T.data();
  {
    py::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(count), [&](std::size_t begin, std::size_t end) {
      std::array<double, 2 * app::kPropertyCount> row{};
      const std::span<double> span(row.data(), static_cast<std::size_t>(columns));
      for (std::size_t i = begin; i < end; ++i) {
        const app::StateRow state = app::ComputeStateRow(
            request.model, request.known, app::PressureSolver::Exact, {value[i], temperature[i]});
        app::ComputeProperties(request, set, state, span);
        V[i] = state.point.V;
        for (int c = 0; c < columns; ++c) out[c][i] = row[c];
      }
    });
  }
  py::dict result;
  for (int c = 0; c < columns; ++c) result[set.Name(c)] = arrays[c];
  result["V"] = volumes;
  return result;
}

// The temperatures along the isentrope through (P0, T0) at each pressure,
// with the volumes the exact search finds there, as quorvane-eos --isentrope
// lists them.
py::tuple Isentrope(const models::Model& model, const Array& P, double P0, double T0) {
  if (!models::HasClosedFormIsentrope(model)) {
    throw py::value_error(std::string("the ") + models::Info(model.thermal).name +
                          " thermal model has no entropy of its own; the isentrope is that of mgd");
  }
  const engine::VolumeSolution start = models::VolumeFromPressure(model, P0, T0);
  if (!engine::IsVolumeFound(start)) throw py::value_error("P0 is not reached at T0");
  const py::ssize_t count = P.size();
  Array temperatures(count), volumes(count);
  double* T = temperatures.mutable_data();
  double* V = volumes.mutable_data();
  const double* pressure = P.data();
  {
    py::gil_scoped_release release;
    // Each point starts from its neighbour's volume, so one thread walks them all.
    double guess = start.V;
    for (py::ssize_t i = 0; i < count; ++i) {
      T[i] = T0;
      if (pressure[i] != P0) {
        const models::IsentropePoint point =
            models::IsentropeAt(model, start.V, T0, pressure[i], guess);
        if (point.converged) guess = point.V;
        T[i] = point.converged ? point.T : std::numeric_limits<double>::quiet_NaN();
      }
      V[i] = app::ComputeStateRow(model, app::KnownQuantity::Pressure, app::PressureSolver::Exact,
                                  {pressure[i], T[i]})
                 .point.V;
    }
  }
  return py::make_tuple(temperatures, volumes);
}

}  // namespace

void BindProperties(py::module_& module) {
  module.def("properties", &Properties, py::arg("model"), py::arg("known"), py::arg("values"),
             py::arg("T"), py::arg("molar_mass") = py::none(), py::arg("refined") = py::none(),
             py::arg("covariance") = py::none(), py::arg("einstein_atoms") = py::none(),
             "The thermodynamic properties at a known P or V and T over flat arrays, as a dict.");
  module.def("isentrope", &Isentrope, py::arg("model"), py::arg("P"), py::arg("P0"), py::arg("T0"),
             "(T, V) along the isentrope through (P0, T0) at each pressure.");
}

}  // namespace quorvane::python
