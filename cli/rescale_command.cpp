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
constexpr std::size_t kP = 0;
constexpr std::size_t kSigP = 1;

struct Rescale {
  scales::Scale from;
  scales::Scale to;
  DataTable data;
  std::optional<double> lambda0;
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

// The calibrant's own reading the data set holds, or empty: it goes through P.
std::string CalibrantColumn(const Rescale& job) {
  const char* const candidates[] = {"lambda", "Vcal", "acal"};
  for (const char* name : candidates) {
    if ((std::string(name) == "lambda") == IsGauge(job.from) && job.data.header.Has(name))
      return name;
  }
  return {};
}

void CheckScales(const Rescale& job) {
  const scales::ScaleInfo& from = scales::InfoOf(job.from);
  const scales::ScaleInfo& to = scales::InfoOf(job.to);
  if (IsGauge(job.from) != IsGauge(job.to) || from.material != to.material) {
    throw InputError("--to: " + from.name + " and " + to.name +
                     " are scales of different calibrants");
  }
}

double Lambda0(const Rescale& job, const scales::FluorescenceScale& scale, std::size_t row,
               const std::string& where) {
  const double lambda0 =
      job.data.header.Has("lambda0")
          ? Column(job, row, "lambda0", 0.0)
          : GaugeLambda0(scale, job.lambda0.value_or(0.0), job.lambda0.has_value());
  if (!(lambda0 > 0.0)) throw InputError(where + ": lambda0 is not above zero");
  return lambda0;
}

// The slope of P with the calibrant's reading (lambda, or V) on a scale.
double Slope(const scales::Scale& scale, double reading, double lambda0, double T) {
  if (IsGauge(scale))
    return scales::PressureFromWavelength(Gauge(scale), reading, lambda0, T).dPdLambda;
  return models::PressureWithGradient(Volume(scale).model, reading, T).dPdV;
}

// The new pressure of one row from the calibrant's own reading. Without a
// standard deviation of the reading, the row's sigP stands for it, carried
// over by the ratio of the two scales' slopes there.
ScalePressure FromReading(const Rescale& job, std::size_t row, const std::string& column,
                          const std::string& where) {
  const double T = Column(job, row, "T", DefaultTemperature(job.to));
  const double sigT = Column(job, row, "sigT", 0.0);
  const bool gauge = IsGauge(job.to);
  const std::string sigma = gauge ? "sigLambda" : column == "acal" ? "sigAcal" : "sigVcal";
  const double lambda0 = gauge ? Lambda0(job, Gauge(job.to), row, where) : 0.0;
  ScalePressure p;
  double reading = Column(job, row, column.c_str(), 0.0);
  if (gauge) {
    p = GaugePressure(Gauge(job.to), reading, Column(job, row, "sigLambda", 0.0), lambda0, T, sigT,
                      where);
  } else {
    double sigV = Column(job, row, sigma.c_str(), 0.0);
    if (column == "acal") {
      if (!(reading > 0.0)) throw InputError(where + ": acal is not above zero");
      sigV *= 3.0 * reading * reading;
      reading = reading * reading * reading;
    }
    p = VolumeScalePressure(Volume(job.to), reading, sigV, T, sigT, where);
  }
  if (job.data.header.Has(sigma) || !job.data.header.Has("sigP")) return p;
  const double ratio = Slope(job.to, reading, lambda0, T) / Slope(job.from, reading, lambda0, T);
  p.sigP = std::hypot(p.sigP, ratio * Column(job, row, "sigP", 0.0));
  return p;
}

// The new pressure of one row through its old one: the calibrant's reading
// the old scale implies, read on the new; sigP scales by the two slopes.
ScalePressure ThroughPressure(const Rescale& job, std::size_t row, const std::string& where) {
  const double T = Column(job, row, "T", DefaultTemperature(job.from));
  const double lambda0 = IsGauge(job.from) ? Lambda0(job, Gauge(job.from), row, where) : 0.0;
  return MovedPressure(job.from, job.to, Column(job, row, "P", 0.0), Column(job, row, "sigP", 0.0),
                       T, lambda0, where);
}

ScaleTable Compute(const Rescale& job, std::string& way) {
  const std::string column = CalibrantColumn(job);
  if (column.empty() && !job.data.header.Has("P")) {
    throw InputError("DATA: " + job.data.header.source + " has neither the calibrant's column (" +
                     (IsGauge(job.from) ? "lambda" : "Vcal or acal") + ") nor P");
  }
  way = column.empty()
            ? "through P itself (P to the calibrant's reading on " + scales::InfoOf(job.from).name +
                  ", back to P on " + scales::InfoOf(job.to).name + ")"
            : "from the calibrant's " + column + " column";
  ScaleTable table;
  for (const char* name : kColumns) {
    if (job.data.header.Has(name) || table.columns.size() <= kSigP) table.columns.push_back(name);
  }
  for (std::size_t r = 0; r < job.data.RowCount(); ++r) {
    const std::string where = DataLocation(job.data.header.source, job.data.lines[r]);
    const ScalePressure p =
        column.empty() ? ThroughPressure(job, r, where) : FromReading(job, r, column, where);
    std::vector<double> row;
    for (const std::string& name : table.columns) row.push_back(Column(job, r, name.c_str(), 0.0));
    row[kP] = p.P;
    row[kSigP] = p.sigP;
    table.rows.push_back(row);
    table.inRange.push_back(p.inRange);
  }
  return table;
}

}  // namespace

int RunRescaleCommand(const std::vector<std::string>& arguments, std::istream& in,
                      std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Moves a data set's pressures to another scale of the same calibrant: from the "
      "calibrant's own column (Vcal or acal for a volume scale, with T; lambda for a "
      "fluorescence gauge) where the data hold it, else through P itself. Writes the "
      "same columns with the new P and sigP, which the fit reads as they are.",
      "quorvane-eos rescale"};
  std::string dataPath, fromName, toName, outputPath, format = "csv", lambda0Text;
  app.add_option("DATA", dataPath, "the data file (- for standard input)")->required();
  app.add_option("--from", fromName, "the scale the pressures are on")->required();
  app.add_option("--to", toName, "the scale to move them to")->required();
  app.add_option("--lambda0", lambda0Text,
                 "the gauge's ambient wavelength (nm), where no lambda0 column");
  app.add_option("-o,--output", outputPath, "write to this file (whole or not at all)");
  app.add_option("--format", format, "csv | tsv | json (default csv)");
  std::string text, way, warning;
  long rows = 0;
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos rescale", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
    if (dataPath.empty()) throw InputError("DATA: the data file name is empty");
    const OutputFormat outputFormat = ScaleFormat(format);
    Rescale job{ScaleOption("--from", fromName), ScaleOption("--to", toName), {}, {}};
    CheckScales(job);
    if (app.count("--lambda0") > 0) {
      const std::optional<double> x = ParseDecimal(lambda0Text);
      if (!x) throw InputError("--lambda0: " + DecimalSyntaxProblem(lambda0Text));
      job.lambda0 = *x;
    }
    job.data =
        ReadDataTable(dataPath, "DATA", in, {{}, {std::begin(kColumns), std::end(kColumns)}});
    const ScaleTable table = Compute(job, way);
    text = table.Text(outputFormat);
    rows = static_cast<long>(table.rows.size());
    warning = RangeWarning(kCommand, table.OutOfRange(), scales::InfoOf(job.to));
    way = std::to_string(rows) + (rows == 1 ? " pressure" : " pressures") + " moved from " +
          scales::InfoOf(job.from).name + " to " + scales::InfoOf(job.to).name + " " + way;
  } catch (const InputError& error) {
    err << "quorvane-eos rescale: " << error.what() << '\n';
    return kExitBadInput;
  }
  if (app.count("--output") > 0) {
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
  err << "quorvane-eos rescale: " << way << '\n' << warning;
  return kExitSuccess;
}

}  // namespace quorvane::cli
