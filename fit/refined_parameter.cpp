#include "fit/refined_parameter.h"

namespace quorvane::fit {
namespace {

using engine::EosType;

struct ParameterNames {
  RefinedParameter parameter;
  const char* name;
  const char* symbol;
};

constexpr ParameterNames kNames[] = {
    {RefinedParameter::V0, "V0", "V0"},
    {RefinedParameter::K0, "K0", "K0"},
    {RefinedParameter::Kp0, "Kp0", "K'0"},
    {RefinedParameter::Kpp0, "Kpp0", "K''0"},
    {RefinedParameter::alpha0, "alpha0", "alpha0"},
    {RefinedParameter::alpha1, "alpha1", "alpha1"},
    {RefinedParameter::dKdT, "dKdT", "dK/dT"},
};

struct TypeName {
  EosType type;
  const char* name;
};

constexpr TypeName kTypeNames[] = {
    {EosType::Murnaghan, "murnaghan"},
    {EosType::BirchMurnaghan, "birch-murnaghan"},
    {EosType::Vinet, "vinet"},
    {EosType::NaturalStrain, "natural-strain"},
};

}  // namespace

const char* ParameterName(RefinedParameter parameter) {
  return kNames[static_cast<int>(parameter)].name;
}

const char* ParameterSymbol(RefinedParameter parameter) {
  return kNames[static_cast<int>(parameter)].symbol;
}

std::optional<RefinedParameter> ParameterFromName(std::string_view name) {
  for (const ParameterNames& entry : kNames) {
    if (name == entry.name) return entry.parameter;
  }
  return std::nullopt;
}

double& ParameterValue(engine::EosParameters& p, RefinedParameter parameter) {
  switch (parameter) {
    case RefinedParameter::V0:
      return p.V0;
    case RefinedParameter::K0:
      return p.K0;
    case RefinedParameter::Kp0:
      return p.Kp0;
    case RefinedParameter::Kpp0:
      return p.Kpp0;
    case RefinedParameter::alpha0:
      return p.alpha0;
    case RefinedParameter::alpha1:
      return p.alpha1;
    case RefinedParameter::dKdT:
      break;
  }
  return p.dKdT;
}

double ParameterValue(const engine::EosParameters& p, RefinedParameter parameter) {
  return ParameterValue(const_cast<engine::EosParameters&>(p), parameter);
}

bool IsFree(const engine::EosParameters& p, RefinedParameter parameter) {
  if (parameter == RefinedParameter::Kp0) return p.order != 2 || p.type == EosType::Murnaghan;
  if (parameter != RefinedParameter::Kpp0) return true;
  return p.order == 4 && (p.type == EosType::BirchMurnaghan || p.type == EosType::NaturalStrain);
}

const char* EosName(EosType type) {
  for (const TypeName& entry : kTypeNames) {
    if (entry.type == type) return entry.name;
  }
  return "?";
}

std::optional<EosType> EosFromName(std::string_view name) {
  for (const TypeName& entry : kTypeNames) {
    if (name == entry.name) return entry.type;
  }
  return std::nullopt;
}

bool IsOfferedOrder(EosType type, engine::EosOrder order) {
  if (order < 2 || order > 4) return false;
  if (type == EosType::Murnaghan) return order == 3;
  if (type == EosType::Vinet) return order != 4;
  return true;
}

}  // namespace quorvane::fit
