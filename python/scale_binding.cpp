#include "python/scale_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <functional>
#include <string>

#include "app/input_error.h"
#include "app/scale_pressure.h"
#include "python/array_map.h"
#include "scales/scale_directory.h"

namespace quorvane::python {
namespace {

namespace py = pybind11;

scales::Scale Named(const std::string& name, const std::string& folder) {
  try {
    return scales::FindScale(name, folder);
  } catch (const scales::ScaleError& error) {
    throw cli::InputError(error.what());
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
  return entry;
}

py::list ScaleList(const std::string& folder) {
  py::list list;
  try {
    for (const scales::VolumeScale& scale : scales::ShippedVolumeScales(folder)) {
      list.append(InfoDict(scale.info));
    }
  } catch (const scales::ScaleError& error) {
    throw cli::InputError(error.what());
  }
  for (const scales::FluorescenceScale& gauge : scales::FluorescenceScales()) {
    list.append(InfoDict(gauge.info));
  }
  return list;
}

// (P, sigP, in_range) over four flat arrays of equal size, row by row.
py::tuple Rows(const std::vector<Array>& inputs,
               const std::function<cli::ScalePressure(const double*, const std::string&)>& row) {
  const py::ssize_t n = inputs.front().size();
  for (const Array& input : inputs) {
    if (input.size() != n) throw cli::InputError("the arrays differ in size");
  }
  Array P(n), sigP(n);
  py::array_t<bool> inRange(n);
  for (py::ssize_t i = 0; i < n; ++i) {
    double values[4] = {};
    for (std::size_t k = 0; k < inputs.size(); ++k) values[k] = inputs[k].data()[i];
    const cli::ScalePressure p = row(values, "value " + std::to_string(i));
    P.mutable_data()[i] = p.P;
    sigP.mutable_data()[i] = p.sigP;
    inRange.mutable_data()[i] = p.inRange;
  }
  return py::make_tuple(P, sigP, inRange);
}

py::tuple CalibrantPressure(const std::string& name, const std::string& folder, const Array& x,
                            const Array& T, const Array& sigX, const Array& sigT, double lambda0) {
  const scales::Scale scale = Named(name, folder);
  if (const auto* volume = std::get_if<scales::VolumeScale>(&scale)) {
    return Rows({x, T, sigX, sigT}, [&](const double* v, const std::string& what) {
      return cli::VolumeScalePressure(*volume, v[0], v[2], v[1], v[3], what);
    });
  }
  const scales::FluorescenceScale& gauge = *std::get<const scales::FluorescenceScale*>(scale);
  const double l0 = cli::GaugeLambda0(gauge, lambda0, lambda0 > 0.0);
  return Rows({x, T, sigX, sigT}, [&](const double* v, const std::string& what) {
    return cli::GaugePressure(gauge, v[0], v[2], l0, v[1], v[3], what);
  });
}

py::tuple Moved(const std::string& from, const std::string& to, const std::string& folder,
                const Array& P, const Array& T, const Array& sigP, double lambda0) {
  const scales::Scale old = Named(from, folder);
  const scales::Scale now = Named(to, folder);
  if (scales::InfoOf(old).material != scales::InfoOf(now).material) {
    throw cli::InputError(from + " and " + to + " are scales of different calibrants");
  }
  double l0 = 0.0;
  if (const auto* const* gauge = std::get_if<const scales::FluorescenceScale*>(&old)) {
    l0 = cli::GaugeLambda0(**gauge, lambda0, lambda0 > 0.0);
  }
  return Rows({P, T, sigP}, [&](const double* v, const std::string& what) {
    return cli::MovedPressure(old, now, v[0], v[2], v[1], l0, what);
  });
}

}  // namespace

void BindScales(py::module_& module) {
  module.def("scale_list", &ScaleList, py::arg("folder"),
             "The shipped scales, volume scales of the folder first, as dicts.");
  module.def(
      "scale_default_folder", [] { return scales::ShippedScalesFolder().string(); },
      "The folder the command-line program would look in.");
  module.def(
      "scale_path",
      [](const std::string& name, const std::string& folder) {
        const scales::Scale scale = Named(name, folder);
        if (!std::holds_alternative<scales::VolumeScale>(scale)) {
          throw cli::InputError(name + " is a fluorescence gauge, not a parameter file");
        }
        return (std::filesystem::path(folder) / (name + ".json")).string();
      },
      py::arg("name"), py::arg("folder"), "The parameter file of a shipped volume scale.");
  module.def("scale_pressure", &CalibrantPressure, py::arg("name"), py::arg("folder"), py::arg("x"),
             py::arg("T"), py::arg("sigX"), py::arg("sigT"), py::arg("lambda0"),
             "(P, sigP, in_range) of readings (V or lambda) over flat arrays of equal size; "
             "lambda0 <= 0 takes the gauge's own.");
  module.def("scale_rescale", &Moved, py::arg("source"), py::arg("target"), py::arg("folder"),
             py::arg("P"), py::arg("T"), py::arg("sigP"), py::arg("lambda0"),
             "(P, sigP, in_range) moved from one scale to another through P.");
}

}  // namespace quorvane::python
