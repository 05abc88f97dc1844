#include "python/parameter_file_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "models/model_catalogue.h"
#include "params/parameter_file.h"

namespace py = pybind11;

namespace quorvane::python {
namespace {

using Matrix = py::array_t<double, py::array::c_style | py::array::forcecast>;

[[noreturn]] void Refuse(const std::string& source, const std::string& what) {
  throw params::ParameterFileError(source + ": " + what);
}

py::dict Read(const py::bytes& text, const std::string& source) {
  const params::ParameterFile file = params::ReadParameterFile(std::string(text), source);
  std::vector<std::string> refined;
  for (const models::Parameter parameter : file.refined) {
    refined.emplace_back(models::Info(parameter).name);
  }
  py::dict out;
  out["parameters"] = file.model;
  out["refined"] = refined;
  out["covariance"] = py::none();
  out["covariance_scaling"] = py::none();
  if (!file.covariance.empty()) {
    out["covariance"] = file.covariance;
    out["covariance_scaling"] = file.covarianceScaled ? "chi2" : "none";
  }
  // As bytes: the Python layer decodes it.
  out["provenance"] = py::bytes(file.provenance);
  return out;
}

std::vector<models::Parameter> Refined(const std::vector<std::string>& names,
                                       const std::string& source) {
  std::vector<models::Parameter> refined;
  for (const std::string& name : names) {
    const auto parameter = params::ParameterNamed(name);
    if (!parameter) Refuse(source, "\"refined\" names an unknown parameter \"" + name + "\"");
    refined.push_back(*parameter);
  }
  return refined;
}

std::vector<std::vector<double>> Rows(const Matrix& matrix, std::size_t size,
                                      const std::string& source) {
  const auto n = static_cast<py::ssize_t>(size);
  if (matrix.ndim() != 2 || matrix.shape(0) != n || matrix.shape(1) != n) {
    Refuse(source, "\"covariance\" is not a " + std::to_string(size) + " x " +
                       std::to_string(size) + " matrix matching \"refined\"");
  }
  std::vector<std::vector<double>> rows(size);
  for (py::ssize_t i = 0; i < n; ++i) {
    for (py::ssize_t j = 0; j < n; ++j) {
      const double value = matrix.at(i, j);
      if (!std::isfinite(value)) Refuse(source, "a \"covariance\" entry is not finite");
      rows[static_cast<std::size_t>(i)].push_back(value);
    }
  }
  return rows;
}

// Everything is checked, by reading back what would be written, before the
// file is touched: a save either writes a file load reads or leaves the old
// one as it was.
void Write(const std::string& path, const std::string& source, const models::Model& model,
           const std::vector<std::string>& refined, const std::optional<Matrix>& covariance,
           const std::optional<std::string>& scaling, const std::string& provenance) {
  params::ParameterFile file;
  file.model = model;
  file.refined = Refined(refined, source);
  if (scaling && *scaling != "chi2" && *scaling != "none") {
    Refuse(source, "\"covariance_scaling\" is not \"chi2\" or \"none\"");
  }
  if (covariance && !scaling) {
    Refuse(source, "\"covariance\" has no \"covariance_scaling\" (\"chi2\" or \"none\")");
  }
  if (covariance) {
    file.covariance = Rows(*covariance, refined.size(), source);
    file.covarianceScaled = *scaling == "chi2";
  }
  file.provenance = params::ProvenanceFromText(provenance, source);
  const std::string text = params::WriteParameterFile(file);
  params::ReadParameterFile(text, source);
  files::WriteResult result;
  {
    py::gil_scoped_release release;
    result = files::WriteFileAtomically(path, text);
  }
  if (result.Written()) return;
  // The message quotes the path's bytes, which need not be UTF-8.
  const py::object message = py::reinterpret_steal<py::object>(PyUnicode_DecodeUTF8(
      result.message.data(), static_cast<py::ssize_t>(result.message.size()), "surrogateescape"));
  if (!message) throw py::error_already_set();
  PyErr_SetObject(PyExc_OSError, message.ptr());
  throw py::error_already_set();
}

}  // namespace

void BindParameterFile(py::module_& module) {
  py::register_exception<params::ParameterFileError>(module, "ParameterFileError",
                                                     PyExc_ValueError);
  module.attr("MAX_PARAMETER_FILE_BYTES") = params::kMaxParameterFileBytes;
  module.def("read_parameter_file", &Read, py::arg("text"), py::arg("source"),
             "The parts of a parameter file's text, refused with ValueError naming source as "
             "quorvane-eos --params refuses it.");
  module.def(
      "write_parameter_file",
      [](const py::bytes& path, const std::string& source, const models::Model& model,
         const std::vector<std::string>& refined, const std::optional<Matrix>& covariance,
         const std::optional<std::string>& scaling, const std::string& provenance) {
        Write(std::string(path), source, model, refined, covariance, scaling, provenance);
      },
      py::arg("path"), py::arg("source"), py::arg("model"), py::arg("refined"),
      py::arg("covariance"), py::arg("covariance_scaling"), py::arg("provenance"),
      "Writes a parameter file whole, or raises ValueError (naming source) for what "
      "read_parameter_file would refuse and OSError when it cannot be written.");
}

}  // namespace quorvane::python
