#include "app/axis_units.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
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
constexpr Spelling kLengths[] = {{"a", "Å³"},        {"å", "Å³"},   {"ang", "Å³"},
                                 {"angstrom", "Å³"}, {"nm", "nm³"}, {"bohr", "bohr³"}};
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

// "⁻⁵" for -5.
std::string Superscript(long n) {
  static constexpr const char* kDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  std::string text = n < 0 ? "⁻" : "";
  for (char c : std::to_string(n < 0 ? -n : n)) text += kDigits[c - '0'];
  return text;
}

// A unit over T^power, with the factor a typed value carries (alpha0 is
// typed in 1e-5 K^-1).
std::string PerTemperature(const std::string& T, int power, double typedScale) {
  if (T.empty()) return {};
  const std::string factor =
      typedScale == 1.0 ? "" : "10" + Superscript(std::lround(std::log10(typedScale))) + " ";
  return factor + T + Superscript(-power);
}

}  // namespace

std::string ParameterUnit(models::Parameter parameter, const AxisUnits& units) {
  const models::ParameterInfo& info = models::Info(parameter);
  switch (info.unit) {
    case models::UnitKind::None:
      return {};
    case models::UnitKind::Volume:
      return units.V;
    case models::UnitKind::Pressure:
      return units.P;
    case models::UnitKind::InversePressure:
      return units.P.empty() ? "" : units.P + "⁻¹";
    case models::UnitKind::Temperature:
      return units.T;
    case models::UnitKind::PerTemperature:
      return PerTemperature(units.T, 1, info.scale);
    case models::UnitKind::PerTemperatureSquared:
      return PerTemperature(units.T, 2, info.scale);
    case models::UnitKind::PressurePerTemperature:
      return units.P.empty() || units.T.empty() ? "" : units.P + "/" + units.T;
  }
  return {};
}

std::string PressureUnit(const std::string& written) {
  return Lookup(written, std::begin(kPressures), std::end(kPressures));
}

std::string VolumeUnit(const std::string& written) {
  return Lookup(written, std::begin(kVolumes), std::end(kVolumes));
}

std::string TemperatureUnit(const std::string& written) {
  return Lookup(written, std::begin(kTemperatures), std::end(kTemperatures));
}

std::string CubedLengthUnit(const std::string& written) {
  return Lookup(written, std::begin(kLengths), std::end(kLengths));
}

AxisUnits AxisUnitsOf(const fit::FitData& data, const models::Model& model) {
  const bool cubedAxis = !data.axis.empty();
  AxisUnits units{PressureUnit(data.units.P),
                  cubedAxis ? CubedLengthUnit(data.units.V) : VolumeUnit(data.units.V),
                  TemperatureUnit(data.units.T), cubedAxis ? data.axis + "³" : "V"};
  if (!models::Info(model.thermal).thermalPressure) return units;
  // A thermal pressure is reckoned in GPa and K from volumes in the model's
  // unit: the data must be in them for the fit to mean anything.
  if (data.units.P.empty()) units.P = "GPa";
  if (data.units.T.empty()) units.T = "K";
  if (data.units.V.empty() && !cubedAxis) {
    units.V = model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell ? "Å³" : "cm³/mol";
  }
  return units;
}

}  // namespace quorvane::app
