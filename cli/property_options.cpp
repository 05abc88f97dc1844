#include "cli/property_options.h"

#include <cmath>
#include <limits>
#include <string>

#include "app/atom_count.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "engine/state_point.h"
#include "models/isentrope.h"
#include "models/model_catalogue.h"
#include "models/model_volume.h"

namespace quorvane::cli {
namespace {

// Where --natoms waits for ReadPropertyOptions, out of the model's options,
// where the model may be an einstein one: that model's pressure holds no atom
// count, which only its heat capacity needs, and a parameter file's model is
// known only once the file is read.
constexpr const char* kAtomCount = "atom count";

bool NamesEinstein(const app::TypedOptions& options) {
  const std::string* thermal = options.Find("--thermal");
  return thermal && models::ThermalFromName(*thermal) == models::Thermal::Einstein;
}

void Rename(app::TypedOptions& options, const std::string& path, const std::string& grid) {
  const auto it = options.values.find(path);
  if (it == options.values.end()) return;
  if (options.Find(grid)) throw app::InputError(path + ": give either " + path + " or " + grid);
  options.values[grid] = it->second;
  options.values.erase(it);
}

double PositiveNumber(const app::TypedOptions& options, const std::string& name) {
  const std::string& text = *options.Find(name);
  const auto value = app::ParseDecimal(text);
  if (!value || !(*value > 0.0)) {
    throw app::InputError(name + ": " + app::QuotedInput(text) + " is not a number above zero");
  }
  return *value;
}

// The pressures of the grid with the temperatures of the isentrope through
// the first of them at the one temperature given.
void ReadIsentrope(app::EosRequest& request) {
  const models::Model& model = request.model;
  if (!models::HasClosedFormIsentrope(model)) {
    throw app::InputError(std::string("--isentrope: the ") + models::Info(model.thermal).name +
                          " thermal model has no entropy of its own; the isentrope is that of mgd");
  }
  if (request.inputPath || request.known != app::KnownQuantity::Pressure) {
    throw app::InputError("--isentrope: give the pressures with --P");
  }
  if (!request.partnerValues.single) {
    throw app::InputError(
        "--isentrope: give one temperature, that of the first pressure, with --T");
  }
  const double P0 = request.knownValues.start;
  const double T0 = request.partnerValues.start;
  const engine::VolumeSolution start = models::VolumeFromPressure(model, P0, T0);
  if (!engine::IsVolumeFound(start)) {
    std::string message = "--isentrope: the pressure ";
    app::AppendShortest(message, P0);
    message += " is not reached at T = ";
    app::AppendShortest(message, T0);
    throw app::InputError(message);
  }
  request.isentrope = true;
  request.csvRows.clear();
  double guess = start.V;
  for (std::int64_t i = 0; i < request.knownValues.count; ++i) {
    const double P = request.knownValues.At(i);
    if (P == P0) {
      request.csvRows.push_back({P, T0});
      continue;
    }
    const models::IsentropePoint point = models::IsentropeAt(model, start.V, T0, P, guess);
    if (point.converged) guess = point.V;
    request.csvRows.push_back(
        {P, point.converged ? point.T : std::numeric_limits<double>::quiet_NaN()});
  }
}

}  // namespace

app::TypedOptions WithPathsAsGrid(const app::TypedOptions& options) {
  app::TypedOptions grid = options;
  Rename(grid, "--isobar", "--P");
  Rename(grid, "--isochore", "--V");
  if (NamesEinstein(grid) || grid.Find("--params")) Rename(grid, "--natoms", kAtomCount);
  return grid;
}

void ReadPropertyOptions(const app::TypedOptions& options, app::EosRequest& request) {
  request.properties.wanted = options.Find("--properties") != nullptr;
  if (options.Find("--molar-mass")) {
    if (!request.properties.wanted) throw app::InputError("--molar-mass: goes with --properties");
    request.properties.molarMass = PositiveNumber(options, "--molar-mass");
  }
  if (const std::string* atoms = options.Find(kAtomCount)) app::ReadAtomCount(*atoms, request);
  if (options.Find("--isentrope")) ReadIsentrope(request);
}

}  // namespace quorvane::cli
