#pragma once

#include <array>
#include <cstdint>

namespace quorvane::models {

// The isothermal equations of state.
enum class Equation : std::int32_t { Murnaghan, BirchMurnaghan, Vinet, NaturalStrain, Tait };
inline constexpr int kEquationCount = 5;

// How V0 and K0 change with temperature: the expansion models (Linear, Berman,
// Fei, HollandPowell) expand the volume at zero pressure (V(T,0) = V0
// exp(integral of alpha dT), K(T) = K0 + dK/dT (T - Tref)); Einstein and
// MieGruneisenDebye add a thermal pressure to the reference isotherm.
enum class Thermal : std::int32_t {
  Linear,
  Berman,
  Fei,
  Einstein,
  MieGruneisenDebye,
  HollandPowell
};
inline constexpr int kThermalCount = 6;

// Calculator: the form's own arithmetic, single-precision exponents and all,
// for the four classic equations with the linear expansion. Textbook: the
// same formulas in full double precision (7/3, 5/3, 2/3, 35/9 as doubles),
// and the only arithmetic of every other model.
enum class Arithmetic : std::int32_t { Calculator, Textbook };

// The volume unit a thermal pressure is computed in: molar volumes, or the
// volume of a unit cell holding Z formula units.
enum class VolumeUnit : std::int32_t { CubicCentimetresPerMole, CubicAngstromsPerCell };

// Every parameter of every model, in the order results list them. alpha0 and
// alpha1 are held in their typed scales (1e-5 and 1e-8), the rest as is.
enum class Parameter : std::int32_t {
  V0,
  K0,
  Kp0,
  Kpp0,
  alpha0,
  alpha1,
  alpha2,
  dKdT,
  Tref,
  theta0,
  gamma0,
  q,
  natoms,
};
inline constexpr int kParameterCount = 13;

template <class Scalar>
using ParameterArray = std::array<Scalar, kParameterCount>;

constexpr int Index(Parameter parameter) {
  return static_cast<int>(parameter);
}

// One equation of state with its parameter values.
struct Model {
  Equation equation = Equation::BirchMurnaghan;
  int order = 3;
  Thermal thermal = Thermal::Linear;
  Arithmetic arithmetic = Arithmetic::Calculator;
  VolumeUnit volumeUnit = VolumeUnit::CubicCentimetresPerMole;
  // Formula units per cell, with VolumeUnit::CubicAngstromsPerCell.
  double Z = 1.0;
  ParameterArray<double> values{};

  double& operator[](Parameter p) { return values[Index(p)]; }
  double operator[](Parameter p) const { return values[Index(p)]; }
};

}  // namespace quorvane::models
