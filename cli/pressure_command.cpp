#include <CLI/CLI.hpp>
#include <cmath>
#include <map>
#include <optional>

#include "app/data_table.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/scale_pressure.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/scale_commands.h"
#include "cli/subcommand_parse.h"

namespace quorvane::cli {
namespace {

constexpr const char* kCommand = "pressure";
// The options that take a number, or a range start:stop:step where marked.
const char* const kRangeOptions[] = {"--V", "--a", "--lambda", "--T"};
const char* const kNumberOptions[] = {"--lambda0", "--sigV", "--sigA", "--sigLambda", "--sigT"};
// The table is computed whole before it is written, so that a bad reading
// leaves nothing half-written: its size is bounded.
constexpr std::int64_t kMaxPoints = 1'000'000;

// One calibrant reading: x is V, a or lambda as the scale reads it.
struct Reading {
  double x = 0.0;
  double sigX = 0.0;
  double T = 0.0;
  double sigT = 0.0;
  std::optional<double> lambda0;
  std::string where;
};

struct PressureRequest {
  scales::Scale scale;
  // "V", "a" or "lambda".
  std::string quantity;
  std::vector<Reading> readings;
  OutputFormat format = OutputFormat::Csv;
  std::optional<double> lambda0;
};

double Number(const std::map<std::string, std::string>& given, const std::string& option) {
  const std::optional<double> x = ParseDecimal(given.at(option));
  if (!x) throw InputError(option + ": " + DecimalSyntaxProblem(given.at(option)));
  return *x;
}

bool IsGauge(const scales::Scale& scale) {
  return std::holds_alternative<const scales::FluorescenceScale*>(scale);
}

// The quantity the scale reads and the option or column that gives it.
std::string QuantityOf(const scales::Scale& scale, bool hasA) {
  if (IsGauge(scale)) return "lambda";
  return hasA ? "a" : "V";
}

std::string SigmaName(const std::string& quantity) {
  if (quantity == "V") return "sigV";
  if (quantity == "a") return "sigA";
  return "sigLambda";
}

void CheckQuantityOptions(const PressureRequest& request,
                          const std::map<std::string, std::string>& given, bool input) {
  const bool gauge = IsGauge(request.scale);
  const char* const wrong[] = {gauge ? "--V" : "--lambda", gauge ? "--a" : "--lambda0",
                               gauge ? "--sigV" : "--sigLambda", gauge ? "--sigA" : "--lambda0"};
  for (const char* option : wrong) {
    if (given.count(option)) {
      throw InputError(std::string(option) + ": " + scales::InfoOf(request.scale).name +
                       (gauge ? " is a fluorescence gauge" : " is a volume scale"));
    }
  }
  if (given.count("--V") && given.count("--a")) throw InputError("--a: give --V or --a, not both");
  const bool has = given.count("--" + request.quantity) > 0;
  if (input && has)
    throw InputError("--input: the readings come from the file, not --" + request.quantity);
  if (!input && !has)
    throw InputError("--" + request.quantity + ": no reading given (or --input FILE)");
  if (request.quantity == "a" && !std::get<scales::VolumeScale>(request.scale).cubic) {
    throw InputError("--a: " + scales::InfoOf(request.scale).name + " has no cubic cell");
  }
}

void ReadingsFromRanges(PressureRequest& request, const std::map<std::string, std::string>& given,
                        double sigX, double sigT) {
  const std::string option = "--" + request.quantity;
  const ValueRange xs = ParseValueRange(given.at(option), option);
  ValueRange Ts;
  Ts.start = Ts.last = DefaultTemperature(request.scale);
  if (given.count("--T")) Ts = ParseValueRange(given.at("--T"), "--T");
  if (xs.count * Ts.count > kMaxPoints) {
    throw InputError(option + ": more than " + std::to_string(kMaxPoints) + " points");
  }
  for (std::int64_t t = 0; t < Ts.count; ++t) {
    for (std::int64_t i = 0; i < xs.count; ++i) {
      std::string where = option + " " + std::to_string(i + 1);
      request.readings.push_back({xs.At(i), sigX, Ts.At(t), sigT, request.lambda0, where});
    }
  }
}

void ReadingsFromFile(PressureRequest& request, const std::string& path, std::istream& in) {
  const std::string sigma = SigmaName(request.quantity);
  const DataTable table =
      ReadDataTable(path, "--input", in, {{request.quantity}, {"T", sigma, "sigT", "lambda0"}});
  const double defaultT = DefaultTemperature(request.scale);
  auto value = [&](std::size_t row, const char* name, double fallback) {
    const int column = table.header.Find(name);
    const double x = table.Value(row, static_cast<std::size_t>(column));
    return table.header.Has(name) ? x : fallback;
  };
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    Reading reading;
    reading.x = table.Value(r, 0);
    reading.sigX = value(r, sigma.c_str(), 0.0);
    reading.T = value(r, "T", defaultT);
    reading.sigT = value(r, "sigT", 0.0);
    reading.lambda0 = request.lambda0;
    if (table.header.Has("lambda0")) reading.lambda0 = value(r, "lambda0", 0.0);
    reading.where = DataLocation(table.header.source, table.lines[r]);
    request.readings.push_back(reading);
  }
}

PressureRequest RequestFrom(const std::map<std::string, std::string>& given, std::istream& in) {
  if (!given.count("--scale"))
    throw InputError("--scale: which scale? (quorvane-eos scales lists them)");
  PressureRequest request{
      ScaleOption("--scale", given.at("--scale")), {}, {}, OutputFormat::Csv, {}};
  request.quantity = QuantityOf(request.scale, given.count("--a") > 0);
  const bool input = given.count("--input") > 0;
  CheckQuantityOptions(request, given, input);
  if (given.count("--format")) request.format = ScaleFormat(given.at("--format"));
  if (given.count("--lambda0")) request.lambda0 = Number(given, "--lambda0");
  const std::string sigOption = "--" + SigmaName(request.quantity);
  const double sigX = given.count(sigOption) ? Number(given, sigOption) : 0.0;
  const double sigT = given.count("--sigT") ? Number(given, "--sigT") : 0.0;
  if (sigX < 0.0) throw InputError(sigOption + ": a standard deviation is not below zero");
  if (sigT < 0.0) throw InputError("--sigT: a standard deviation is not below zero");
  if (input) {
    if (given.count("--T")) throw InputError("--T: the temperatures come from --input");
    ReadingsFromFile(request, given.at("--input"), in);
  } else {
    ReadingsFromRanges(request, given, sigX, sigT);
  }
  return request;
}

ScaleTable Compute(const PressureRequest& request) {
  ScaleTable table;
  const bool gauge = IsGauge(request.scale);
  table.columns = {"P", "sigP"};
  if (request.quantity == "a") table.columns.push_back("a");
  table.columns.push_back(gauge ? "lambda" : "V");
  if (gauge) table.columns.push_back("lambda0");
  table.columns.push_back("T");
  for (const Reading& r : request.readings) {
    std::vector<double> row;
    ScalePressure p;
    if (gauge) {
      const auto& scale = *std::get<const scales::FluorescenceScale*>(request.scale);
      const double lambda0 = GaugeLambda0(scale, r.lambda0.value_or(0.0), r.lambda0.has_value());
      p = GaugePressure(scale, r.x, r.sigX, lambda0, r.T, r.sigT, r.where);
      row = {p.P, p.sigP, r.x, lambda0, r.T};
    } else {
      const auto& scale = std::get<scales::VolumeScale>(request.scale);
      const bool lattice = request.quantity == "a";
      if (lattice && !(r.x > 0.0)) throw InputError(r.where + ": a is not above zero");
      const double V = lattice ? r.x * r.x * r.x : r.x;
      const double sigV = lattice ? 3.0 * r.x * r.x * r.sigX : r.sigX;
      p = VolumeScalePressure(scale, V, sigV, r.T, r.sigT, r.where);
      row = lattice ? std::vector<double>{p.P, p.sigP, r.x, V, r.T}
                    : std::vector<double>{p.P, p.sigP, V, r.T};
    }
    table.rows.push_back(row);
    table.inRange.push_back(p.inRange);
  }
  return table;
}

}  // namespace

int RunPressureCommand(const std::vector<std::string>& arguments, std::istream& in,
                       std::ostream& out, std::ostream& err) {
  CLI::App app{
      "The pressure a calibrant gives on a scale: from its cell volume (--V, or --a for "
      "a cubic lattice parameter) and temperature, or from a fluorescence line "
      "(--lambda, nm) and its ambient wavelength --lambda0. Values may be ranges "
      "start:stop:step, or rows of an --input CSV file with those column names.",
      "quorvane-eos pressure"};
  std::map<std::string, std::string> values;
  app.add_option("--scale", values["--scale"],
                 "a scale's name (quorvane-eos scales) or a scale file");
  for (const char* option : kRangeOptions) app.add_option(option, values[option], "value or range");
  for (const char* option : kNumberOptions) app.add_option(option, values[option], "number");
  app.add_option("--input", values["--input"],
                 "CSV or TSV file of readings (- for standard input)");
  app.add_option("--format", values["--format"], "csv | tsv | json (default csv)");
  ScaleTable table;
  std::string name;
  OutputFormat format = OutputFormat::Csv;
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos pressure", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
    std::map<std::string, std::string> given;
    for (const auto& [option, value] : values) {
      if (app.count(option) > 0) given[option] = value;
    }
    const PressureRequest request = RequestFrom(given, in);
    table = Compute(request);
    name = scales::InfoOf(request.scale).name;
    format = request.format;
    err.flush();
    out << table.Text(format);
    if (!out.flush()) {
      err << "quorvane-eos pressure: writing the table failed\n";
      return kExitWriteFailed;
    }
    err << RangeWarning(kCommand, table.OutOfRange(), scales::InfoOf(request.scale));
  } catch (const InputError& error) {
    err << "quorvane-eos pressure: " << error.what() << '\n';
    return kExitBadInput;
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
