#include "fit/parameter_file.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "fit/json_value.h"
#include "fit/parameter_covariance.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using Kind = JsonValue::Kind;

// The eight values, in the order a file lists them.
struct NamedValue {
  const char* name;
  double engine::EosParameters::*field;
};

constexpr NamedValue kValues[] = {
    {"V0", &engine::EosParameters::V0},         {"K0", &engine::EosParameters::K0},
    {"Kp0", &engine::EosParameters::Kp0},       {"Kpp0", &engine::EosParameters::Kpp0},
    {"alpha0", &engine::EosParameters::alpha0}, {"alpha1", &engine::EosParameters::alpha1},
    {"dKdT", &engine::EosParameters::dKdT},     {"Tref", &engine::EosParameters::Tref},
};

using models::Parameter;

// The calculator's parameters a fit may have refined.
constexpr Parameter kRefinable[] = {Parameter::V0,   Parameter::K0,     Parameter::Kp0,
                                    Parameter::Kpp0, Parameter::alpha0, Parameter::alpha1,
                                    Parameter::dKdT};

const char* ParameterName(Parameter parameter) {
  return models::Info(parameter).name;
}

const char* EosName(engine::EosType type) {
  return models::Info(models::EquationOf(type)).name;
}

std::optional<engine::EosType> EosFromName(std::string_view name) {
  for (const auto type : {engine::EosType::Murnaghan, engine::EosType::BirchMurnaghan,
                          engine::EosType::Vinet, engine::EosType::NaturalStrain}) {
    if (name == EosName(type)) return type;
  }
  return std::nullopt;
}

std::optional<Parameter> ParameterFromName(std::string_view name) {
  for (const Parameter parameter : kRefinable) {
    if (name == ParameterName(parameter)) return parameter;
  }
  return std::nullopt;
}

bool IsFree(const engine::EosParameters& p, Parameter parameter) {
  return models::ListedRole(models::FromCalculatorParameters(p), parameter) == models::Role::Free;
}

void Indent(std::string& out, int level) {
  out.append(static_cast<std::size_t>(2 * level), ' ');
}

void AppendKey(std::string& out, int level, const char* key) {
  Indent(out, level);
  AppendJsonString(out, key);
  out += ": ";
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
  AppendKey(out, 1, "covariance_scaling");
  AppendJsonString(out, file.covarianceScaled ? "chi2" : "none");
  out += ",\n";
}

std::string Quoted(const char* key) {
  return std::string("\"") + key + "\"";
}

class FileReader {
 public:
  explicit FileReader(const std::string& source) : source_(source) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw ParameterFileError(source_ + ": " + what);
  }

  const JsonValue& Member(const JsonValue& object, const char* key, Kind kind,
                          const char* kindName) const {
    const JsonValue* value = object.Find(key);
    if (!value) Fail("no " + Quoted(key));
    if (value->kind != kind) Fail(Quoted(key) + " is not " + kindName);
    return *value;
  }

  // An optional member: nullptr when absent or null, refused when of another kind.
  const JsonValue* Optional(const JsonValue& object, const char* key, Kind kind,
                            const char* kindName) const {
    const JsonValue* value = object.Find(key);
    if (!value || value->kind == Kind::Null) return nullptr;
    if (value->kind != kind) Fail(Quoted(key) + " is not " + kindName);
    return value;
  }

  double Finite(const JsonValue& value, const std::string& what) const {
    if (value.kind != Kind::Number) Fail(what + " is not a number");
    if (!std::isfinite(value.number)) Fail(what + " is not finite");
    return value.number;
  }

  void Header(const JsonValue& root) const {
    if (root.kind != Kind::Object) Fail("not a parameter file (no JSON object)");
    const JsonValue& format = Member(root, "format", Kind::String, "a string");
    if (format.text != kParameterFileFormat) {
      Fail(Quoted("format") + " is not \"" + kParameterFileFormat + "\"");
    }
    const double version = Finite(Member(root, "version", Kind::Number, "a number"), "\"version\"");
    if (version != kParameterFileVersion) {
      Fail("version " + Text(version) + " is not supported (only 1)");
    }
  }

  void Model(const JsonValue& root, engine::EosParameters& p) const {
    const JsonValue& eos = Member(root, "eos", Kind::String, "a string");
    const auto type = EosFromName(eos.text);
    if (!type) {
      Fail("\"eos\" is not one of murnaghan, birch-murnaghan, vinet, natural-strain");
    }
    p.type = *type;
    const double order = Finite(Member(root, "order", Kind::Number, "a number"), "\"order\"");
    if (order != 2 && order != 3 && order != 4) Fail("\"order\" is not 2, 3 or 4");
    p.order = static_cast<engine::EosOrder>(order);
    if (!models::IsOfferedOrder(models::EquationOf(p.type), p.order)) {
      Fail(std::string(eos.text) + " is not offered at order " + Text(order));
    }
  }

  // All eight values, the implied ones then replaced as the calculator replaces them.
  void Values(const JsonValue& root, engine::EosParameters& p) const {
    const JsonValue& values = Member(root, "parameters", Kind::Object, "an object");
    for (const NamedValue& named : kValues) {
      const JsonValue* value = values.Find(named.name);
      if (!value) Fail("\"parameters\" has no " + Quoted(named.name));
      p.*named.field = Finite(*value, Quoted(named.name));
    }
    engine::UpdateImpliedCoefficients(p);
    AtLeastTheFloor("V0", p.V0, "");
    AtLeastTheFloor("K0", p.K0, "");
    AtLeastTheFloor("Kp0", std::fabs(p.Kp0), " in magnitude");
  }

  std::vector<Parameter> Refined(const JsonValue& root, const engine::EosParameters& p) const {
    std::vector<Parameter> refined;
    const JsonValue* list = Optional(root, "refined", Kind::Array, "a list");
    if (!list) return refined;
    for (const JsonValue& item : list->items) {
      const auto parameter =
          item.kind == Kind::String ? ParameterFromName(item.text) : std::nullopt;
      if (!parameter) Fail("\"refined\" names an unknown parameter");
      const std::string name = ParameterName(*parameter);
      if (std::find(refined.begin(), refined.end(), *parameter) != refined.end()) {
        Fail("\"refined\" names " + name + " twice");
      }
      if (!IsFree(p, *parameter)) {
        Fail("\"refined\" names " + name + ", which " + EosName(p.type) + " implies at order " +
             std::to_string(p.order));
      }
      refined.push_back(*parameter);
    }
    return refined;
  }

  void Covariance(const JsonValue& root, ParameterFile& file) const {
    const JsonValue* scaling =
        Optional(root, "covariance_scaling", Kind::String, "\"chi2\" or \"none\"");
    if (scaling && scaling->text != "chi2" && scaling->text != "none") {
      Fail("\"covariance_scaling\" is not \"chi2\" or \"none\"");
    }
    const JsonValue* matrix = root.Find("covariance");
    if (!matrix || matrix->kind == Kind::Null) return;
    file.covariance = Rows(*matrix, file.refined.size());
    if (file.covariance.empty()) return;
    if (!scaling) Fail("\"covariance\" has no \"covariance_scaling\" (\"chi2\" or \"none\")");
    file.covarianceScaled = scaling->text == "chi2";
    IsCovariance(file.covariance, file.refined);
  }

  void Provenance(const JsonValue& root, ParameterFile& file) const {
    const JsonValue* provenance = Optional(root, "provenance", Kind::Object, "an object");
    if (provenance) AppendJsonValue(file.provenance, *provenance);
  }

 private:
  static std::string Text(double x) {
    std::string text;
    AppendJsonNumber(text, x);
    return text;
  }

  void AtLeastTheFloor(const char* key, double value, const char* how) const {
    if (value < engine::kParameterFloor) {
      Fail(Quoted(key) + " is below the calculator's floor 0.0010000000474974513" + how);
    }
  }

  std::vector<std::vector<double>> Rows(const JsonValue& matrix, std::size_t size) const {
    const std::string shape = std::to_string(size) + " x " + std::to_string(size);
    if (matrix.kind != Kind::Array || matrix.items.size() != size) {
      Fail("\"covariance\" is not a " + shape + " matrix matching \"refined\"");
    }
    std::vector<std::vector<double>> rows;
    for (const JsonValue& row : matrix.items) {
      if (row.kind != Kind::Array || row.items.size() != size) {
        Fail("\"covariance\" is not a " + shape + " matrix matching \"refined\"");
      }
      rows.emplace_back();
      for (const JsonValue& item : row.items) {
        rows.back().push_back(Finite(item, "a \"covariance\" entry"));
      }
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
      return std::string(ParameterName(refined[static_cast<std::size_t>(i)]));
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

std::string WriteParameterFile(const ParameterFile& file) {
  const engine::EosParameters& p = file.parameters;
  std::string out = "{\n";
  AppendKey(out, 1, "format");
  AppendJsonString(out, kParameterFileFormat);
  out += ",\n";
  AppendKey(out, 1, "version");
  out += std::to_string(kParameterFileVersion) + ",\n";
  AppendKey(out, 1, "eos");
  AppendJsonString(out, EosName(p.type));
  out += ",\n";
  AppendKey(out, 1, "order");
  out += std::to_string(p.order) + ",\n";
  AppendKey(out, 1, "parameters");
  out += "{";
  for (const NamedValue& named : kValues) {
    if (named.field != kValues[0].field) out += ", ";
    AppendJsonString(out, named.name);
    out += ": ";
    AppendJsonNumber(out, p.*named.field);
  }
  out += "},\n";
  AppendKey(out, 1, "refined");
  out += "[";
  for (std::size_t i = 0; i < file.refined.size(); ++i) {
    if (i > 0) out += ", ";
    AppendJsonString(out, ParameterName(file.refined[i]));
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
  out += provenance.converged ? ", \"converged\": true}" : ", \"converged\": false}";
  return out;
}

std::string ProvenanceFromText(std::string_view json, const std::string& source) {
  const FileReader reader(source);
  JsonValue value;
  try {
    value = ParseJson(json);
  } catch (const JsonError& error) {
    reader.Fail(std::string("\"provenance\" is not valid JSON: ") + error.what());
  }
  if (value.kind != Kind::Object) reader.Fail("\"provenance\" is not an object");
  std::string out;
  AppendJsonValue(out, value);
  return out;
}

ParameterFile ReadParameterFile(std::string_view text, const std::string& source) {
  const FileReader reader(source);
  if (text.size() > kMaxParameterFileBytes) reader.Fail("too large for a parameter file");
  JsonValue root;
  try {
    root = ParseJson(text);
  } catch (const JsonError& error) {
    reader.Fail(std::string("not valid JSON: ") + error.what());
  }
  ParameterFile file;
  reader.Header(root);
  reader.Model(root, file.parameters);
  reader.Values(root, file.parameters);
  file.refined = reader.Refined(root, file.parameters);
  reader.Covariance(root, file);
  reader.Provenance(root, file);
  return file;
}

}  // namespace quorvane::fit
