#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/eos_parameters.h"

namespace quorvane::fit {

// The parameters a fit can refine, in the order results list them.
enum class RefinedParameter { V0, K0, Kp0, Kpp0, alpha0, alpha1, dKdT };

inline constexpr int kParameterCount = 7;
inline constexpr std::array<RefinedParameter, kParameterCount> kAllParameters{
    RefinedParameter::V0,   RefinedParameter::K0,     RefinedParameter::Kp0,
    RefinedParameter::Kpp0, RefinedParameter::alpha0, RefinedParameter::alpha1,
    RefinedParameter::dKdT};

// The name in parameter files and on the command line ("Kp0").
const char* ParameterName(RefinedParameter parameter);
// The name a reader of the results expects ("K'0").
const char* ParameterSymbol(RefinedParameter parameter);
std::optional<RefinedParameter> ParameterFromName(std::string_view name);

double& ParameterValue(engine::EosParameters& parameters, RefinedParameter parameter);
double ParameterValue(const engine::EosParameters& parameters, RefinedParameter parameter);

// Whether the type and order leave the parameter free: K'0 is implied at 2nd
// order, K''0 everywhere but at 4th-order Birch-Murnaghan and natural strain.
bool IsFree(const engine::EosParameters& parameters, RefinedParameter parameter);

// The equations of state by their command-line names.
const char* EosName(engine::EosType type);
std::optional<engine::EosType> EosFromName(std::string_view name);

// The orders the calculator offers for the type.
bool IsOfferedOrder(engine::EosType type, engine::EosOrder order);

}  // namespace quorvane::fit
