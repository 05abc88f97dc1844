#pragma once

#include <cstdint>

// The identifiers of the calculator form and of the controls the controller
// addresses. Labels and group boxes are never addressed; their ids live only
// in the form template.
namespace quorvane::calculator {

inline constexpr std::int32_t kCalculatorFormId = 101;
inline constexpr std::int32_t kProgramIconId = 107;

inline constexpr std::int32_t kExitButton = 8;

// Working-point fields.
inline constexpr std::int32_t kPressureField = 1000;
inline constexpr std::int32_t kVolumeField = 1001;
inline constexpr std::int32_t kVolumeRatioField = 1002;         // V/V(0,0)
inline constexpr std::int32_t kZeroPressureVolumeField = 1032;  // V(T,0)
inline constexpr std::int32_t kTemperatureField = 1037;
inline constexpr std::int32_t kThermalVolumeRatioField = 1043;  // V/V(T,0)

// Parameter fields.
inline constexpr std::int32_t kV0Field = 1008;
inline constexpr std::int32_t kK0Field = 1010;
inline constexpr std::int32_t kKp0Field = 1012;
inline constexpr std::int32_t kKpp0Field = 1031;
inline constexpr std::int32_t kAlpha0Field = 1014;
inline constexpr std::int32_t kAlpha1Field = 1018;
inline constexpr std::int32_t kDKdTField = 1035;
inline constexpr std::int32_t kTrefField = 1020;

// Equation-of-state type radios.
inline constexpr std::int32_t kMurnaghanRadio = 1021;
inline constexpr std::int32_t kBirchMurnaghanRadio = 1022;
inline constexpr std::int32_t kVinetRadio = 1023;
inline constexpr std::int32_t kNaturalStrainRadio = 1024;

// Truncation order radios.
inline constexpr std::int32_t kOrder2Radio = 1025;
inline constexpr std::int32_t kOrder3Radio = 1026;
inline constexpr std::int32_t kOrder4Radio = 1027;

inline constexpr std::int32_t kCreditLine = 1029;
inline constexpr std::int32_t kImpliedNote = 1033;  // "Implied values in gray"

// Display precision: the digits-only field and its spin.
inline constexpr std::int32_t kPrecisionField = 1038;
inline constexpr std::int32_t kPrecisionSpin = 1039;

}  // namespace quorvane::calculator
