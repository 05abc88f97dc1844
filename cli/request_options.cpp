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

const KnownQuantity kQuantities[] = {
    KnownQuantity::Pressure, KnownQuantity::Volume, KnownQuantity::VolumeOverV00,
    KnownQuantity::ZeroPressureVolume, KnownQuantity::VolumeOverVT0};

constexpr int kMaxWidth = 32;

ValueRange RangeOption(const TypedOptions& options, const std::string& name) {
  const std::string* text = options.Find(name);
  return ParseValueRange(*text, name);
}

void CheckPositive(const ValueRange& range, const std::string& name) {
  if (range.Lowest() > 0.0) return;
  throw InputError(name + ": every value must be greater than zero");
}

OutputFormat FormatFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--format");
  if (!text || *text == "csv") return OutputFormat::Csv;
  if (*text == "tsv") return OutputFormat::Tsv;
  if (*text == "json") return OutputFormat::Json;
  throw InputError("--format: " + QuotedInput(*text) + " is not one of csv, tsv, json");
}

PressureSolver SolverFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--solver");
  if (!text || *text == "exact") return PressureSolver::Exact;
  if (*text == "form") return PressureSolver::Form;
  throw InputError("--solver: \"" + *text + "\" is not one of exact, form");
}

int WidthFromOptions(const TypedOptions& options) {
  const std::string* text = options.Find("--width");
  if (!text) return 0;
  const auto value = ParseDecimal(*text);
  if (!value || *value != static_cast<int>(*value) || *value < 1 || *value > kMaxWidth) {
    throw InputError("--width: " + QuotedInput(*text) + " is not a whole number from 1 to " +
                     std::to_string(kMaxWidth));
  }
  return static_cast<int>(*value);
}

// --band, once the known quantity and the covariance are known.
void ReadBandOption(const TypedOptions& options, EosRequest& request) {
  const std::string* text = options.Find("--band");
  if (!text) return;
  const auto level = ParseDecimal(*text);
  if (!level || !(*level > 0.0 && *level < 1.0)) {
    throw InputError("--band: " + QuotedInput(*text) + " is not a level between 0 and 1");
  }
  if (!request.covariance) {
    throw InputError("--band: needs a covariance, from a --params file that holds one");
  }
  if (!UncertaintyColumn(request)) {
    throw InputError("--band: the band is of V at a known P or of P at a known V");
  }
  request.band = EosRequest::Band{*level, params::TwoSidedNormalQuantile(*level)};
}

// Which quantity the command line gives, refusing none or several.
KnownQuantity KnownFromOptions(const TypedOptions& options) {
  const bool holdsZeroPressureVolume = options.Find("--VT0") != nullptr;
  int given = 0;
  KnownQuantity known = KnownQuantity::Pressure;
  for (KnownQuantity quantity : kQuantities) {
    if (!options.Find(OptionName(quantity))) continue;
    // With --VT0, --V is the volume held, not a second known quantity.
    if (quantity == KnownQuantity::Volume && holdsZeroPressureVolume) continue;
    known = quantity;
    ++given;
  }
  if (given > 1) {
    throw InputError("give only one of --P, --V, --V-over-V00, --VT0, --V-over-VT0");
  }
  if (given == 0) {
    throw InputError(
        "give one of --P, --V, --V-over-V00, --VT0 (with --V), --V-over-VT0 or --input");
  }
  return known;
}

void CheckTemperatures(const models::Model& model, const ValueRange& T) {
  const std::string problem = models::TemperatureError(model, T.Lowest());
  if (!problem.empty()) throw InputError("--T: " + problem);
}

void ReadGrid(const TypedOptions& options, EosRequest& request) {
  request.known = KnownFromOptions(options);
  if (request.known == KnownQuantity::ZeroPressureVolume)
    CheckTemperatureFollows(request.model, "--VT0");
  const std::string knownName = OptionName(request.known);
  request.knownValues = RangeOption(options, knownName);
  if (MustBePositive(request.known)) CheckPositive(request.knownValues, knownName);

  if (request.known == KnownQuantity::ZeroPressureVolume) {
    if (options.Find("--T")) throw InputError("--T: the temperature follows from --VT0");
    if (!options.Find("--V")) throw InputError("--VT0 needs --V, the volume held");
    request.partnerValues = RangeOption(options, "--V");
    CheckPositive(request.partnerValues, "--V");
    return;
  }
  const double Tref = request.model[models::Parameter::Tref];
  request.partnerValues =
      options.Find("--T") ? RangeOption(options, "--T") : ValueRange::Single(Tref);
  CheckTemperatures(request.model, request.partnerValues);
}

void CheckGridSize(const EosRequest& request) {
  const double rows = static_cast<double>(request.knownValues.count) *
                      static_cast<double>(request.partnerValues.count);
  if (rows <= static_cast<double>(kMaxRangeValues)) return;
  throw InputError("the grid would have more than " + std::to_string(kMaxRangeValues) + " rows");
}

void ReadInputOption(const TypedOptions& options, EosRequest& request) {
  for (KnownQuantity quantity : kQuantities) {
    if (options.Find(OptionName(quantity))) {
      throw InputError(std::string(OptionName(quantity)) +
                       ": the known quantity comes from --input");
    }
  }
  request.inputPath = *options.Find("--input");
  const double Tref = request.model[models::Parameter::Tref];
  request.partnerValues =
      options.Find("--T") ? RangeOption(options, "--T") : ValueRange::Single(Tref);
  CheckTemperatures(request.model, request.partnerValues);
  if (!request.partnerValues.single) {
    throw InputError("--T: with --input give one temperature, or a T column in the file");
  }
}

}  // namespace

const char* ColumnName(KnownQuantity quantity) {
  switch (quantity) {
    case KnownQuantity::Pressure:
      return "P";
    case KnownQuantity::Volume:
      return "V";
    case KnownQuantity::VolumeOverV00:
      return "V/V00";
    case KnownQuantity::ZeroPressureVolume:
      return "VT0";
    case KnownQuantity::VolumeOverVT0:
      return "V/VT0";
  }
  return "?";
}

const char* OptionName(KnownQuantity quantity) {
  switch (quantity) {
    case KnownQuantity::Pressure:
      return "--P";
    case KnownQuantity::Volume:
      return "--V";
    case KnownQuantity::VolumeOverV00:
      return "--V-over-V00";
    case KnownQuantity::ZeroPressureVolume:
      return "--VT0";
    case KnownQuantity::VolumeOverVT0:
      return "--V-over-VT0";
  }
  return "?";
}

bool ComputesAsTheForm(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model);
}

void CheckTemperatureFollows(const models::Model& model, const std::string& where) {
  if (ComputesAsTheForm(model)) return;
  throw InputError(where +
                   ": V(T,0) gives a temperature only for the calculator's linear thermal model");
}

bool MustBePositive(KnownQuantity quantity) {
  return quantity != KnownQuantity::Pressure;
}

EosRequest RequestFromOptions(const TypedOptions& typed) {
  const TypedOptions options = WithPathsAsGrid(typed);
  EosRequest request;
  ReadParamsOption(options, request);
  if (const std::string* params = options.Find("--params")) request.paramsPath = *params;
  request.format = FormatFromOptions(options);
  request.width = WidthFromOptions(options);
  if (const std::string* plot = options.Find("--plot")) {
    CheckFileName("--plot", PlotBasePath(*plot));
    request.plotPath = *plot;
  }
  request.solver = SolverFromOptions(options);
  if (request.solver == PressureSolver::Form && !ComputesAsTheForm(request.model)) {
    throw InputError(
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
