#include "app/axis_units.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "models/model_catalogue.h"

namespace quorvane::app {
namespace {

struct Spelling {
  std::string_view written;
  std::string_view shown;
};

// Matched without regard to case or blanks, except where case tells units
// apart (MPa from mPa), which are matched as written first.
constexpr Spelling kPressures[] = {{"GPa", "GPa"},   {"MPa", "MPa"}, {"TPa", "TPa"},
                                   {"kbar", "kbar"}, {"bar", "bar"}, {"Pa", "Pa"}};
constexpr Spelling kVolumes[] = {{"a^3", "Å³"},
                                 {"a3", "Å³"},
                                 {"a**3", "Å³"},
                                 {"ang^3", "Å³"},
                                 {"ang3", "Å³"},
                                 {"å^3", "Å³"},
                                 {"å3", "Å³"},
                                 {"å³", "Å³"},
                                 {"angstrom^3", "Å³"},
                                 {"cm^3/mol", "cm³/mol"},
                                 {"cm3/mol", "cm³/mol"},
                                 {"cm³/mol", "cm³/mol"},
                                 {"cm^3mol^-1", "cm³/mol"},
                                 {"cm3mol-1", "cm³/mol"},
                                 {"nm^3", "nm³"},
                                 {"nm3", "nm³"},
                                 {"bohr^3", "bohr³"}};
constexpr Spelling kTemperatures[] = {{"k", "K"}, {"kelvin", "K"}};

// Lower case (ASCII only, so that Å stays whole) without blanks.
std::string Folded(std::string_view text) {
  std::string folded;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded;
}

std::string Lookup(std::string_view written, const Spelling* begin, const Spelling* end) {
  for (const Spelling* s = begin; s != end; ++s) {
    if (s->written == written) return std::string(s->shown);
  }
  const std::string folded = Folded(written);
  for (const Spelling* s = begin; s != end; ++s) {
    if (Folded(s->written) == folded && folded != "mpa") return std::string(s->shown);
  }
  return {};
}

}  // namespace

std::string PressureUnit(const std::string& written) {
  return Lookup(written, std::begin(kPressures), std::end(kPressures));
}

std::string VolumeUnit(const std::string& written) {
  return Lookup(written, std::begin(kVolumes), std::end(kVolumes));
}

std::string TemperatureUnit(const std::string& written) {
  return Lookup(written, std::begin(kTemperatures), std::end(kTemperatures));
}

AxisUnits AxisUnitsOf(const fit::FitData& data, const models::Model& model) {
  AxisUnits units{PressureUnit(data.units.P), VolumeUnit(data.units.V),
                  TemperatureUnit(data.units.T)};
  if (!models::Info(model.thermal).thermalPressure) return units;
  // A thermal pressure is reckoned in GPa and K from volumes in the model's
  // unit: the data must be in them for the fit to mean anything.
  if (data.units.P.empty()) units.P = "GPa";
  if (data.units.T.empty()) units.T = "K";
  if (data.units.V.empty()) {
    units.V = model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell ? "Å³" : "cm³/mol";
  }
  return units;
}

}  // namespace quorvane::app
