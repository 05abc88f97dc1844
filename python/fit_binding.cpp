#include "python/fit_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/fit_data.h"
#include "models/model_catalogue.h"

namespace py = pybind11;

namespace quorvane::python {
namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

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
// stands for a column not given.
fit::FitData DataFrom(const std::vector<Array>& columns) {
  const py::ssize_t count = columns[0].size();
  for (const Array& column : columns) {
    if (column.size() != count) throw py::value_error("the data columns differ in size");
  }
  fit::FitData data;
  data.source = "arrays";
  data.points.resize(static_cast<std::size_t>(count));
  for (py::ssize_t i = 0; i < count; ++i) {
    fit::Observation& o = data.points[static_cast<std::size_t>(i)];
    o.P = columns[0].data()[i];
    o.V = columns[1].data()[i];
    o.T = columns[2].data()[i];
    o.sigP = columns[3].data()[i];
    o.sigV = columns[4].data()[i];
    o.sigT = columns[5].data()[i];
  }
  return data;
}

py::dict Fit(const models::Model& start, const Array& P, const Array& V, const Array& T,
             const Array& sigP, const Array& sigV, const Array& sigT,
             const std::vector<std::string>& refined, const std::vector<std::string>& given) {
  const fit::FitData data = DataFrom({P, V, T, sigP, sigV, sigT});
  fit::FitRequest request;
  request.start = start;
  request.refined = ParametersNamed(refined);
  request.givenStart = ParametersNamed(given);
  fit::FitResult result;
  {
    py::gil_scoped_release release;
    result = fit::FitEos(data, request);
  }
  if (!result.converged) throw fit::FitError(result.failure);
  std::vector<std::string> names;
  for (const models::Parameter parameter : result.refined) {
    names.emplace_back(models::Info(parameter).name);
  }
  py::dict out;
  out["parameters"] = result.model;
  out["refined"] = names;
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
  return out;
}

}  // namespace

void BindFit(py::module_& module) {
  py::register_exception<fit::FitError>(module, "FitError", PyExc_ValueError);
  module.def("fit", &Fit, py::arg("start"), py::arg("P"), py::arg("V"), py::arg("T"),
             py::arg("sigP"), py::arg("sigV"), py::arg("sigT"), py::arg("refined"),
             py::arg("given"), "A least-squares fit of the parameters to P-V-T data.");
}

}  // namespace quorvane::python
