#include "params/parameter_file.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "engine/eos_parameters.h"
#include "models/model_catalogue.h"
#include "params/json_text.h"
#include "params/parameter_covariance.h"

namespace quorvane::params {
namespace {

using models::Arithmetic;
using models::Parameter;
using models::Role;
using Kind = Json::value_t;

// In the order of Arithmetic.
constexpr const char* kArithmeticNames[] = {"calculator", "textbook"};

// A catalogue entry by its exact name, and the list of all names, for the
// equations and the thermal models.
template <class Entry, int kCount>
std::optional<Entry> Named(std::string_view name) {
  for (int i = 0; i < kCount; ++i) {
    if (name == models::Info(static_cast<Entry>(i)).name) return static_cast<Entry>(i);
  }
  return std::nullopt;
}

template <class Entry, int kCount>
std::string Names() {
  std::string names;
  for (int i = 0; i < kCount; ++i) {
    if (i > 0) names += ", ";
    names += models::Info(static_cast<Entry>(i)).name;
  }
  return names;
}

// What a file that names no arithmetic means.
Arithmetic DefaultArithmetic(models::Equation equation, models::Thermal thermal) {
  const bool classic = models::Info(equation).calculator && thermal == models::Thermal::Linear;
  return classic ? Arithmetic::Calculator : Arithmetic::Textbook;
}

// The calculator holds K''0 for every equation, Murnaghan's included, and
// its files have always listed it.
Role RoleInFile(const models::Model& model, Parameter parameter) {
  const Role role = models::RoleOf(model, parameter);
  const bool held = model.arithmetic == Arithmetic::Calculator && parameter == Parameter::Kpp0;
  return role == Role::Unused && held ? Role::Implied : role;
}

std::string ModelName(const models::Model& model) {
  return std::string(models::Info(model.equation).name) + " with the " +
         models::Info(model.thermal).name + " thermal model";
}

std::string Quoted(const char* key) {
  return std::string("\"") + key + "\"";
}

std::string Text(double x) {
  std::string text;
  AppendJsonNumber(text, x);
  return text;
}

void Indent(std::string& out, int level) {
  out.append(static_cast<std::size_t>(2 * level), ' ');
}

void AppendKey(std::string& out, int level, const char* key) {
  Indent(out, level);
  AppendJsonString(out, key);
  out += ": ";
}

void AppendMember(std::string& out, const char* key, std::string_view text) {
  AppendKey(out, 1, key);
  AppendJsonString(out, text);
  out += ",\n";
}

// The keys a calculator model leaves at their defaults.
void AppendModelKeys(std::string& out, const models::Model& model) {
  if (model.thermal != models::Thermal::Linear) {
    AppendMember(out, "thermal", models::Info(model.thermal).name);
  }
  if (model.arithmetic != DefaultArithmetic(model.equation, model.thermal)) {
    AppendMember(out, "arithmetic", kArithmeticNames[static_cast<int>(model.arithmetic)]);
  }
  if (model.volumeUnit != models::VolumeUnit::CubicAngstromsPerCell) return;
  AppendMember(out, "volume_unit", models::VolumeUnitName(model.volumeUnit));
  AppendKey(out, 1, "Z");
  AppendJsonNumber(out, model.Z);
  out += ",\n";
}

void AppendParameters(std::string& out, const models::Model& model) {
  AppendKey(out, 1, "parameters");
  out += "{";
  const char* separator = "";
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (RoleInFile(model, parameter) == Role::Unused) continue;
    out += separator;
    AppendJsonString(out, models::Info(parameter).name);
    out += ": ";
    AppendJsonNumber(out, model[parameter]);
    separator = ", ";
  }
  out += "},\n";
}

void AppendCovariance(std::string& out, const ParameterFile& file) {
  AppendKey(out, 1, "covariance");
  out += "[\n";
  for (std::size_t i = 0; i < file.covariance.size(); ++i) {
    Indent(out, 2);
    out += '[';
    for (std::size_t j = 0; j < file.covariance[i].size(); ++j) {
      if (j > 0) out += ", ";
      AppendJsonNumber(out, file.covariance[i][j]);
    }
    out += i + 1 < file.covariance.size() ? "],\n" : "]\n";
  }
  Indent(out, 1);
  out += "],\n";
  AppendMember(out, "covariance_scaling", file.covarianceScaled ? "chi2" : "none");
}

class FileReader {
 public:
  explicit FileReader(const std::string& source) : source_(source) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw ParameterFileError(source_ + ": " + what);
  }

  const Json& Member(const Json& object, const char* key, Kind kind, const char* kindName) const {
    const auto found = object.find(key);
    if (found == object.end()) Fail("no " + Quoted(key));
    if (found->type() != kind) Fail(Quoted(key) + " is not " + kindName);
    return *found;
  }

  // An optional member: nullptr when absent or null, refused when of another kind.
  const Json* Optional(const Json& object, const char* key, Kind kind, const char* kindName) const {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return nullptr;
    if (found->type() != kind) Fail(Quoted(key) + " is not " + kindName);
    return &*found;
  }

  // ParseJson reads every number as a finite double.
  double Number(const Json& value, const std::string& what) const {
    if (!value.is_number_float()) Fail(what + " is not a number");
    return value.get<double>();
  }

  static const std::string& String(const Json& value) {
    return value.get_ref<const std::string&>();
  }

  void Header(const Json& root) const {
    if (!root.is_object()) Fail("not a parameter file (no JSON object)");
    const Json& format = Member(root, "format", Kind::string, "a string");
    if (String(format) != kParameterFileFormat) {
      Fail(Quoted("format") + " is not \"" + kParameterFileFormat + "\"");
    }
    const double version =
        Number(Member(root, "version", Kind::number_float, "a number"), "\"version\"");
    if (version != kParameterFileVersion) {
      Fail("version " + Text(version) + " is not supported (only 1)");
    }
  }

  // The equation, order, thermal model, arithmetic and units, every value at
  // its default.
  models::Model Shape(const Json& root) const {
    const std::string& eos = String(Member(root, "eos", Kind::string, "a string"));
    const auto equation = Named<models::Equation, models::kEquationCount>(eos);
    if (!equation)
      Fail("\"eos\" is not one of " + Names<models::Equation, models::kEquationCount>());
    const double order = Number(Member(root, "order", Kind::number_float, "a number"), "\"order\"");
    if (order != 2 && order != 3 && order != 4) Fail("\"order\" is not 2, 3 or 4");
    if (!models::IsOfferedOrder(*equation, static_cast<int>(order))) {
      Fail(eos + " is not offered at order " + Text(order));
    }
    const models::Thermal thermal = ThermalModel(root);
    models::Model model =
        models::DefaultModel(*equation, static_cast<int>(order), thermal,
                             ArithmeticOf(root, DefaultArithmetic(*equation, thermal)));
    const std::string refusal = models::ValidationError(model);
    if (!refusal.empty()) Fail("\"arithmetic\": " + refusal);
    Units(root, model);
    return model;
  }

  // Exactly the values the model uses, its implied ones then replaced.
  void Values(const Json& root, models::Model& model) const {
    const Json& values = Member(root, "parameters", Kind::object, "an object");
    for (int i = 0; i < models::kParameterCount; ++i) {
      const auto parameter = static_cast<Parameter>(i);
      const char* name = models::Info(parameter).name;
      const auto found = values.find(name);
      if (RoleInFile(model, parameter) != Role::Unused) {
        if (found == values.end()) Fail("\"parameters\" has no " + Quoted(name));
        model[parameter] = Number(*found, Quoted(name));
      } else if (found != values.end() && !found->is_null()) {
        // A thermal model's values without its "thermal" would go unused unseen.
        Fail("\"parameters\" has " + Quoted(name) + ", which " + ModelName(model) +
             " does not use");
      }
    }
    models::ApplyImpliedCoefficients(model);
    if (IsCalculatorModel(model)) {
      AtLeastTheFloor("V0", model[Parameter::V0], "");
      AtLeastTheFloor("K0", model[Parameter::K0], "");
      AtLeastTheFloor("Kp0", std::fabs(model[Parameter::Kp0]), " in magnitude");
    }
    const std::string refusal = models::ValidationError(model);
    if (!refusal.empty()) Fail(refusal);
  }

  std::vector<Parameter> Refined(const Json& root, const models::Model& model) const {
    std::vector<Parameter> refined;
    const Json* list = Optional(root, "refined", Kind::array, "a list");
    if (!list) return refined;
    for (const Json& item : *list) {
      const auto parameter = item.is_string() ? ParameterNamed(String(item)) : std::nullopt;
      if (!parameter) Fail("\"refined\" names an unknown parameter");
      const std::string name = models::Info(*parameter).name;
      if (std::find(refined.begin(), refined.end(), *parameter) != refined.end()) {
        Fail("\"refined\" names " + name + " twice");
      }
      const Role role = RoleInFile(model, *parameter);
      if (role == Role::Unused) {
        Fail("\"refined\" names " + name + ", which " + ModelName(model) + " does not use");
      }
      if (role == Role::Implied) {
        Fail("\"refined\" names " + name + ", which " + models::Info(model.equation).name +
             " implies at order " + std::to_string(model.order));
      }
      refined.push_back(*parameter);
    }
    return refined;
  }

  void Covariance(const Json& root, ParameterFile& file) const {
    const Json* scaling =
        Optional(root, "covariance_scaling", Kind::string, "\"chi2\" or \"none\"");
    if (scaling && String(*scaling) != "chi2" && String(*scaling) != "none") {
      Fail("\"covariance_scaling\" is not \"chi2\" or \"none\"");
    }
    const auto matrix = root.find("covariance");
    if (matrix == root.end() || matrix->is_null()) return;
    file.covariance = Rows(*matrix, file.refined.size());
    if (file.covariance.empty()) return;
    if (!scaling) Fail("\"covariance\" has no \"covariance_scaling\" (\"chi2\" or \"none\")");
    file.covarianceScaled = String(*scaling) == "chi2";
    IsCovariance(file.covariance, file.refined);
  }

  void Provenance(const Json& root, ParameterFile& file) const {
    const Json* provenance = Optional(root, "provenance", Kind::object, "an object");
    if (provenance) AppendJsonValue(file.provenance, *provenance);
  }

 private:
  models::Thermal ThermalModel(const Json& root) const {
    const Json* name = Optional(root, "thermal", Kind::string, "a string");
    if (!name) return models::Thermal::Linear;
    const auto thermal = Named<models::Thermal, models::kThermalCount>(String(*name));
    if (!thermal) {
      Fail("\"thermal\" is not one of " + Names<models::Thermal, models::kThermalCount>());
    }
    return *thermal;
  }

  Arithmetic ArithmeticOf(const Json& root, Arithmetic byDefault) const {
    const Json* name = Optional(root, "arithmetic", Kind::string, "\"calculator\" or \"textbook\"");
    if (!name) return byDefault;
    if (String(*name) == kArithmeticNames[0]) return Arithmetic::Calculator;
    if (String(*name) == kArithmeticNames[1]) return Arithmetic::Textbook;
    Fail("\"arithmetic\" is not \"calculator\" or \"textbook\"");
  }

  // A cell's volume means nothing without the formula units it holds.
  void Units(const Json& root, models::Model& model) const {
    const Json* unit = Optional(root, "volume_unit", Kind::string, "\"cm3/mol\" or \"A3\"");
    if (unit) {
      const auto named = models::VolumeUnitFromName(String(*unit));
      if (!named || models::VolumeUnitName(*named) != String(*unit)) {
        Fail("\"volume_unit\" is not \"cm3/mol\" or \"A3\"");
      }
      model.volumeUnit = *named;
    }
    const Json* Z = Optional(root, "Z", Kind::number_float, "a number");
    const bool cell = model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell;
    if (Z && !cell) Fail("\"Z\" is given without \"volume_unit\": \"A3\"");
    if (cell && !Z) Fail("\"volume_unit\" \"A3\" has no \"Z\" (formula units per cell)");
    if (Z) model.Z = Z->get<double>();
  }

  void AtLeastTheFloor(const char* key, double value, const char* how) const {
    if (value < engine::kParameterFloor) {
      Fail(Quoted(key) + " is below the calculator's floor 0.0010000000474974513" + how);
    }
  }

  std::vector<std::vector<double>> Rows(const Json& matrix, std::size_t size) const {
    const std::string shape = std::to_string(size) + " x " + std::to_string(size);
    if (!matrix.is_array() || matrix.size() != size) {
      Fail("\"covariance\" is not a " + shape + " matrix matching \"refined\"");
    }
    std::vector<std::vector<double>> rows;
    for (const Json& row : matrix) {
      if (!row.is_array() || row.size() != size) {
        Fail("\"covariance\" is not a " + shape + " matrix matching \"refined\"");
      }
      rows.emplace_back();
      for (const Json& item : row) rows.back().push_back(Number(item, "a \"covariance\" entry"));
    }
    return rows;
  }

  // A covariance propagated into the tables must give real standard deviations.
  void IsCovariance(const std::vector<std::vector<double>>& rows,
                    const std::vector<Parameter>& refined) const {
    const auto n = static_cast<Eigen::Index>(rows.size());
    Eigen::MatrixXd matrix(n, n);
    for (Eigen::Index i = 0; i < n; ++i) {
      for (Eigen::Index j = 0; j < n; ++j) {
        matrix(i, j) = rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
      }
    }
    const CovarianceFault fault = CheckCovariance(matrix);
    const auto name = [&refined](int i) {
      return std::string(models::Info(refined[static_cast<std::size_t>(i)]).name);
    };
    using Fault = CovarianceFault::Kind;
    switch (fault.kind) {
      case Fault::None:
        return;
      case Fault::NegativeVariance:
        Fail("\"covariance\" has a negative variance of " + name(fault.row));
      case Fault::NotSymmetric:
        Fail("\"covariance\" is not symmetric: the entries of " + name(fault.row) + " and " +
             name(fault.column) + " differ");
      case Fault::BeyondItsVariances:
        Fail("\"covariance\" is not positive semi-definite: the covariance of " + name(fault.row) +
             " and " + name(fault.column) + " exceeds what their variances allow");
      case Fault::NotSemidefinite:
        Fail(
            "\"covariance\" is not positive semi-definite: a combination of the parameters has a "
            "negative variance");
    }
  }

  const std::string& source_;
};

}  // namespace

std::optional<Parameter> ParameterNamed(std::string_view name) {
  return Named<Parameter, models::kParameterCount>(name);
}

bool IsCalculatorModel(const models::Model& model) {
  return model.arithmetic == Arithmetic::Calculator && models::IsCalculatorFamily(model);
}

std::string WriteParameterFile(const ParameterFile& file) {
  const models::Model& model = file.model;
  std::string out = "{\n";
  AppendMember(out, "format", kParameterFileFormat);
  AppendKey(out, 1, "version");
  out += std::to_string(kParameterFileVersion) + ",\n";
  AppendMember(out, "eos", models::Info(model.equation).name);
  AppendKey(out, 1, "order");
  out += std::to_string(model.order) + ",\n";
  AppendModelKeys(out, model);
  AppendParameters(out, model);
  AppendKey(out, 1, "refined");
  out += "[";
  for (std::size_t i = 0; i < file.refined.size(); ++i) {
    if (i > 0) out += ", ";
    AppendJsonString(out, models::Info(file.refined[i]).name);
  }
  out += "],\n";
  if (!file.covariance.empty()) AppendCovariance(out, file);
  if (!file.provenance.empty()) {
    AppendKey(out, 1, "provenance");
    out += file.provenance;
  } else {
    out.resize(out.size() - 2);
  }
  out += "\n}\n";
  return out;
}

namespace {

// ", "key": {"K0": [160.2, 0.5], ...}", or nothing for no pairs.
void AppendNamedPairs(std::string& out, const char* key,
                      const std::vector<std::pair<std::string, std::pair<double, double>>>& pairs) {
  if (pairs.empty()) return;
  out += ", ";
  AppendJsonString(out, key);
  out += ": {";
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (i) out += ", ";
    AppendJsonString(out, pairs[i].first);
    out += ": [";
    AppendJsonNumber(out, pairs[i].second.first);
    out += ", ";
    AppendJsonNumber(out, pairs[i].second.second);
    out += ']';
  }
  out += '}';
}

}  // namespace

std::string ProvenanceJson(const Provenance& provenance) {
  std::string out = "{";
  AppendJsonString(out, "program");
  out += ": ";
  AppendJsonString(out, provenance.program);
  out += ", \"data\": ";
  AppendJsonString(out, provenance.data);
  out += ", \"chi2w\": ";
  AppendJsonNumber(out, provenance.chi2w);
  out += ", \"dof\": " + std::to_string(provenance.dof);
  out += provenance.converged ? ", \"converged\": true" : ", \"converged\": false";
  if (!provenance.esdScaling.empty()) {
    out += ", \"esd_scaling\": ";
    AppendJsonString(out, provenance.esdScaling);
  }
  AppendNamedPairs(out, "constraints", provenance.constraints);
  AppendNamedPairs(out, "bounds", provenance.bounds);
  if (!provenance.atBound.empty()) {
    out += ", \"at_bound\": [";
    for (std::size_t i = 0; i < provenance.atBound.size(); ++i) {
      if (i) out += ", ";
      AppendJsonString(out, provenance.atBound[i]);
    }
    out += ']';
  }
  return out + "}";
}

std::string ProvenanceFromText(std::string_view json, const std::string& source) {
  const FileReader reader(source);
  Json value;
  try {
    value = ParseJson(json);
  } catch (const JsonError& error) {
    reader.Fail(std::string("\"provenance\" is not valid JSON: ") + error.what());
  }
  if (!value.is_object()) reader.Fail("\"provenance\" is not an object");
  std::string out;
  AppendJsonValue(out, value);
  return out;
}

ParameterFile ReadParameterFile(std::string_view text, const std::string& source) {
  const FileReader reader(source);
  if (text.size() > kMaxParameterFileBytes) reader.Fail("too large for a parameter file");
  Json root;
  try {
    root = ParseJson(text);
  } catch (const JsonError& error) {
    reader.Fail(std::string("not valid JSON: ") + error.what());
  }
  ParameterFile file;
  reader.Header(root);
  file.model = reader.Shape(root);
  reader.Values(root, file.model);
  file.refined = reader.Refined(root, file.model);
  reader.Covariance(root, file);
  reader.Provenance(root, file);
  return file;
}

}  // namespace quorvane::params
