#pragma once

#include <cstdint>

namespace quorvane::engine {

// The equation of state. The form only sets 1..4, but every other value is
// legal and computes as Murnaghan (pressure) or takes the search (solver).
enum class EosType : std::int32_t {
  Murnaghan = 1,
  BirchMurnaghan = 2,
  Vinet = 3,
  NaturalStrain = 4,
};

// Truncation order: 2, 3 or 4 on the form; any other value is tolerated.
using EosOrder = std::int32_t;

// 0.001 held in single precision: the floor of V0, K0 and |K'0|.
inline constexpr double kParameterFloor = 0.0010000000474974513;

// 35/9 and 19/36 held in single precision: the constant terms of the
// Birch-Murnaghan and Vinet implied K''0.
inline constexpr double kBirchCoefficient = 3.8888888359069824;
inline constexpr double kVinetCoefficient = 0.5277777910232544;

// The reference parameters of the material and the display width. The field
// initialisers are the start-up values, except Kpp0, which start-up computes.
struct EosParameters {
  std::int32_t precision = 7;
  double V0 = 10.0;
  double K0 = 100.0;
  double Kp0 = 4.0;
  double Kpp0 = 0.0;
  double alpha0 = 2.0;
  double alpha1 = 0.0;
  double dKdT = -0.019999999552965164;
  double Tref = 298.0;
  EosType type = EosType::BirchMurnaghan;
  EosOrder order = 3;
};

// The state point shown on the form.
struct WorkingPoint {
  double P = 0.0;
  double T = 0.0;
  double V = 0.0;
  double VoverV00 = 0.0;
  double VT0 = 0.0;
  double VoverVT0 = 0.0;
};

// Overwrites Kp0 and Kpp0 with the values the type and order imply.
void UpdateImpliedCoefficients(EosParameters& parameters);

}  // namespace quorvane::engine
