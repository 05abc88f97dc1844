#include "fit/parameter_file.h"

#include <algorithm>
#include <cmath>

#include "fit/json_value.h"

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

// Beyond this a "dof" is no count of points; it is left at 0.
constexpr double kLargestDof = 1e9;

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

void AppendProvenance(std::string& out, const Provenance& provenance) {
  AppendKey(out, 1, "provenance");
  out += "{";
  AppendJsonString(out, "program");
  out += ": ";
  AppendJsonString(out, provenance.program);
  out += ", \"data\": ";
  AppendJsonString(out, provenance.data);
  out += ", \"chi2w\": ";
  AppendJsonNumber(out, provenance.chi2w);
  out += ", \"dof\": " + std::to_string(provenance.dof);
  out += provenance.converged ? ", \"converged\": true}" : ", \"converged\": false}";
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
    if (!value) Fail(std::string("no \"") + key + "\"");
    if (value->kind != kind) Fail(std::string("\"") + key + "\" is not " + kindName);
    return *value;
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
      Fail(std::string("\"format\" is not \"") + kParameterFileFormat + "\"");
    }
    const double version = Finite(Member(root, "version", Kind::Number, "a number"), "\"version\"");
    if (version != std::floor(version) || version < 1 || version > kParameterFileVersion) {
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
    if (!IsOfferedOrder(p.type, p.order)) {
      Fail(std::string(eos.text) + " is not offered at order " + Text(order));
    }
  }

  void Values(const JsonValue& root, engine::EosParameters& p) const {
    const JsonValue& values = Member(root, "parameters", Kind::Object, "an object");
    for (const NamedValue& named : kValues) {
      const JsonValue* value = values.Find(named.name);
      if (!value) Fail(std::string("\"parameters\" has no \"") + named.name + "\"");
      p.*named.field = Finite(*value, std::string("\"") + named.name + "\"");
    }
    for (const char* floored : {"V0", "K0", "Kp0"}) {
      if (std::fabs(values.Find(floored)->number) < engine::kParameterFloor) {
        Fail(std::string("\"") + floored +
             "\" is below the calculator's floor 0.0010000000474974513");
      }
    }
  }

  std::vector<RefinedParameter> Refined(const JsonValue& root) const {
    std::vector<RefinedParameter> refined;
    const JsonValue* list = root.Find("refined");
    if (!list) return refined;
    if (list->kind != Kind::Array) Fail("\"refined\" is not a list");
    for (const JsonValue& item : list->items) {
      const auto parameter =
          item.kind == Kind::String ? ParameterFromName(item.text) : std::nullopt;
      if (!parameter) Fail("\"refined\" names an unknown parameter");
      if (std::find(refined.begin(), refined.end(), *parameter) != refined.end()) {
        Fail(std::string("\"refined\" names ") + ParameterName(*parameter) + " twice");
      }
      refined.push_back(*parameter);
    }
    return refined;
  }

  void Covariance(const JsonValue& root, ParameterFile& file) const {
    const JsonValue* matrix = root.Find("covariance");
    if (!matrix || matrix->kind == Kind::Null) return;
    const std::size_t size = file.refined.size();
    if (matrix->kind != Kind::Array || matrix->items.size() != size) {
      Fail("\"covariance\" is not a " + std::to_string(size) + " x " + std::to_string(size) +
           " matrix matching \"refined\"");
    }
    for (const JsonValue& row : matrix->items) {
      if (row.kind != Kind::Array || row.items.size() != size) {
        Fail("\"covariance\" is not a " + std::to_string(size) + " x " + std::to_string(size) +
             " matrix matching \"refined\"");
      }
      file.covariance.emplace_back();
      for (const JsonValue& item : row.items) {
        file.covariance.back().push_back(Finite(item, "a \"covariance\" entry"));
      }
    }
    for (std::size_t i = 0; i < size; ++i) {
      if (file.covariance[i][i] < 0.0) Fail("\"covariance\" has a negative variance");
    }
    const JsonValue* scaling = root.Find("covariance_scaling");
    if (!scaling) return;
    if (scaling->kind != Kind::String || (scaling->text != "chi2" && scaling->text != "none")) {
      Fail("\"covariance_scaling\" is not \"chi2\" or \"none\"");
    }
    file.covarianceScaled = scaling->text == "chi2";
  }

  void ReadProvenance(const JsonValue& root, ParameterFile& file) const {
    const JsonValue* provenance = root.Find("provenance");
    if (!provenance || provenance->kind != Kind::Object) return;
    file.hasProvenance = true;
    Provenance& p = file.provenance;
    if (const JsonValue* v = provenance->Find("program"); v && v->kind == Kind::String) {
      p.program = v->text;
    }
    if (const JsonValue* v = provenance->Find("data"); v && v->kind == Kind::String) {
      p.data = v->text;
    }
    if (const JsonValue* v = provenance->Find("chi2w"); v && v->kind == Kind::Number) {
      p.chi2w = v->number;
    }
    if (const JsonValue* v = provenance->Find("dof"); v && v->kind == Kind::Number) {
      if (std::fabs(v->number) < kLargestDof) p.dof = static_cast<int>(v->number);
    }
    if (const JsonValue* v = provenance->Find("converged"); v && v->kind == Kind::Boolean) {
      p.converged = v->boolean;
    }
  }

 private:
  static std::string Text(double x) {
    std::string text;
    AppendJsonNumber(text, x);
    return text;
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
  if (file.hasProvenance) {
    AppendProvenance(out, file.provenance);
  } else {
    out.resize(out.size() - 2);
  }
  out += "\n}\n";
  return out;
}

ParameterFile ReadParameterFile(std::string_view text, const std::string& source) {
  const FileReader reader(source);
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
  file.refined = reader.Refined(root);
  reader.Covariance(root, file);
  reader.ReadProvenance(root, file);
  engine::UpdateImpliedCoefficients(file.parameters);
  return file;
}

}  // namespace quorvane::fit
