#include <CLI/CLI.hpp>
#include <cmath>
#include <map>

#include "app/data_table.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/scale_pressure.h"
#include "cli/eos_command.h"
#include "cli/scale_commands.h"
#include "cli/subcommand_parse.h"
#include "files/atomic_file.h"
#include "models/model_pressure.h"

namespace quorvane::cli {
namespace {

constexpr const char* kCommand = "rescale";
// The columns a data set may hold, in the order the output keeps them: the
// fit's own, then the calibrant's readings (its cell volume or cubic lattice
// parameter, or its fluorescence line).
const char* const kColumns[] = {"P",      "sigP",      "V",       "sigV", "T",
                                "sigT",   "Vcal",      "sigVcal", "acal", "sigAcal",
                                "lambda", "sigLambda", "lambda0"};
// A calibrant's reading may be left empty (or zero), with its standard
// deviation, on a row measured without it, as the ambient point of a run
// often is.
const char* const kReadings[] = {"Vcal", "acal", "lambda"};
const char* const kBlankable[] = {"Vcal", "acal", "lambda", "sigVcal", "sigAcal", "sigLambda"};
constexpr std::size_t kP = 0;
constexpr std::size_t kSigP = 1;
// The scale's own esd at each new pressure, a column of its own after the
// data's: fit passes it over.
constexpr const char* kScaleSigma = "sigPscale";
constexpr const char* kStandardOutput = "-";

struct Rescale {
  std::optional<scales::Scale> from;
  scales::Scale to;
  app::DataTable data;
  std::optional<double> lambda0;
  bool addScaleSigma = false;
};

bool IsGauge(const scales::Scale& scale) {
  return std::holds_alternative<const scales::FluorescenceScale*>(scale);
}

const scales::FluorescenceScale& Gauge(const scales::Scale& scale) {
  return *std::get<const scales::FluorescenceScale*>(scale);
}

const scales::VolumeScale& Volume(const scales::Scale& scale) {
  return std::get<scales::VolumeScale>(scale);
}

double Column(const Rescale& job, std::size_t row, const char* name, double fallback) {
  if (!job.data.header.Has(name)) return fallback;
  return job.data.Value(row, static_cast<std::size_t>(job.data.header.Find(name)));
}

// The calibrant's own reading the data set holds for the target scale, or
// empty: it goes through P.
std::string CalibrantColumn(const Rescale& job) {
  for (const char* name : kReadings) {
    if ((std::string(name) == "lambda") == IsGauge(job.to) && job.data.header.Has(name)) {
      return name;
    }
  }
  return {};
}

void CheckScales(const Rescale& job) {
  if (!job.from) return;
  const scales::ScaleInfo& from = scales::InfoOf(*job.from);
  const scales::ScaleInfo& to = scales::InfoOf(job.to);
  if (IsGauge(*job.from) != IsGauge(job.to) || from.material != to.material) {
    throw app::InputError("--to: " + from.name + " and " + to.name +
                          " are scales of different calibrants");
  }
}

// Every standard deviation of the data by the one rule, with its line and
// column named.
void CheckSigmas(const app::DataTable& data) {
  for (std::size_t r = 0; r < data.RowCount(); ++r) {
    for (std::size_t c = 0; c < data.header.names.size(); ++c) {
      const std::string& name = data.header.names[c];
      if (!name.starts_with("sig") || data.header.columns[c] == 0) continue;
      const double sigma = data.Value(r, c);
      // Left empty: not known for the row.
      if (std::isnan(sigma)) continue;
      app::RequireSigma(
          sigma, name,
          app::DataLocation(data.header.source, data.lines[r], data.header.columns[c]));
    }
  }
}

double Lambda0(const Rescale& job, const scales::FluorescenceScale& scale, std::size_t row,
               const std::string& where) {
  const double lambda0 =
      job.data.header.Has("lambda0")
          ? Column(job, row, "lambda0", 0.0)
          : app::GaugeLambda0(scale, job.lambda0.value_or(0.0), job.lambda0.has_value());
  if (!(lambda0 > 0.0)) throw app::InputError(where + ": lambda0 is not above zero");
  return lambda0;
}

// The slope of P with the calibrant's reading (lambda, or V) on a scale.
double Slope(const scales::Scale& scale, double reading, double lambda0, double T) {
  if (IsGauge(scale)) {
    return scales::PressureFromWavelength(Gauge(scale), reading, lambda0, T).dPdLambda;
  }
  return models::PressureWithGradient(Volume(scale).model, reading, T).dPdV;
}

// The new pressure of one row from the calibrant's own reading. Without a
// standard deviation of the reading, the row's sigP stands for it: carried
// over by the ratio of the two scales' slopes there when --from names the
// old scale, else as it is.
app::ScalePressure FromReading(const Rescale& job, std::size_t row, const std::string& column,
                               const std::string& where) {
  const double T = Column(job, row, "T", app::DefaultTemperature(job.to));
  const double sigT = Column(job, row, "sigT", 0.0);
  const bool gauge = IsGauge(job.to);
  const std::string sigma = gauge ? "sigLambda" : column == "acal" ? "sigAcal" : "sigVcal";
  const double lambda0 = gauge ? Lambda0(job, Gauge(job.to), row, where) : 0.0;
  const double reading = Column(job, row, column.c_str(), 0.0);
  const app::Reading kind = gauge              ? app::Reading::Wavelength
                            : column == "acal" ? app::Reading::Lattice
                                               : app::Reading::Volume;
  // A standard deviation left empty is not known for the row, as one the
  // file lacks.
  const double sigReading = Column(job, row, sigma.c_str(), 0.0);
  const bool hasSigma = job.data.header.Has(sigma) && !std::isnan(sigReading);
  app::ScalePressure p =
      ReadingPressure(job.to, kind, reading, hasSigma ? sigReading : 0.0, T, sigT, lambda0, where);
  if (hasSigma || !job.data.header.Has("sigP")) return p;
  const double oldSigP = Column(job, row, "sigP", 0.0);
  if (!job.from) {
    p.sigP = std::hypot(p.sigP, oldSigP);
    return p;
  }
  const double V = kind == app::Reading::Lattice ? reading * reading * reading : reading;
  const double ratio = Slope(job.to, V, lambda0, T) / Slope(*job.from, V, lambda0, T);
  p.sigP = std::hypot(p.sigP, ratio * oldSigP);
  return p;
}

// The new pressure of one row through its old one: the calibrant's reading
// the old scale implies, read on the new; sigP scales by the two slopes.
app::ScalePressure ThroughPressure(const Rescale& job, std::size_t row, const std::string& where) {
  const scales::Scale& from = *job.from;
  const double T = Column(job, row, "T", app::DefaultTemperature(from));
  const double lambda0 = IsGauge(from) ? Lambda0(job, Gauge(from), row, where) : 0.0;
  return app::MovedPressure(from, job.to, Column(job, row, "P", 0.0), Column(job, row, "sigP", 0.0),
                            T, lambda0, where);
}

// A row measured without the calibrant (its reading empty or zero): through
// its P where --from says which scale that is on, else its P as it is, or
// ambient pressure without one.
app::ScalePressure AmbientRow(const Rescale& job, std::size_t row, const std::string& where) {
  if (job.from && job.data.header.Has("P")) return ThroughPressure(job, row, where);
  const double T = Column(job, row, "T", app::DefaultTemperature(job.to));
  const double P = Column(job, row, "P", 0.0);
  return {P, Column(job, row, "sigP", 0.0), 0.0, scales::InfoOf(job.to).Holds(P, T)};
}

bool HasNoReading(const Rescale& job, std::size_t row, const std::string& column) {
  const double reading = Column(job, row, column.c_str(), 0.0);
  return std::isnan(reading) || reading == 0.0;
}

std::vector<std::string> OutputColumns(const Rescale& job) {
  std::vector<std::string> columns;
  for (const char* name : kColumns) {
    if (job.data.header.Has(name) || columns.size() <= kSigP) columns.push_back(name);
  }
  if (!IsGauge(job.to)) columns.push_back(kScaleSigma);
  return columns;
}

struct Outcome {
  app::ScaleTable table;
  std::string way;
  std::vector<long> ambientLines;
};

Outcome Compute(const Rescale& job) {
  const std::string column = CalibrantColumn(job);
  if (column.empty() && !job.data.header.Has("P")) {
    throw app::InputError("DATA: " + job.data.header.source +
                          " has neither the calibrant's column (" +
                          (IsGauge(job.to) ? "lambda" : "Vcal or acal") + ") nor P");
  }
  if (column.empty() && !job.from) {
    throw app::InputError("--from: " + job.data.header.source + " holds no calibrant's reading (" +
                          (IsGauge(job.to) ? "lambda" : "Vcal or acal") +
                          "), so its P is moved: say which scale it is on");
  }
  CheckSigmas(job.data);
  Outcome outcome;
  outcome.way = column.empty() ? "through P itself (P to the calibrant's reading on " +
                                     scales::InfoOf(*job.from).name + ", back to P on " +
                                     scales::InfoOf(job.to).name + ")"
                               : "from the calibrant's " + column + " column";
  app::ScaleTable& table = outcome.table;
  table.columns = OutputColumns(job);
  for (std::size_t r = 0; r < job.data.RowCount(); ++r) {
    const std::string where = app::DataLocation(job.data.header.source, job.data.lines[r]);
    const bool ambient = !column.empty() && HasNoReading(job, r, column);
    if (ambient) outcome.ambientLines.push_back(job.data.lines[r]);
    app::ScalePressure p = column.empty() ? ThroughPressure(job, r, where)
                           : ambient      ? AmbientRow(job, r, where)
                                          : FromReading(job, r, column, where);
    if (job.addScaleSigma) p.sigP = std::hypot(p.sigP, p.sigPScale);
    std::vector<double> row;
    for (const std::string& name : table.columns) row.push_back(Column(job, r, name.c_str(), 0.0));
    row[kP] = p.P;
    row[kSigP] = p.sigP;
    if (table.columns.back() == kScaleSigma) row.back() = p.sigPScale;
    table.rows.push_back(row);
    table.inRange.push_back(p.inRange);
  }
  return outcome;
}

std::string AmbientNote(const Rescale& job, const std::vector<long>& lines) {
  if (lines.empty()) return {};
  std::string list;
  for (std::size_t i = 0; i < lines.size() && i < 5; ++i) {
    list += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
  }
  if (lines.size() > 5) list += ", ...";
  const bool through = job.from && job.data.header.Has("P");
  return "quorvane-eos rescale: note: " + std::to_string(lines.size()) +
         (lines.size() == 1 ? " row (line " : " rows (lines ") + list +
         ") without a calibrant reading kept, " +
         (through                    ? "moved through its P"
          : job.data.header.Has("P") ? "its P as it is"
                                     : "at P = 0 (ambient)") +
         "\n";
}

}  // namespace

int RunRescaleCommand(const std::vector<std::string>& arguments, std::istream& in,
                      std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Moves a data set's pressures to another scale of the same calibrant: from the "
      "calibrant's own column (Vcal or acal for a volume scale, with T; lambda for a "
      "fluorescence gauge) where the data hold it, else through P itself (which needs "
      "--from). Writes the same columns with the new P and sigP, which the fit reads as "
      "they are; sigP carries the measurement only, sigPscale the new scale's own esd.",
      "quorvane-eos rescale"};
  std::string dataPath, fromName, toName, outputPath, format = "csv", lambda0Text;
  bool addScaleSigma = false;
  app.add_option("DATA", dataPath, "the data file (- for standard input)")->required();
  app.add_option("--from", fromName,
                 "the scale the pressures are on (needed where P itself is moved)");
  app.add_option("--to", toName, "the scale to move them to")->required();
  app.add_option("--lambda0", lambda0Text,
                 "the gauge's ambient wavelength (nm), where no lambda0 column");
  app.add_option("-o,--output", outputPath,
                 "write to this file (whole or not at all; - for standard output)");
  app.add_option("--format", format, "csv | tsv | json (default csv)");
  app.add_flag("--add-scale-esd", addScaleSigma,
               "add the scale's own esd (sigPscale) to every sigP, as a random error");
  std::string text, way, warning, note;
  long rows = 0;
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos rescale", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
    if (dataPath.empty()) throw app::InputError("DATA: the data file name is empty");
    const app::OutputFormat outputFormat = app::ScaleFormat(format);
    Rescale job{std::nullopt, app::ScaleOption("--to", toName), {}, {}, addScaleSigma};
    if (app.count("--from") > 0) job.from = app::ScaleOption("--from", fromName);
    CheckScales(job);
    if (app.count("--lambda0") > 0) {
      const std::optional<double> x = app::ParseDecimal(lambda0Text);
      if (!x) throw app::InputError("--lambda0: " + app::DecimalSyntaxProblem(lambda0Text));
      job.lambda0 = *x;
    }
    job.data = app::ReadDataTable(dataPath, "DATA", in,
                                  {{},
                                   {std::begin(kColumns), std::end(kColumns)},
                                   {std::begin(kBlankable), std::end(kBlankable)}});
    const Outcome outcome = Compute(job);
    text = outcome.table.Text(outputFormat);
    rows = static_cast<long>(outcome.table.rows.size());
    warning = app::RangeWarning(kCommand, outcome.table.OutOfRange(), scales::InfoOf(job.to));
    note = AmbientNote(job, outcome.ambientLines);
    way = std::to_string(rows) + (rows == 1 ? " pressure" : " pressures") + " moved " +
          (job.from ? "from " + scales::InfoOf(*job.from).name + " " : std::string()) + "to " +
          scales::InfoOf(job.to).name + " " + outcome.way;
  } catch (const app::InputError& error) {
    err << "quorvane-eos rescale: " << error.what() << '\n';
    return kExitBadInput;
  }
  if (app.count("--output") > 0 && outputPath != kStandardOutput) {
    const files::WriteResult result =
        files::WriteFileAtomically(outputPath, text, dataPath == "-" ? std::string() : dataPath);
    if (!result.Written()) {
      err << "quorvane-eos rescale: " << result.message << '\n';
      return result.status == files::WriteStatus::Refused ? kExitBadInput : kExitWriteFailed;
    }
  } else if (!(out << text).flush()) {
    err << "quorvane-eos rescale: writing the data failed\n";
    return kExitWriteFailed;
  }
  err << "quorvane-eos rescale: " << way << '\n' << note << warning;
  return kExitSuccess;
}

}  // namespace quorvane::cli
