#include <CLI/CLI.hpp>
#include <cmath>
#include <map>
#include <optional>

#include "app/data_table.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/scale_commands.h"
#include "cli/subcommand_parse.h"
#include "scales/calibrant_cell.h"

namespace quorvane::cli {
namespace {

constexpr const char* kCommand = "pressure";
// The options that take a number, or a range start:stop:step where marked.
const char* const kRangeOptions[] = {"--V", "--a", "--lambda", "--T"};
const char* const kNumberOptions[] = {"--lambda0", "--sigV",      "--sigA",
                                      "--sigD",    "--sigLambda", "--sigT"};
// The table is computed whole before it is written, so that a bad reading
// leaves nothing half-written: its size is bounded.
constexpr std::int64_t kMaxPoints = 1'000'000;

// One calibrant reading: x is V, a, a spacing d or lambda as the scale reads it.
struct Sample {
  double x = 0.0;
  double sigX = 0.0;
  double T = 0.0;
  double sigT = 0.0;
  std::optional<double> lambda0;
  std::string where;
};

// A column or option that holds the calibrant's reading, with its standard
// deviation's. Vcal and acal are the names a data set of the sample gives
// the calibrant's own (rescale reads them too), beside the sample's V. A
// spacing d111 of a cubic calibrant is read through its lattice parameter.
struct ReadingName {
  std::string name;
  std::string sigma;
  app::Reading reading;
  std::optional<scales::Reflection> spacing{};
};

const ReadingName kReadingNames[] = {
    {"V", "sigV", app::Reading::Volume},
    {"a", "sigA", app::Reading::Lattice},
    {"Vcal", "sigVcal", app::Reading::Volume},
    {"acal", "sigAcal", app::Reading::Lattice},
    {"lambda", "sigLambda", app::Reading::Wavelength},
};

struct PressureRequest {
  scales::Scale scale;
  ReadingName reading = kReadingNames[0];
  std::vector<Sample> samples;
  app::OutputFormat format = app::OutputFormat::Csv;
  std::optional<double> lambda0;
};

double Number(const std::map<std::string, std::string>& given, const std::string& option) {
  const std::optional<double> x = app::ParseDecimal(given.at(option));
  if (!x) throw app::InputError(option + ": " + app::DecimalSyntaxProblem(given.at(option)));
  return *x;
}

bool IsGauge(const scales::Scale& scale) {
  return std::holds_alternative<const scales::FluorescenceScale*>(scale);
}

// The readings a scale takes: a gauge its line, a volume scale a volume or
// a lattice parameter.
std::vector<ReadingName> ReadingsOf(const scales::Scale& scale) {
  std::vector<ReadingName> names;
  for (const ReadingName& name : kReadingNames) {
    if ((name.reading == app::Reading::Wavelength) == IsGauge(scale)) names.push_back(name);
  }
  return names;
}

// The spacing reading named d111 (or d-111, ...); its option's sigma is
// --sigD, its column's sigd111 or sig_d111.
std::optional<ReadingName> SpacingReading(std::string_view name) {
  const auto reflection = scales::SpacingReflection(name);
  if (!reflection) return {};
  const std::string spacing = "d" + scales::ReflectionName(*reflection);
  return ReadingName{spacing, "sig" + spacing, app::Reading::Lattice, reflection};
}

// A data column of a spacing or of its standard deviation.
bool IsSpacingColumn(std::string_view name) {
  for (const std::string_view prefix : {"sig_", "sig", ""}) {
    if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
        SpacingReading(name.substr(prefix.size()))) {
      return true;
    }
  }
  return false;
}

// The spacing options given (--d111, ...): the options map holds every one
// the command line named.
std::vector<std::string> SpacingOptions(const std::map<std::string, std::string>& given) {
  std::vector<std::string> options;
  for (const auto& entry : given) {
    if (SpacingReading(std::string_view(entry.first).substr(2))) options.push_back(entry.first);
  }
  return options;
}

std::string NameList(const std::vector<std::string>& names, const char* last) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? std::string(" ") + last + " " : ", ";
    text += app::QuotedInput(names[i]);
  }
  return text;
}

void CheckQuantityOptions(const PressureRequest& request,
                          const std::map<std::string, std::string>& given, bool input) {
  const bool gauge = IsGauge(request.scale);
  std::vector<std::string> wrong{gauge ? "--V" : "--lambda", gauge ? "--a" : "--lambda0",
                                 gauge ? "--sigV" : "--sigLambda", gauge ? "--sigA" : "--lambda0",
                                 gauge ? "--sigD" : "--lambda0"};
  const std::vector<std::string> spacings = SpacingOptions(given);
  if (gauge) wrong.insert(wrong.end(), spacings.begin(), spacings.end());
  for (const std::string& option : wrong) {
    if (given.count(option)) {
      throw app::InputError(option + ": " + scales::InfoOf(request.scale).name +
                            (gauge ? " is a fluorescence gauge" : " is a volume scale"));
    }
  }
  if (given.count("--V") && given.count("--a"))
    throw app::InputError("--a: give --V or --a, not both");
  if (!spacings.empty() && (spacings.size() > 1 || given.count("--V") || given.count("--a"))) {
    throw app::InputError(spacings.back() + ": give one reading: --V, --a or one spacing --dHKL");
  }
  if (given.count("--sigD") && request.reading.spacing == std::nullopt) {
    throw app::InputError("--sigD: only with a spacing --dHKL");
  }
  if (given.count("--column") && !input) throw app::InputError("--column: only with --input");
  const std::string option = std::string("--") + request.reading.name;
  const bool has = given.count(option) > 0;
  if (input && has)
    throw app::InputError("--input: the readings come from the file, not " + option);
  if (!input && !has) throw app::InputError(option + ": no reading given (or --input FILE)");
  if (request.reading.reading == app::Reading::Lattice &&
      !std::get<scales::VolumeScale>(request.scale).cubic) {
    throw app::InputError(option + ": " + scales::InfoOf(request.scale).name +
                          " has no cubic cell");
  }
}

void ReadingsFromRanges(PressureRequest& request, const std::map<std::string, std::string>& given,
                        double sigX, double sigT) {
  const std::string option = std::string("--") + request.reading.name;
  const app::ValueRange xs = app::ParseValueRange(given.at(option), option);
  app::ValueRange Ts;
  Ts.start = Ts.last = app::DefaultTemperature(request.scale);
  if (given.count("--T")) Ts = app::ParseValueRange(given.at("--T"), "--T");
  if (xs.count * Ts.count > kMaxPoints) {
    throw app::InputError(option + ": more than " + std::to_string(kMaxPoints) + " points");
  }
  for (std::int64_t t = 0; t < Ts.count; ++t) {
    for (std::int64_t i = 0; i < xs.count; ++i) {
      std::string where = app::RangeValueLocation(option, xs, i);
      request.samples.push_back({xs.At(i), sigX, Ts.At(t), sigT, request.lambda0, where});
    }
  }
}

// The one reading column of the file: the one --column names, else the only
// candidate the file holds. A file with the sample's V and the calibrant's
// acal must not be read by guess.
ReadingName ChosenReading(const std::vector<ReadingName>& candidates, const app::DataHeader& header,
                          const std::optional<std::string>& named) {
  std::vector<std::string> present, all;
  for (const ReadingName& c : candidates) {
    all.push_back(c.name);
    if (named ? *named == c.name : header.Has(c.name)) present.push_back(c.name);
  }
  const std::string where = app::DataLocation(header.source, header.line);
  if (named && present.empty()) {
    throw app::InputError("--column: " + app::QuotedInput(*named) +
                          " is no reading this scale takes (" + NameList(all, "or") + ")");
  }
  if (named && !header.Has(*named)) {
    throw app::InputError(where + ": no column " + app::QuotedInput(*named));
  }
  if (present.empty()) throw app::InputError(where + ": no column " + NameList(all, "or"));
  if (present.size() > 1) {
    throw app::InputError(where + ": the columns " + NameList(present, "and") +
                          " could each be the calibrant's reading: name it with --column");
  }
  for (const ReadingName& c : candidates) {
    if (present.front() == c.name) return c;
  }
  return candidates.front();
}

// The spacings the file holds, and the one --column names, as candidates.
void AddSpacingCandidates(std::vector<ReadingName>& candidates, const app::DataHeader& header,
                          const std::optional<std::string>& named) {
  std::vector<std::string> names = header.names;
  if (named) names.push_back(*named);
  for (const std::string& name : names) {
    const std::optional<ReadingName> spacing = SpacingReading(name);
    if (!spacing) continue;
    bool known = false;
    for (const ReadingName& c : candidates) known = known || c.name == spacing->name;
    if (!known) candidates.push_back(*spacing);
  }
}

void ReadingsFromFile(PressureRequest& request, const std::string& path, std::istream& in,
                      const std::optional<std::string>& named) {
  std::vector<ReadingName> candidates = ReadingsOf(request.scale);
  app::DataColumns columns{{}, {"T", "sigT", "lambda0"}};
  for (const ReadingName& c : candidates) {
    columns.optional.push_back(c.name);
    columns.optional.push_back(c.sigma);
  }
  if (!IsGauge(request.scale)) columns.alsoNamed = IsSpacingColumn;
  const app::DataTable table = ReadDataTable(path, "--input", in, columns);
  if (!IsGauge(request.scale)) AddSpacingCandidates(candidates, table.header, named);
  request.reading = ChosenReading(candidates, table.header, named);
  const double defaultT = app::DefaultTemperature(request.scale);
  auto value = [&](std::size_t row, const std::string& name, double fallback) {
    if (!table.header.Has(name)) return fallback;
    return table.Value(row, static_cast<std::size_t>(table.header.Find(name)));
  };
  // A spacing's sigma may be written sig_d111 as well as sigd111.
  const std::string sigma = request.reading.spacing && !table.header.Has(request.reading.sigma)
                                ? "sig_" + request.reading.name
                                : request.reading.sigma;
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    Sample sample;
    sample.x = value(r, request.reading.name, 0.0);
    sample.sigX = value(r, sigma, 0.0);
    sample.T = value(r, "T", defaultT);
    sample.sigT = value(r, "sigT", 0.0);
    sample.lambda0 = request.lambda0;
    if (table.header.Has("lambda0")) sample.lambda0 = value(r, "lambda0", 0.0);
    sample.where = app::DataLocation(table.header.source, table.lines[r]);
    request.samples.push_back(sample);
  }
}

PressureRequest RequestFrom(const std::map<std::string, std::string>& given, std::istream& in) {
  if (!given.count("--scale")) {
    throw app::InputError("--scale: which scale? (quorvane-eos scales lists them)");
  }
  PressureRequest request{app::ScaleOption("--scale", given.at("--scale")),
                          kReadingNames[0],
                          {},
                          app::OutputFormat::Csv,
                          {}};
  request.reading = ReadingsOf(request.scale).front();
  if (!IsGauge(request.scale) && given.count("--a")) request.reading = kReadingNames[1];
  const std::vector<std::string> spacings = SpacingOptions(given);
  if (!IsGauge(request.scale) && spacings.size() == 1) {
    request.reading = *SpacingReading(std::string_view(spacings.front()).substr(2));
    request.reading.sigma = "sigD";
  }
  const bool input = given.count("--input") > 0;
  CheckQuantityOptions(request, given, input);
  if (given.count("--format")) request.format = app::ScaleFormat(given.at("--format"));
  if (given.count("--lambda0")) request.lambda0 = Number(given, "--lambda0");
  const std::string sigOption = std::string("--") + request.reading.sigma;
  const double sigX = given.count(sigOption) ? Number(given, sigOption) : 0.0;
  const double sigT = given.count("--sigT") ? Number(given, "--sigT") : 0.0;
  app::RequireSigma(sigX, request.reading.sigma, sigOption);
  app::RequireSigma(sigT, "sigT", "--sigT");
  if (input) {
    if (given.count("--T")) throw app::InputError("--T: the temperatures come from --input");
    std::optional<std::string> named;
    if (given.count("--column")) named = given.at("--column");
    ReadingsFromFile(request, given.at("--input"), in, named);
  } else {
    ReadingsFromRanges(request, given, sigX, sigT);
  }
  return request;
}

std::vector<std::string> ColumnsOf(const PressureRequest& request) {
  const std::string name = request.reading.name;
  if (request.reading.spacing) return {"P", "sigP", name, "a", "V", "T", "sigPscale"};
  switch (request.reading.reading) {
    case app::Reading::Wavelength:
      return {"P", "sigP", "lambda", "lambda0", "T"};
    case app::Reading::Lattice:
      return {"P", "sigP", name, name == "a" ? "V" : "Vcal", "T", "sigPscale"};
    case app::Reading::Volume:
      break;
  }
  return {"P", "sigP", name, "T", "sigPscale"};
}

app::ScaleTable Compute(const PressureRequest& request) {
  app::ScaleTable table;
  table.columns = ColumnsOf(request);
  for (const Sample& s : request.samples) {
    if (request.reading.spacing) {
      const app::ScalePressure p = app::SpacingPressure(request.scale, *request.reading.spacing,
                                                        s.x, s.sigX, s.T, s.sigT, s.where);
      const double a = s.x * scales::IndexNorm(*request.reading.spacing);
      table.rows.push_back({p.P, p.sigP, s.x, a, a * a * a, s.T, p.sigPScale});
      table.inRange.push_back(p.inRange);
      continue;
    }
    const app::ScalePressure p = ReadingPressure(request.scale, request.reading.reading, s.x,
                                                 s.sigX, s.T, s.sigT, s.lambda0, s.where);
    switch (request.reading.reading) {
      case app::Reading::Wavelength: {
        const auto& gauge = *std::get<const scales::FluorescenceScale*>(request.scale);
        const double lambda0 =
            app::GaugeLambda0(gauge, s.lambda0.value_or(0.0), s.lambda0.has_value());
        table.rows.push_back({p.P, p.sigP, s.x, lambda0, s.T});
        break;
      }
      case app::Reading::Lattice:
        table.rows.push_back({p.P, p.sigP, s.x, s.x * s.x * s.x, s.T, p.sigPScale});
        break;
      case app::Reading::Volume:
        table.rows.push_back({p.P, p.sigP, s.x, s.T, p.sigPScale});
        break;
    }
    table.inRange.push_back(p.inRange);
  }
  return table;
}

// The spacing options the arguments use (--d111 2.35, --d200=2.03): a
// reflection's name is the option's, so each is added as the line gives it,
// written as the table's column would be (--d111, not --D111).
void AddSpacingOptions(CLI::App& app, std::map<std::string, std::string>& values,
                       const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (!argument.starts_with("--")) continue;
    const std::string option = argument.substr(0, argument.find('='));
    const auto spacing = SpacingReading(std::string_view(option).substr(2));
    if (values.count(option) || !spacing || "--" + spacing->name != option) continue;
    app.add_option(option, values[option], "a cubic calibrant's spacing d (A) of reflection hkl");
  }
}

}  // namespace

int RunPressureCommand(const std::vector<std::string>& arguments, std::istream& in,
                       std::ostream& out, std::ostream& err) {
  CLI::App app{
      "The pressure a calibrant gives on a scale: from its cell volume (--V, or --a for "
      "a cubic lattice parameter) and temperature, or from a fluorescence line "
      "(--lambda, nm) and its ambient wavelength --lambda0; or from a cubic "
      "calibrant's spacing of one reflection, --d111 2.35 (A, sigma --sigD), through "
      "a = d sqrt(h^2 + k^2 + l^2). Values may be ranges "
      "start:stop:step, or rows of an --input CSV file with those column names "
      "(or Vcal, acal: the calibrant's beside a sample's V; d111 with sigd111 or "
      "sig_d111 for a spacing). sigP carries the "
      "readings' standard deviations, sigPscale the scale's own esds.",
      "quorvane-eos pressure"};
  std::map<std::string, std::string> values;
  AddSpacingOptions(app, values, arguments);
  app.add_option("--scale", values["--scale"],
                 "a scale's name (quorvane-eos scales) or a scale file");
  for (const char* option : kRangeOptions) app.add_option(option, values[option], "value or range");
  for (const char* option : kNumberOptions) app.add_option(option, values[option], "number");
  app.add_option("--input", values["--input"],
                 "CSV or TSV file of readings (- for standard input)");
  app.add_option("--column", values["--column"],
                 "with --input: the column holding the calibrant's reading, where the file "
                 "holds more than one (V, a, Vcal, acal, d111, ...)");
  app.add_option("--format", values["--format"], "csv | tsv | json (default csv)");
  app::ScaleTable table;
  std::string name;
  app::OutputFormat format = app::OutputFormat::Csv;
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
    err << app::RangeWarning(kCommand, table.OutOfRange(), scales::InfoOf(request.scale));
    const auto* volume = std::get_if<scales::VolumeScale>(&request.scale);
    if (volume && request.reading.spacing) {
      err << app::AbsentReflectionWarning(kCommand, *volume, {*request.reading.spacing});
    }
  } catch (const app::InputError& error) {
    err << "quorvane-eos pressure: " << error.what() << '\n';
    return kExitBadInput;
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
