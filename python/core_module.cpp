// The compiled half of the quorvane Python package: the engine's operations
// over flat float64 arrays. The Python half broadcasts, checks the inputs and
// shapes the results.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/input_error.h"
#include "app/parameter_options.h"
#include "app/state_rows.h"
#include "engine/eos_parameters.h"
#include "engine/exact_volume_solver.h"
#include "engine/isothermal_curve.h"
#include "engine/isothermal_eos.h"
#include "engine/state_point.h"
#include "engine/thermal_model.h"
#include "engine/volume_solver.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "python/axes_binding.h"
#include "python/lane_pressures.h"
#include "python/model_arrays.h"
#include "python/parallel_loop.h"
#include "python/parameter_file_binding.h"
#include "python/properties_binding.h"
#include "python/scale_binding.h"
#ifdef QUORVANE_WITH_FIT
#include "python/fit_binding.h"
#endif

namespace py = pybind11;

namespace quorvane::python {
namespace {

using engine::EosParameters;
using models::Model;

// The model from option texts keyed by the command line's names ("V0",
// "order", "volume-unit", ...), checked and completed exactly as quorvane-eos
// does.
Model ModelFromTexts(const std::map<std::string, std::string>& texts) {
  app::TypedOptions options;
  for (const auto& [name, text] : texts) options.values["--" + name] = text;
  return app::ModelFromOptions(options);
}

constexpr const char* kFormSearchOnly =
    "solver: the form's search computes only the calculator's equations with the linear "
    "thermal model, in the calculator's arithmetic";

// Calls f(isotherm, first, last) for each run [first, last) of equal
// temperatures in [begin, end): arrays often repeat one temperature, and one
// isotherm then serves the whole run as a batch.
template <typename F>
void ForEachIsotherm(const EosParameters& p, const double* temperature, std::size_t begin,
                     std::size_t end, F f) {
  for (std::size_t first = begin; first < end;) {
    std::size_t last = first + 1;
    while (last < end && temperature[last] == temperature[first]) ++last;
    f(engine::IsothermalCurve(p, temperature[first]), first, last);
    first = last;
  }
}

// Arrays of one temperature for every volume; the lanes read T in place.
Array Repeated(const Array& T, py::ssize_t size) {
  Array repeated(size);
  std::fill_n(repeated.mutable_data(), size, T.data()[0]);
  return repeated;
}

Array Pressure(const Model& model, const Array& V, const Array& T) {
  if (T.size() == 1 && V.size() != 1 && !HasLanePressures(model)) {
    return Pressure(model, V, Repeated(T, V.size()));
  }
  if (!ComputesAsTheForm(model)) return ModelPressures(model, V, T);
  const EosParameters p = models::CalculatorParameters(model);
  RequireSameSize(V, T);
  Array result(V.size());
  const double* volume = V.data();
  const double* temperature = T.data();
  double* out = result.mutable_data();
  {
    py::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(V.size()), [&](std::size_t begin, std::size_t end) {
      ForEachIsotherm(
          p, temperature, begin, end,
          [&](const engine::IsothermalCurve& isotherm, std::size_t first, std::size_t last) {
            isotherm.Pressures(volume + first, last - first, out + first);
          });
    });
  }
  return result;
}

py::tuple Volume(const Model& model, const Array& P, const Array& T, bool exact) {
  if (!ComputesAsTheForm(model)) {
    if (!exact) throw py::value_error(kFormSearchOnly);
    return ModelVolumes(model, P, T);
  }
  const EosParameters p = models::CalculatorParameters(model);
  RequireSameSize(P, T);
  const auto count = static_cast<std::size_t>(P.size());
  Array volumes(P.size());
  Flags converged(P.size());
  const double* pressure = P.data();
  const double* temperature = T.data();
  double* V = volumes.mutable_data();
  bool* reached = converged.mutable_data();
  {
    py::gil_scoped_release release;
    ParallelFor(count, [&](std::size_t begin, std::size_t end) {
      if (!exact) {
        // The form's search takes one point at a time, as the form does.
        for (std::size_t i = begin; i < end; ++i) {
          const engine::VolumeSolution s =
              engine::SolveVolumeFromPressure(p, pressure[i], temperature[i]);
          V[i] = s.V;
          reached[i] = engine::IsVolumeFound(s);
        }
        return;
      }
      std::vector<engine::VolumeSolution> solutions;
      ForEachIsotherm(
          p, temperature, begin, end,
          [&](const engine::IsothermalCurve& isotherm, std::size_t first, std::size_t last) {
            solutions.resize(last - first);
            engine::SolveVolumesExactly(isotherm, pressure + first, last - first, solutions.data());
            for (std::size_t i = first; i < last; ++i) {
              V[i] = solutions[i - first].V;
              reached[i] = engine::IsVolumeFound(solutions[i - first]);
            }
          });
    });
  }
  return py::make_tuple(volumes, converged);
}

// The names of the parameters the model takes as given, in the catalogue's
// order with Tref last: all it uses but the K'0 and K''0 its equation and
// order imply.
std::vector<std::string> GivenNames(const Model& model) {
  std::vector<std::string> names;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    if (parameter != models::Parameter::Tref &&
        models::RoleOf(model, parameter) == models::Role::Free) {
      names.emplace_back(models::Info(parameter).name);
    }
  }
  names.emplace_back("Tref");
  return names;
}

// The quantity a state is computed from, as the command line names it.
enum class Known { Pressure, Volume, VolumeOverV00, ZeroPressureVolume, VolumeOverVT0 };

Known KnownFromName(const std::string& name) {
  if (name == "P") return Known::Pressure;
  if (name == "V") return Known::Volume;
  if (name == "V/V00") return Known::VolumeOverV00;
  if (name == "VT0") return Known::ZeroPressureVolume;
  if (name == "V/VT0") return Known::VolumeOverVT0;
  throw py::value_error("unknown quantity \"" + name + "\"");
}

engine::SolvedState StateOf(const EosParameters& p, Known known, double value, double partner,
                            bool exact) {
  switch (known) {
    case Known::Pressure:
      return exact ? engine::SolveStateExactlyFromPressure(p, value, partner)
                   : engine::SolveStateFromPressure(p, value, partner);
    case Known::Volume:
      return {engine::StateFromVolume(p, value, partner), {}};
    case Known::VolumeOverV00:
      return {engine::StateFromVolumeOverV00(p, value, partner), {}};
    case Known::ZeroPressureVolume:
      return {engine::StateFromZeroPressureVolume(p, value, partner), {}};
    case Known::VolumeOverVT0:
      return {engine::StateFromVolumeOverVT0(p, value, partner), {}};
  }
  return {};
}

// The state point along the calculator's path for the known quantity: the six
// columns P, T, V, V/V00, VT0, V/VT0 and whether each volume was found.
py::tuple State(const Model& model, const std::string& knownName, const Array& values,
                const Array& partners, bool exact) {
  if (!ComputesAsTheForm(model)) {
    if (!exact) throw py::value_error(kFormSearchOnly);
    return ModelStates(model, knownName, values, partners);
  }
  const EosParameters p = models::CalculatorParameters(model);
  RequireSameSize(values, partners);
  const Known known = KnownFromName(knownName);
  return MapStates(values, partners, [&](double value, double partner, StateRowValues& row) {
    const engine::SolvedState s = StateOf(p, known, value, partner, exact);
    row = app::StateValues(s.point);
    return known != Known::Pressure || engine::IsVolumeFound(s.solution);
  });
}

Array ZeroPressureVolumes(const Model& model, const Array& T) {
  if (!ComputesAsTheForm(model)) return ModelZeroPressureVolumes(model, T);
  const EosParameters p = models::CalculatorParameters(model);
  return Map(T, T, [&p](double t, double) { return engine::ZeroPressureVolume(p, t); });
}

Array ZeroPressureModuli(const Model& model, const Array& T) {
  if (!ComputesAsTheForm(model)) return ModelZeroPressureModuli(model, T);
  const EosParameters p = models::CalculatorParameters(model);
  return Map(T, T, [&p](double t, double) { return engine::ThermalBulkModulus(p, t); });
}

// The values of the parameters the model lists: those it uses, implied ones
// included, and for the calculator's arithmetic the eight of its parameter set.
py::dict ListedParameters(const Model& model) {
  py::dict values;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<models::Parameter>(i);
    if (models::ListedRole(model, parameter) == models::Role::Unused) continue;
    values[models::Info(parameter).name] = model[parameter];
  }
  return values;
}

std::vector<std::string> AllParameterNames() {
  std::vector<std::string> names;
  for (int i = 0; i < models::kParameterCount; ++i) {
    names.emplace_back(models::Info(static_cast<models::Parameter>(i)).name);
  }
  return names;
}

// The refusal of the first temperature the model has no value at, or "".
std::string TemperatureError(const Model& model, const Array& T) {
  const double* values = T.data();
  for (py::ssize_t i = 0; i < T.size(); ++i) {
    std::string problem = models::TemperatureError(model, values[i]);
    if (!problem.empty()) return problem;
  }
  return "";
}

}  // namespace
}  // namespace quorvane::python

PYBIND11_MODULE(_core, m) {
  using namespace quorvane;
  using namespace quorvane::python;
  m.doc() = "Compiled engine of the quorvane package; use the quorvane module instead.";
  m.attr("__version__") = QUORVANE_VERSION;

  py::register_exception<app::InputError>(m, "InputError", PyExc_ValueError);

  py::class_<models::Model>(m, "Model", "A checked model with its implied K'0 and K''0.")
      .def_property_readonly("type",
                             [](const Model& model) { return models::Info(model.equation).name; })
      .def_readonly("order", &Model::order)
      .def_property_readonly("thermal",
                             [](const Model& model) { return models::Info(model.thermal).name; })
      .def_property_readonly(
          "arithmetic",
          [](const Model& model) {
            return model.arithmetic == models::Arithmetic::Calculator ? "calculator" : "textbook";
          })
      .def_property_readonly(
          "volume_unit",
          [](const Model& model) { return models::VolumeUnitName(model.volumeUnit); })
      .def_readonly("Z", &Model::Z)
      .def_property_readonly("parameters", &ListedParameters,
                             "The parameters the model lists, by name, in the catalogue's order.")
      .def_property_readonly("given", &GivenNames,
                             "The names of the parameters given, not implied, in order.");

  m.attr("PARAMETER_NAMES") = AllParameterNames();
  m.attr("LANES") = LaneSetName();
  m.def("model", &ModelFromTexts, py::arg("texts"),
        "The model from option texts keyed by the command line's names; raises ValueError as "
        "quorvane-eos refuses them.");
  m.def("pressure", &Pressure, py::arg("model"), py::arg("V"), py::arg("T"),
        "P(V, T) over two flat arrays of equal size.");
  m.def("volume", &Volume, py::arg("model"), py::arg("P"), py::arg("T"), py::arg("exact"),
        "(V, converged) over two flat arrays of equal size.");
  m.def("zero_pressure_volume", &ZeroPressureVolumes, py::arg("model"), py::arg("T"),
        "V(T,0) over a flat array.");
  m.def("bulk_modulus", &ZeroPressureModuli, py::arg("model"), py::arg("T"),
        "K(T) at zero pressure over a flat array.");
  m.def("isothermal_bulk_modulus", &BulkModuli, py::arg("model"), py::arg("V"), py::arg("T"),
        "K_T = -V dP/dV over two flat arrays of equal size.");
  m.def("temperature_error", &TemperatureError, py::arg("model"), py::arg("T"),
        "Why the model has no value at a temperature of the flat array, or \"\".");
  m.def("state", &State, py::arg("model"), py::arg("known"), py::arg("values"), py::arg("partners"),
        py::arg("exact"),
        "The six state columns and the converged flags over two flat arrays of equal size.");
  BindParameterFile(m);
  BindProperties(m);
  BindScales(m);
  BindAxes(m);
#ifdef QUORVANE_WITH_FIT
  BindFit(m);
#endif
}
