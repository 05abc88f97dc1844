#pragma once

#include <string>

#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::app {

// The units a fit's figures put on P, V and T, in typographic form ("Å³");
// empty where it is not known, for no unit is better than a wrong one.
struct AxisUnits {
  std::string P;
  std::string V;
  std::string T;
  // What stands for V: "V", or "b³" where the cube of the cell edge b is
  // fitted in its place.
  std::string volumeName = "V";
};

// From the data file's column names ("V (A^3)" gives Å³, an edge "b (A)"
// cubed gives Å³); without one, a thermal-pressure model's own units (GPa, K
// and, for volumes, its --volume-unit). The other models reckon in whatever
// units the data come in.
AxisUnits AxisUnitsOf(const fit::FitData& data, const models::Model& model);

// A unit as a column name writes it, in typographic form; empty when it is
// not one a figure knows.
std::string PressureUnit(const std::string& written);
std::string VolumeUnit(const std::string& written);
std::string TemperatureUnit(const std::string& written);
// The cube of a length unit ("A" gives Å³); empty for any other.
std::string CubedLengthUnit(const std::string& written);

// The unit a parameter is typed in, made of the units of P, V and T
// ("10⁻⁵ K⁻¹" for alpha0, "GPa/K" for dK/dT); empty where the parameter has
// none or a unit it is made of is not known.
std::string ParameterUnit(models::Parameter parameter, const AxisUnits& units);

}  // namespace quorvane::app
