#include "fit/fit_diagnosis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "models/model_catalogue.h"
#include "models/thermal_equations.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

bool Refines(const std::vector<Parameter>& refined, Parameter parameter) {
  return std::find(refined.begin(), refined.end(), parameter) != refined.end();
}

std::string Digits(double x, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, x);
  return text;
}

// The point at the lowest pressure on the temperature nearest T(ref).
const Observation* LowestPressurePoint(const FitData& data, double Tref) {
  const Observation* lowest = nullptr;
  double nearest = INFINITY;
  for (const Observation& point : data.points)
    nearest = std::min(nearest, std::fabs(point.T - Tref));
  for (const Observation& point : data.points) {
    if (std::fabs(point.T - Tref) != nearest) continue;
    if (!lowest || point.P < lowest->P) lowest = &point;
  }
  return lowest;
}

std::string V0Problem(const models::Model& model, const Observation* lowest) {
  const double V0 = model[Parameter::V0], K0 = model[Parameter::K0];
  if (!lowest || !(lowest->P < kLowPressureOfK0 * std::fabs(K0))) return "";
  const double off = V0 / lowest->V - 1.0;
  if (std::fabs(off) <= kV0Tolerance) return "";
  return "V0 = " + Digits(V0, 7) + " is " + Digits(std::fabs(off) * 100.0, 3) +
         " % from the volume at the lowest pressure, " + Digits(lowest->V, 7) +
         " at P = " + Digits(lowest->P, 4);
}

}  // namespace

RunawayWatch::RunawayWatch(const FitData& data, const std::vector<Parameter>& refined)
    : data_(data),
      kp0_(Refines(refined, Parameter::Kp0)),
      v0_(Refines(refined, Parameter::V0) && !data.points.empty()) {}

std::string RunawayWatch::operator()(const models::Model& model) {
  if (kp0_) {
    const double Kp0 = model[Parameter::Kp0];
    if (Kp0 < kLowestSensibleKp0) return "K'0 = " + Digits(Kp0, 4) + " ran below 0";
    if (Kp0 > kHighestSensibleKp0) return "K'0 = " + Digits(Kp0, 4) + " ran above 30";
  }
  if (!v0_) return "";
  const double Tref = model[Parameter::Tref];
  if (!lowest_ || Tref != lowestTref_) {
    lowest_ = LowestPressurePoint(data_, Tref);
    lowestTref_ = Tref;
  }
  return V0Problem(model, lowest_);
}

std::string RunawayProblem(const models::Model& model, const std::vector<Parameter>& refined,
                           const FitData& data) {
  return RunawayWatch(data, refined)(model);
}

std::string ValuesText(const models::Model& model, const std::vector<Parameter>& refined) {
  std::string text;
  for (Parameter parameter : refined) {
    text += std::string(text.empty() ? "" : ", ") + models::Info(parameter).symbol + " = " +
            Digits(model[parameter], 7);
  }
  return text;
}

namespace {

bool HasThermalPressure(const models::Model& model) {
  return model.thermal == models::Thermal::Einstein ||
         model.thermal == models::Thermal::MieGruneisenDebye;
}

bool SolidLike(double molarVolumePerAtom) {
  return molarVolumePerAtom >= kSmallestMolarVolumePerAtom &&
         molarVolumePerAtom <= kLargestMolarVolumePerAtom;
}

}  // namespace

std::string VolumeUnitHint(const models::Model& model) {
  if (!HasThermalPressure(model)) return "";
  const double atoms =
      model.thermal == models::Thermal::MieGruneisenDebye ? model[Parameter::natoms] : 1.0;
  const double V0 = model[Parameter::V0];
  if (!(atoms > 0.0) || !(V0 > 0.0) || !(model.Z > 0.0)) return "";
  // Read as cm^3/mol, a cell's volume in A^3 is Z / 0.6022 times too large
  // for every Z; read as A^3, a molar volume comes out 0.6022 / Z times too small.
  if (model.volumeUnit == models::VolumeUnit::CubicCentimetresPerMole) {
    if (V0 / atoms <= kLargestMolarVolumePerAtom) return "";
    return "V0 = " + Digits(V0, 7) + " cm3/mol is " + Digits(V0 / atoms, 3) +
           " cm3/mol per atom, more than solids have: the thermal pressure takes V in cm3/mol; "
           "for volumes in A3 per unit cell choose the volume unit A3 and Z";
  }
  const double molar = V0 * models::kMolarVolumePerCubicAngstrom / model.Z;
  if (SolidLike(molar / atoms) || !SolidLike(V0 / atoms)) return "";
  return "V0 = " + Digits(V0, 7) + " A3 per cell of Z = " + Digits(model.Z, 4) + " is " +
         Digits(molar / atoms, 3) +
         " cm3/mol per atom, less than solids have: for volumes in cm3/mol choose the volume "
         "unit cm3/mol";
}

std::string Advice(const models::Model& model, const std::vector<Parameter>& refined) {
  std::string advice = "try ";
  if (Refines(refined, Parameter::Kp0)) advice += "fixing K'0 at 4 (refine V0 and K0 only), ";
  if (refined.size() > 2) advice += "refining fewer parameters, ";
  advice += (advice.size() > 4 ? "or " : "");
  if (!HasThermalPressure(model)) {
    return advice + "checking that P and V are in the units of the starting values";
  }
  return advice +
         "checking that P is in GPa and that V is in the volume unit chosen for the thermal "
         "pressure: cm3/mol, or A3 per unit cell with Z formula units";
}

}  // namespace quorvane::fit
