#pragma once

#include <string>
#include <vector>

#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::fit {

// K'0 outside these has run away: no solid has a negative one, and values
// above 30 only fit data that do not determine it.
inline constexpr double kLowestSensibleKp0 = 0.0;
inline constexpr double kHighestSensibleKp0 = 30.0;
// V0 this far, as a fraction, from the volume at the lowest pressure has run
// away; judged only where that pressure is below kLowPressureOfK0 of K0,
// where the data's own compression there is smaller than that.
inline constexpr double kV0Tolerance = 0.10;
inline constexpr double kLowPressureOfK0 = 0.05;

// Why the refined parameters of a model have run away (K'0 below 0 or above
// 30, V0 more than 10 % from the volume at the data's lowest pressure); empty
// where they have not.
std::string RunawayProblem(const models::Model& model,
                           const std::vector<models::Parameter>& refined, const FitData& data);

// RunawayProblem over the steps of one fit: the point at the lowest pressure
// is looked up once per T(ref), not at every step. Holds a reference to data.
class RunawayWatch {
 public:
  RunawayWatch(const FitData& data, const std::vector<models::Parameter>& refined);
  std::string operator()(const models::Model& model);

 private:
  const FitData& data_;
  bool kp0_;
  bool v0_;
  const Observation* lowest_ = nullptr;
  double lowestTref_ = 0.0;
};

// "V0 = 163.7, K0 = 84.39, K'0 = 4.891": the refined values to 7 digits.
std::string ValuesText(const models::Model& model, const std::vector<models::Parameter>& refined);

// Molar volumes per atom of solids near ambient pressure lie within these,
// in cm^3/mol (diamond about 3.4, the alkali metals and heavy noble gases
// above it to about 70 but rare under a thermal-pressure model). A V0 outside
// them by the factor between A^3 per cell and cm^3/mol is the volume unit
// chosen wrongly far more often than an unusual solid.
inline constexpr double kSmallestMolarVolumePerAtom = 3.0;
inline constexpr double kLargestMolarVolumePerAtom = 20.0;

// For a model with an Einstein or Mie-Grueneisen-Debye thermal pressure,
// which takes V in cm^3/mol or in A^3 per cell of Z formula units: a hint
// naming the other unit where V0 per atom is more than solids have in
// cm^3/mol, or, in A^3 per cell, less than they have and within the range
// read as cm^3/mol; empty otherwise.
std::string VolumeUnitHint(const models::Model& model);

// What a crystallographer tries when a fit fails or runs away: fixing K'0 at
// 4, refining fewer parameters, checking the units of P and V (for a thermal
// pressure, cm^3/mol against A^3 per cell).
std::string Advice(const models::Model& model, const std::vector<models::Parameter>& refined);

}  // namespace quorvane::fit
