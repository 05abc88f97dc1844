#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/value_range.h"
#include "models/model.h"
#include "params/parameter_covariance.h"

namespace quorvane::app {

// The quantity a row holds fixed, as on the form's working-point fields.
enum class KnownQuantity { Pressure, Volume, VolumeOverV00, ZeroPressureVolume, VolumeOverVT0 };

enum class OutputFormat { Csv, Tsv, Json };

// How a volume is found from a pressure: the exact inversion, or the
// calculator's own search with its answers to the last bit.
enum class PressureSolver { Exact, Form };

// One state point to compute: the known quantity and its partner, which is the
// temperature, or the volume held when V(T,0) is known (T then follows).
struct StateInput {
  double known = 0.0;
  double partner = 0.0;
};

// --properties: the thermodynamic properties of each state point; the
// molar mass (g/mol) adds the density and the bulk sound speed, and the atoms
// per formula unit of an Einstein model its heat capacity.
struct PropertyRequest {
  bool wanted = false;
  std::optional<double> molarMass;
  std::optional<double> einsteinAtoms;
};

// Everything the command line asks for, checked and converted.
struct EosRequest {
  models::Model model;
  KnownQuantity known = KnownQuantity::Pressure;
  // Either a grid (partner outer, known inner) ...
  ValueRange knownValues;
  ValueRange partnerValues;
  // ... or a CSV file ("-" for standard input), whose rows fill csvRows.
  std::optional<std::string> inputPath;
  std::vector<StateInput> csvRows;
  OutputFormat format = OutputFormat::Csv;
  PressureSolver solver = PressureSolver::Exact;
  // 0: shortest round-trip numbers; otherwise the form's field width.
  int width = 0;
  // From a --params file with a covariance: the table adds the propagated
  // standard deviation of V (known P) or P (known V).
  std::optional<params::ParameterCovariance> covariance;
  // --band LEVEL with a covariance: the derived V or P +- z sigma, z the
  // two-sided normal quantile of the level (1 at 0.6827).
  struct Band {
    double level = 0.0;
    double z = 0.0;
  };
  std::optional<Band> band;
  // --plot: the isotherms are drawn to this path as SVG and PNG.
  std::optional<std::string> plotPath;
  // --params: the parameter file read; the plot may not replace it.
  std::optional<std::string> paramsPath;
  PropertyRequest properties;
  // --isentrope: csvRows hold the pressures with the temperatures of the
  // isentrope through the first of them.
  bool isentrope = false;
};

// The name of the standard-deviation column the table adds, or nullptr.
inline const char* UncertaintyColumn(const EosRequest& request) {
  if (!request.covariance) return nullptr;
  if (request.known == KnownQuantity::Pressure) return "sigV";
  if (request.known == KnownQuantity::Volume) return "sigP";
  return nullptr;
}

// The names of the confidence band's columns, after the standard deviation's,
// or nullptrs without a band.
struct BandColumns {
  const char* lower = nullptr;
  const char* upper = nullptr;
};
inline BandColumns BandColumnsOf(const EosRequest& request) {
  const char* sigma = UncertaintyColumn(request);
  if (!request.band || !sigma) return {};
  if (request.known == KnownQuantity::Pressure) return {"V_lo", "V_hi"};
  return {"P_lo", "P_hi"};
}

// True when the request is one state point given on the command line.
inline bool IsSinglePoint(const EosRequest& request) {
  return !request.inputPath && !request.isentrope && request.knownValues.single &&
         request.partnerValues.single;
}

}  // namespace quorvane::app
