#include "cli/request_options.h"

#include <string>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/output_files.h"
#include "app/safe_text.h"
#include "cli/params_option.h"
#include "cli/property_options.h"
#include "models/model_catalogue.h"
#include "params/confidence_band.h"

namespace quorvane::cli {
namespace {

const app::KnownQuantity kQuantities[] = {
    app::KnownQuantity::Pressure, app::KnownQuantity::Volume, app::KnownQuantity::VolumeOverV00,
    app::KnownQuantity::ZeroPressureVolume, app::KnownQuantity::VolumeOverVT0};

constexpr int kMaxWidth = 32;

app::ValueRange RangeOption(const app::TypedOptions& options, const std::string& name) {
  const std::string* text = options.Find(name);
  return app::ParseValueRange(*text, name);
}

void CheckPositive(const app::ValueRange& range, const std::string& name) {
  if (range.Lowest() > 0.0) return;
  throw app::InputError(name + ": every value must be greater than zero");
}

app::OutputFormat FormatFromOptions(const app::TypedOptions& options) {
  const std::string* text = options.Find("--format");
  if (!text || *text == "csv") return app::OutputFormat::Csv;
  if (*text == "tsv") return app::OutputFormat::Tsv;
  if (*text == "json") return app::OutputFormat::Json;
  throw app::InputError("--format: " + app::QuotedInput(*text) + " is not one of csv, tsv, json");
}

app::PressureSolver SolverFromOptions(const app::TypedOptions& options) {
  const std::string* text = options.Find("--solver");
  if (!text || *text == "exact") return app::PressureSolver::Exact;
  if (*text == "form") return app::PressureSolver::Form;
  throw app::InputError("--solver: \"" + *text + "\" is not one of exact, form");
}

int WidthFromOptions(const app::TypedOptions& options) {
  const std::string* text = options.Find("--width");
  if (!text) return 0;
  const auto value = app::ParseDecimal(*text);
  if (!value || *value != static_cast<int>(*value) || *value < 1 || *value > kMaxWidth) {
    throw app::InputError("--width: " + app::QuotedInput(*text) +
                          " is not a whole number from 1 to " + std::to_string(kMaxWidth));
  }
  return static_cast<int>(*value);
}

// --band, once the known quantity and the covariance are known.
void ReadBandOption(const app::TypedOptions& options, app::EosRequest& request) {
  const std::string* text = options.Find("--band");
  if (!text) return;
  const auto level = app::ParseDecimal(*text);
  if (!level || !(*level > 0.0 && *level < 1.0)) {
    throw app::InputError("--band: " + app::QuotedInput(*text) + " is not a level between 0 and 1");
  }
  if (!request.covariance) {
    throw app::InputError("--band: needs a covariance, from a --params file that holds one");
  }
  if (!app::UncertaintyColumn(request)) {
    throw app::InputError("--band: the band is of V at a known P or of P at a known V");
  }
  request.band = app::EosRequest::Band{*level, params::TwoSidedNormalQuantile(*level)};
}

// Which quantity the command line gives, refusing none or several.
app::KnownQuantity KnownFromOptions(const app::TypedOptions& options) {
  const bool holdsZeroPressureVolume = options.Find("--VT0") != nullptr;
  int given = 0;
  app::KnownQuantity known = app::KnownQuantity::Pressure;
  for (app::KnownQuantity quantity : kQuantities) {
    if (!options.Find(OptionName(quantity))) continue;
    // With --VT0, --V is the volume held, not a second known quantity.
    if (quantity == app::KnownQuantity::Volume && holdsZeroPressureVolume) continue;
    known = quantity;
    ++given;
  }
  if (given > 1) {
    throw app::InputError("give only one of --P, --V, --V-over-V00, --VT0, --V-over-VT0");
  }
  if (given == 0) {
    throw app::InputError(
        "give one of --P, --V, --V-over-V00, --VT0 (with --V), --V-over-VT0 or --input");
  }
  return known;
}

void CheckTemperatures(const models::Model& model, const app::ValueRange& T) {
  const std::string problem = models::TemperatureError(model, T.Lowest());
  if (!problem.empty()) throw app::InputError("--T: " + problem);
}

void ReadGrid(const app::TypedOptions& options, app::EosRequest& request) {
  request.known = KnownFromOptions(options);
  if (request.known == app::KnownQuantity::ZeroPressureVolume)
    CheckTemperatureFollows(request.model, "--VT0");
  const std::string knownName = OptionName(request.known);
  request.knownValues = RangeOption(options, knownName);
  if (MustBePositive(request.known)) CheckPositive(request.knownValues, knownName);

  if (request.known == app::KnownQuantity::ZeroPressureVolume) {
    if (options.Find("--T")) throw app::InputError("--T: the temperature follows from --VT0");
    if (!options.Find("--V")) throw app::InputError("--VT0 needs --V, the volume held");
    request.partnerValues = RangeOption(options, "--V");
    CheckPositive(request.partnerValues, "--V");
    return;
  }
  const double Tref = request.model[models::Parameter::Tref];
  request.partnerValues =
      options.Find("--T") ? RangeOption(options, "--T") : app::ValueRange::Single(Tref);
  CheckTemperatures(request.model, request.partnerValues);
}

void CheckGridSize(const app::EosRequest& request) {
  const double rows = static_cast<double>(request.knownValues.count) *
                      static_cast<double>(request.partnerValues.count);
  if (rows <= static_cast<double>(app::kMaxRangeValues)) return;
  throw app::InputError("the grid would have more than " + std::to_string(app::kMaxRangeValues) +
                        " rows");
}

void ReadInputOption(const app::TypedOptions& options, app::EosRequest& request) {
  for (app::KnownQuantity quantity : kQuantities) {
    if (options.Find(OptionName(quantity))) {
      throw app::InputError(std::string(OptionName(quantity)) +
                            ": the known quantity comes from --input");
    }
  }
  request.inputPath = *options.Find("--input");
  const double Tref = request.model[models::Parameter::Tref];
  request.partnerValues =
      options.Find("--T") ? RangeOption(options, "--T") : app::ValueRange::Single(Tref);
  CheckTemperatures(request.model, request.partnerValues);
  if (!request.partnerValues.single) {
    throw app::InputError("--T: with --input give one temperature, or a T column in the file");
  }
}

}  // namespace

const char* ColumnName(app::KnownQuantity quantity) {
  switch (quantity) {
    case app::KnownQuantity::Pressure:
      return "P";
    case app::KnownQuantity::Volume:
      return "V";
    case app::KnownQuantity::VolumeOverV00:
      return "V/V00";
    case app::KnownQuantity::ZeroPressureVolume:
      return "VT0";
    case app::KnownQuantity::VolumeOverVT0:
      return "V/VT0";
  }
  return "?";
}

const char* OptionName(app::KnownQuantity quantity) {
  switch (quantity) {
    case app::KnownQuantity::Pressure:
      return "--P";
    case app::KnownQuantity::Volume:
      return "--V";
    case app::KnownQuantity::VolumeOverV00:
      return "--V-over-V00";
    case app::KnownQuantity::ZeroPressureVolume:
      return "--VT0";
    case app::KnownQuantity::VolumeOverVT0:
      return "--V-over-VT0";
  }
  return "?";
}

bool ComputesAsTheForm(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model);
}

void CheckTemperatureFollows(const models::Model& model, const std::string& where) {
  if (ComputesAsTheForm(model)) return;
  throw app::InputError(
      where + ": V(T,0) gives a temperature only for the calculator's linear thermal model");
}

bool MustBePositive(app::KnownQuantity quantity) {
  return quantity != app::KnownQuantity::Pressure;
}

app::EosRequest RequestFromOptions(const app::TypedOptions& typed) {
  const app::TypedOptions options = WithPathsAsGrid(typed);
  app::EosRequest request;
  ReadParamsOption(options, request);
  if (const std::string* params = options.Find("--params")) request.paramsPath = *params;
  request.format = FormatFromOptions(options);
  request.width = WidthFromOptions(options);
  if (const std::string* plot = options.Find("--plot")) {
    app::CheckFileName("--plot", app::PlotBasePath(*plot));
    request.plotPath = *plot;
  }
  request.solver = SolverFromOptions(options);
  if (request.solver == app::PressureSolver::Form && !ComputesAsTheForm(request.model)) {
    throw app::InputError(
        "--solver form: the form's search computes only the calculator's equations with the "
        "linear thermal model, in the calculator's arithmetic");
  }
  if (options.Find("--input")) {
    ReadInputOption(options, request);
  } else {
    ReadGrid(options, request);
    CheckGridSize(request);
  }
  ReadBandOption(options, request);
  ReadPropertyOptions(options, request);
  return request;
}

}  // namespace quorvane::cli
