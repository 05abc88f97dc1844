#include "python/scale_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <functional>
#include <optional>
#include <string>

#include "app/input_error.h"
#include "app/scale_pressure.h"
#include "python/array_map.h"
#include "scales/calibrant_cell.h"
#include "scales/scale_directory.h"

namespace quorvane::python {
namespace {

namespace py = pybind11;

scales::Scale Named(const std::string& name, const std::string& folder) {
  try {
    return scales::FindScale(name, folder);
  } catch (const scales::ScaleError& error) {
    throw app::InputError(error.what());
  }
}

py::dict InfoDict(const scales::ScaleInfo& info) {
  py::dict entry;
  entry["name"] = info.name;
  entry["material"] = info.material;
  entry["kind"] = info.kind == scales::ScaleKind::Volume ? "volume" : "fluorescence";
  entry["citation"] = info.citation;
  entry["P_range"] = py::make_tuple(info.range.minP, info.range.maxP);
  entry["T_range"] = py::make_tuple(info.range.minT, info.range.maxT);
  py::list calibrated;
  for (const scales::ScaleRange& r : info.calibrated) {
    calibrated.append(
        py::make_tuple(py::make_tuple(r.minP, r.maxP), py::make_tuple(r.minT, r.maxT)));
  }
  entry["calibrated"] = calibrated;
  return entry;
}

// The scales of the folder as dicts, and one line for each file that is none
// (the package warns with them).
py::tuple ScaleList(const std::string& folder) {
  py::list list;
  const scales::ScaleFolder found = scales::ShippedVolumeScales(folder);
  for (const scales::VolumeScale& scale : found.scales) list.append(InfoDict(scale.info));
  for (const scales::FluorescenceScale& gauge : scales::FluorescenceScales()) {
    list.append(InfoDict(gauge.info));
  }
  return py::make_tuple(list, found.problems);
}

// (P, sigP, sigPscale, in_range) over flat arrays of equal size, row by row.
py::tuple Rows(const std::vector<Array>& inputs,
               const std::function<app::ScalePressure(const double*, const std::string&)>& row) {
  const py::ssize_t n = inputs.front().size();
  for (const Array& input : inputs) {
    if (input.size() != n) throw app::InputError("the arrays differ in size");
  }
  Array P(n), sigP(n), sigPScale(n);
  py::array_t<bool> inRange(n);
  for (py::ssize_t i = 0; i < n; ++i) {
    double values[4] = {};
    for (std::size_t k = 0; k < inputs.size(); ++k) values[k] = inputs[k].data()[i];
    const app::ScalePressure p = row(values, "value " + std::to_string(i));
    P.mutable_data()[i] = p.P;
    sigP.mutable_data()[i] = p.sigP;
    sigPScale.mutable_data()[i] = p.sigPScale;
    inRange.mutable_data()[i] = p.inRange;
  }
  return py::make_tuple(P, sigP, sigPScale, inRange);
}

app::Reading ReadingNamed(const std::string& name) {
  if (name == "V") return app::Reading::Volume;
  if (name == "a") return app::Reading::Lattice;
  if (name == "lam") return app::Reading::Wavelength;
  throw py::type_error("no reading is named \"" + name + "\" (V, a or lam)");
}

py::tuple CalibrantPressure(const std::string& name, const std::string& folder,
                            const std::string& reading, const Array& x, const Array& T,
                            const Array& sigX, const Array& sigT, std::optional<double> lambda0) {
  const scales::Scale scale = Named(name, folder);
  const app::Reading kind = ReadingNamed(reading);
  return Rows({x, T, sigX, sigT}, [&](const double* v, const std::string& what) {
    return app::ReadingPressure(scale, kind, v[0], v[2], v[1], v[3], lambda0, what);
  });
}

py::tuple Moved(const std::string& from, const std::string& to, const std::string& folder,
                const Array& P, const Array& T, const Array& sigP, std::optional<double> lambda0) {
  const scales::Scale old = Named(from, folder);
  const scales::Scale now = Named(to, folder);
  if (scales::InfoOf(old).material != scales::InfoOf(now).material) {
    throw app::InputError(from + " and " + to + " are scales of different calibrants");
  }
  double l0 = 0.0;
  if (const auto* const* gauge = std::get_if<const scales::FluorescenceScale*>(&old)) {
    l0 = app::GaugeLambda0(**gauge, lambda0.value_or(0.0), lambda0.has_value());
    if (!(l0 > 0.0)) throw app::InputError("lambda0 is not above zero");
  }
  return Rows({P, T, sigP}, [&](const double* v, const std::string& what) {
    return app::MovedPressure(old, now, v[0], v[2], v[1], l0, what);
  });
}

std::vector<scales::Reflection> ReflectionsNamed(const std::vector<std::string>& names) {
  std::vector<scales::Reflection> reflections;
  for (const std::string& name : names) {
    const auto reflection = scales::ReflectionFromText(name);
    if (!reflection) {
      throw app::InputError("hkl: \"" + name +
                            "\" is no reflection (three one-digit indices such as 111 or -111)");
    }
    reflections.push_back(*reflection);
  }
  return reflections;
}

py::tuple SpacingPressure(const std::string& name, const std::string& folder,
                          const std::string& hkl, const Array& d, const Array& T, const Array& sigD,
                          const Array& sigT) {
  const scales::Scale scale = Named(name, folder);
  const scales::Reflection reflection = ReflectionsNamed({hkl}).front();
  return Rows({d, T, sigD, sigT}, [&](const double* v, const std::string& what) {
    return app::SpacingPressure(scale, reflection, v[0], v[2], v[1], v[3], what);
  });
}

// V, sigV, a, siga, then d and sigd of each reflection, at one (P, T).
std::vector<double> CellRow(const scales::VolumeScale& scale, double P, double T,
                            const std::vector<scales::Reflection>& reflections,
                            const std::string& what) {
  if (!(T > 0.0)) throw app::InputError(what + ": T is not above zero");
  scales::CalibrantCell cell;
  try {
    cell = scales::CellAt(scale, P, T, reflections);
  } catch (const scales::ScaleError& error) {
    throw app::InputError(what + ": " + error.what());
  }
  std::vector<double> row{cell.V, cell.sigV, cell.a, cell.sigA};
  for (std::size_t k = 0; k < cell.d.size(); ++k) {
    row.push_back(cell.d[k]);
    row.push_back(cell.sigD[k]);
  }
  return row;
}

// The cell at each (P, T) as a dict of flat arrays: V, sigV, a, siga, dHKL
// and sigdHKL for each reflection, in_range.
py::dict Cell(const std::string& name, const std::string& folder, const Array& P, const Array& T,
              const std::vector<std::string>& hkl) {
  const scales::Scale scale = Named(name, folder);
  const auto* volume = std::get_if<scales::VolumeScale>(&scale);
  if (!volume) throw app::InputError(name + " is a fluorescence gauge: it has no cell");
  if (P.size() != T.size()) throw app::InputError("the arrays differ in size");
  const std::vector<scales::Reflection> reflections = ReflectionsNamed(hkl);
  std::vector<std::string> names{"V", "sigV", "a", "siga"};
  for (const scales::Reflection& reflection : reflections) {
    names.push_back("d" + scales::ReflectionName(reflection));
    names.push_back("sigd" + scales::ReflectionName(reflection));
  }
  const py::ssize_t n = P.size();
  std::vector<Array> columns;
  for (std::size_t k = 0; k < names.size(); ++k) columns.emplace_back(n);
  py::array_t<bool> inRange(n);
  for (py::ssize_t i = 0; i < n; ++i) {
    const double p = P.data()[i], t = T.data()[i];
    const std::vector<double> row =
        CellRow(*volume, p, t, reflections, "value " + std::to_string(i));
    for (std::size_t k = 0; k < row.size(); ++k) columns[k].mutable_data()[i] = row[k];
    inRange.mutable_data()[i] = volume->info.Holds(p, t);
  }
  py::dict out;
  for (std::size_t k = 0; k < names.size(); ++k) out[names[k].c_str()] = columns[k];
  out["in_range"] = inRange;
  return out;
}

// What the package needs to check a call before it computes: the kind, and
// the temperature a reading without one is taken at (the command line's).
py::dict ScaleFacts(const std::string& name, const std::string& folder) {
  const scales::Scale scale = Named(name, folder);
  py::dict facts;
  const bool gauge = std::holds_alternative<const scales::FluorescenceScale*>(scale);
  facts["kind"] = gauge ? "fluorescence" : "volume";
  facts["cubic"] = !gauge && std::get<scales::VolumeScale>(scale).cubic;
  facts["default_T"] = app::DefaultTemperature(scale);
  facts["info"] = InfoDict(scales::InfoOf(scale));
  return facts;
}

}  // namespace

void BindScales(py::module_& module) {
  module.def("scale_list", &ScaleList, py::arg("folder"),
             "(the shipped scales, volume scales of the folder first, as dicts; the lines "
             "naming files of the folder that are no scale).");
  module.def(
      "scale_default_folder", [] { return scales::ShippedScalesFolder().string(); },
      "The folder the command-line program would look in.");
  module.def(
      "scale_path",
      [](const std::string& name, const std::string& folder) {
        const scales::Scale scale = Named(name, folder);
        if (!std::holds_alternative<scales::VolumeScale>(scale)) {
          throw app::InputError(name + " is a fluorescence gauge, not a parameter file");
        }
        return (std::filesystem::path(folder) / (name + ".json")).string();
      },
      py::arg("name"), py::arg("folder"), "The parameter file of a shipped volume scale.");
  module.def("scale_facts", &ScaleFacts, py::arg("name"), py::arg("folder"),
             "kind, cubic, default_T and info of one scale; a gauge reads no folder.");
  module.def("scale_pressure", &CalibrantPressure, py::arg("name"), py::arg("folder"),
             py::arg("reading"), py::arg("x"), py::arg("T"), py::arg("sigX"), py::arg("sigT"),
             py::arg("lambda0"),
             "(P, sigP, sigPscale, in_range) of readings (reading: V, a or lam) over flat "
             "arrays of equal size; lambda0 None takes the gauge's own.");
  module.def("scale_spacing_pressure", &SpacingPressure, py::arg("name"), py::arg("folder"),
             py::arg("hkl"), py::arg("d"), py::arg("T"), py::arg("sigD"), py::arg("sigT"),
             "(P, sigP, sigPscale, in_range) of a cubic calibrant's spacings d (A) of the "
             "reflection hkl over flat arrays of equal size.");
  module.def("scale_cell", &Cell, py::arg("name"), py::arg("folder"), py::arg("P"), py::arg("T"),
             py::arg("hkl"),
             "A cubic calibrant's cell at (P, T) over flat arrays: V, a and d-spacings with "
             "sigmas, and in_range.");
  module.def(
      "scale_absent_reflections",
      [](const std::string& name, const std::string& folder, const std::vector<std::string>& hkl) {
        const scales::Scale scale = Named(name, folder);
        const auto* volume = std::get_if<scales::VolumeScale>(&scale);
        return volume ? app::AbsentReflections(*volume, ReflectionsNamed(hkl)) : std::string();
      },
      py::arg("name"), py::arg("folder"), py::arg("hkl"),
      "What the command line warns of reflections the calibrant's lattice extinguishes, or "
      "an empty text.");
  module.def("scale_rescale", &Moved, py::arg("source"), py::arg("target"), py::arg("folder"),
             py::arg("P"), py::arg("T"), py::arg("sigP"), py::arg("lambda0"),
             "(P, sigP, sigPscale, in_range) moved from one scale to another through P.");
}

}  // namespace quorvane::python
