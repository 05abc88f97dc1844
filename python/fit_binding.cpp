#include "python/fit_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fit/axial_parameters.h"
#include "fit/confidence_ellipse.h"
#include "fit/eos_fit.h"
#include "fit/fit_data.h"
#include "models/model_catalogue.h"
#include "python/array_map.h"

namespace py = pybind11;

namespace quorvane::python {
namespace {

std::vector<models::Parameter> ParametersNamed(const std::vector<std::string>& names) {
  std::vector<models::Parameter> parameters;
  for (const std::string& name : names) {
    const auto parameter = models::ParameterFromName(name);
    if (!parameter || name != models::Info(*parameter).name) {
      throw py::value_error("\"" + name + "\" is no parameter a fit can refine");
    }
    parameters.push_back(*parameter);
  }
  return parameters;
}

// The observations from flat arrays of equal size; a standard deviation of 0
// stands for a column not given. With an axis, V and sigV are its lengths.
fit::FitData DataFrom(const std::vector<Array>& columns, const std::string& axis) {
  const py::ssize_t count = columns[0].size();
  for (const Array& column : columns) {
    if (column.size() != count) throw py::value_error("the data columns differ in size");
  }
  fit::FitData data;
  data.source = "arrays";
  data.axis = axis;
  data.points.resize(static_cast<std::size_t>(count));
  for (py::ssize_t i = 0; i < count; ++i) {
    fit::Observation& o = data.points[static_cast<std::size_t>(i)];
    o.P = columns[0].data()[i];
    o.V = columns[1].data()[i];
    o.T = columns[2].data()[i];
    o.sigP = columns[3].data()[i];
    o.sigV = columns[4].data()[i];
    o.sigT = columns[5].data()[i];
    if (axis.empty()) continue;
    const double length = o.V, sigLength = o.sigV;
    o = fit::CubedAxisPoint(o.P, length, o.T, o.sigP, sigLength, o.sigT);
    if (length > 0.0 && fit::CubeLost(o, sigLength)) {
      throw py::value_error(axis + ": value " + std::to_string(i) +
                            " has no cube in double precision");
    }
  }
  return data;
}

using NamedPairs = std::map<std::string, std::pair<double, double>>;

// The fit's constraints and esd scaling from the keywords of quorvane.fit.
void AddConstraints(fit::FitRequest& request, const std::string& esdScaling,
                    const NamedPairs& constrain, const NamedPairs& bounds) {
  const auto scaling = fit::EsdScalingFromName(esdScaling);
  if (!scaling) {
    throw py::value_error("esd_scaling: \"" + esdScaling + "\" is not one of auto, always, never");
  }
  request.esdScaling = *scaling;
  for (const auto& [name, prior] : constrain) {
    request.priors.push_back({ParametersNamed({name}).front(), prior.first, prior.second});
  }
  for (const auto& [name, limits] : bounds) {
    request.bounds.push_back({ParametersNamed({name}).front(), limits.first, limits.second});
  }
}

std::vector<std::string> Names(const std::vector<models::Parameter>& parameters) {
  std::vector<std::string> names;
  for (const models::Parameter parameter : parameters) {
    names.emplace_back(models::Info(parameter).name);
  }
  return names;
}

// The axis' own parameters, and the esds of the refined ones.
void AddAxis(py::dict& out, const fit::AxialParameters& axial) {
  py::dict values, esds;
  values["name"] = axial.axis;
  for (const fit::AxialValue& value : axial.values) {
    values[value.name] = value.value;
    if (value.refined) esds[value.name] = value.esd;
  }
  out["axis"] = values;
  out["axis_esd"] = esds;
}

py::dict Fit(const models::Model& start, const Array& P, const Array& V, const Array& T,
             const Array& sigP, const Array& sigV, const Array& sigT,
             const std::vector<std::string>& refined, const std::vector<std::string>& given,
             const std::string& esdScaling, const NamedPairs& constrain, const NamedPairs& bounds,
             const std::string& axis) {
  const fit::FitData data = DataFrom({P, V, T, sigP, sigV, sigT}, axis);
  fit::FitRequest request;
  request.start = start;
  request.refined = ParametersNamed(refined);
  request.givenStart = ParametersNamed(given);
  AddConstraints(request, esdScaling, constrain, bounds);
  fit::FitResult result;
  {
    py::gil_scoped_release release;
    result = fit::FitEos(data, request);
  }
  if (!result.converged) throw fit::FitError(result.failure);
  py::dict out;
  out["parameters"] = result.model;
  out["refined"] = Names(result.refined);
  out["at_bound"] = Names(result.atBound);
  out["esd_scaling"] = fit::EsdScalingName(result.esdScaling);
  out["covariance_scaling"] = result.scaledByChi2 ? "chi2" : "none";
  out["esd_reported"] = result.esdReported;
  out["covariance_reported"] = result.ReportedCovariance();
  out["esd"] = result.esd;
  out["esd_scaled"] = result.esdScaled;
  out["covariance"] = result.covariance;
  out["covariance_scaled"] = result.ScaledCovariance();
  out["chi2w"] = result.chi2w;
  out["dof"] = result.dof;
  out["converged"] = result.converged;
  out["iterations"] = result.iterations;
  out["weighted"] = result.weighted;
  out["restart"] = result.restart;
  if (!axis.empty()) AddAxis(out, fit::AxialFromCubed(axis, result));
  return out;
}

// The outline of the confidence region of two parameters, as an N x 2 array.
Array EllipseOutline(const std::vector<std::vector<double>>& block,
                     const std::vector<double>& centre, double level, int points) {
  if (block.size() != 2 || block[0].size() != 2 || block[1].size() != 2 || centre.size() != 2) {
    throw py::value_error("an ellipse needs a 2 x 2 covariance and a centre of two values");
  }
  if (points < 3) throw py::value_error("an outline needs at least 3 points");
  const fit::ConfidenceEllipse ellipse = fit::EllipseOf(
      {{{block[0][0], block[0][1]}, {block[1][0], block[1][1]}}}, {centre[0], centre[1]}, level);
  const std::vector<std::array<double, 2>> outline = fit::EllipseOutline(ellipse, points);
  Array array({static_cast<py::ssize_t>(outline.size()), py::ssize_t{2}});
  auto view = array.mutable_unchecked<2>();
  for (std::size_t k = 0; k < outline.size(); ++k) {
    view(static_cast<py::ssize_t>(k), 0) = outline[k][0];
    view(static_cast<py::ssize_t>(k), 1) = outline[k][1];
  }
  return array;
}

}  // namespace

void BindFit(py::module_& module) {
  py::register_exception<fit::FitError>(module, "FitError", PyExc_ValueError);
  module.def("fit", &Fit, py::arg("start"), py::arg("P"), py::arg("V"), py::arg("T"),
             py::arg("sigP"), py::arg("sigV"), py::arg("sigT"), py::arg("refined"),
             py::arg("given"), py::arg("esd_scaling") = "auto", py::arg("constrain") = NamedPairs{},
             py::arg("bounds") = NamedPairs{}, py::arg("axis") = std::string{},
             "A least-squares fit of the parameters to P-V-T data, or to P, an axis and T.");
  module.def("ellipse_outline", &EllipseOutline, py::arg("covariance"), py::arg("centre"),
             py::arg("level"), py::arg("points"),
             "Points around the confidence ellipse of two parameters.");
}

}  // namespace quorvane::python
