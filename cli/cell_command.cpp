#include <CLI/CLI.hpp>
#include <map>

#include "app/data_table.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/scale_commands.h"
#include "cli/subcommand_parse.h"
#include "numtext/double_text.h"
#include "scales/calibrant_cell.h"

namespace quorvane::cli {
namespace {

constexpr const char* kCommand = "cell";
// The table is computed whole before it is written, so that a state the
// scale does not reach leaves nothing half-written: its size is bounded.
constexpr std::int64_t kMaxPoints = 1'000'000;

struct StatePoint {
  double P = 0.0;
  double T = 0.0;
  std::string where;
};

struct CellRequest {
  scales::VolumeScale scale;
  std::vector<scales::Reflection> reflections;
  std::vector<StatePoint> points;
  app::OutputFormat format = app::OutputFormat::Csv;
};

std::vector<scales::Reflection> ReflectionsFromList(const std::string& list) {
  std::vector<scales::Reflection> reflections;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string text = list.substr(start, comma - start);
    const auto reflection = scales::ReflectionFromText(text);
    if (!reflection) {
      throw app::InputError("--hkl: " + app::QuotedInput(text) +
                            " is no reflection (three one-digit indices such as 111 or -111)");
    }
    reflections.push_back(*reflection);
    start = comma + 1;
  }
  return reflections;
}

void PointsFromRanges(CellRequest& request, const std::map<std::string, std::string>& given) {
  if (!given.count("--P")) throw app::InputError("--P: no pressure given (or --input FILE)");
  const app::ValueRange Ps = app::ParseValueRange(given.at("--P"), "--P");
  app::ValueRange Ts;
  Ts.start = Ts.last = app::DefaultTemperature(request.scale);
  if (given.count("--T")) Ts = app::ParseValueRange(given.at("--T"), "--T");
  if (Ps.count * Ts.count > kMaxPoints) {
    throw app::InputError("--P: more than " + std::to_string(kMaxPoints) + " points");
  }
  for (std::int64_t t = 0; t < Ts.count; ++t) {
    for (std::int64_t i = 0; i < Ps.count; ++i) {
      request.points.push_back({Ps.At(i), Ts.At(t), app::RangeValueLocation("--P", Ps, i)});
    }
  }
}

void PointsFromFile(CellRequest& request, const std::string& path, std::istream& in) {
  const app::DataTable table = app::ReadDataTable(path, "--input", in, {{"P"}, {"T"}});
  const bool hasT = table.header.Has("T");
  const double defaultT = app::DefaultTemperature(request.scale);
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    request.points.push_back({table.Value(r, 0), hasT ? table.Value(r, 1) : defaultT,
                              app::DataLocation(table.header.source, table.lines[r])});
  }
}

CellRequest RequestFrom(const std::map<std::string, std::string>& given, std::istream& in) {
  if (!given.count("--scale"))
    throw app::InputError("--scale: which scale? (quorvane-eos scales lists them)");
  const scales::Scale scale = app::ScaleOption("--scale", given.at("--scale"));
  const auto* volume = std::get_if<scales::VolumeScale>(&scale);
  if (!volume) {
    throw app::InputError("--scale: " + scales::InfoOf(scale).name +
                          " is a fluorescence gauge: it has no cell");
  }
  CellRequest request{*volume, {}, {}, app::OutputFormat::Csv};
  if (given.count("--hkl")) request.reflections = ReflectionsFromList(given.at("--hkl"));
  if (given.count("--format")) request.format = app::ScaleFormat(given.at("--format"));
  if (given.count("--input")) {
    for (const char* option : {"--P", "--T"}) {
      if (given.count(option)) {
        throw app::InputError(std::string(option) + ": the states come from --input");
      }
    }
    PointsFromFile(request, given.at("--input"), in);
  } else {
    PointsFromRanges(request, given);
  }
  return request;
}

app::ScaleTable Compute(const CellRequest& request) {
  app::ScaleTable table;
  table.columns = {"P", "T", "V", "sigV", "a", "siga"};
  for (const scales::Reflection& reflection : request.reflections) {
    const std::string name = scales::ReflectionName(reflection);
    table.columns.push_back("d" + name);
    table.columns.push_back("sigd" + name);
  }
  for (const StatePoint& point : request.points) {
    if (!(point.T > 0.0)) {
      throw app::InputError("--T: T = " + numtext::ShortestText(point.T) + " is not above zero");
    }
    scales::CalibrantCell cell;
    try {
      cell = scales::CellAt(request.scale, point.P, point.T, request.reflections);
    } catch (const scales::ScaleError& error) {
      throw app::InputError(point.where + ": " + error.what());
    }
    std::vector<double> row{point.P, point.T, cell.V, cell.sigV, cell.a, cell.sigA};
    for (std::size_t i = 0; i < cell.d.size(); ++i) {
      row.push_back(cell.d[i]);
      row.push_back(cell.sigD[i]);
    }
    table.rows.push_back(row);
    table.inRange.push_back(request.scale.info.Holds(point.P, point.T));
  }
  return table;
}

}  // namespace

int RunCellCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  CLI::App app{
      "The cell of a cubic calibrant at pressure and temperature on a volume scale: V and "
      "sigV (A^3), the lattice parameter a and, for each reflection of --hkl, its spacing "
      "d (A), each sigma from the scale's own esds. --P and --T may be ranges "
      "start:stop:step, or rows of an --input CSV file with columns P and T.",
      "quorvane-eos cell"};
  std::map<std::string, std::string> values;
  app.add_option("--scale", values["--scale"],
                 "a volume scale's name (quorvane-eos scales) or a scale file");
  app.add_option("--P", values["--P"], "pressure (GPa): value or range");
  app.add_option("--T", values["--T"], "temperature (K): value or range (default: the scale's)");
  app.add_option("--hkl", values["--hkl"], "reflections, e.g. 111,200,220");
  app.add_option("--input", values["--input"], "CSV or TSV file of states (- for standard input)");
  app.add_option("--format", values["--format"], "csv | tsv | json (default csv)");
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos cell", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
    std::map<std::string, std::string> given;
    for (const auto& [option, value] : values) {
      if (app.count(option) > 0) given[option] = value;
    }
    const CellRequest request = RequestFrom(given, in);
    const app::ScaleTable table = Compute(request);
    out << table.Text(request.format);
    if (!out.flush()) {
      err << "quorvane-eos cell: writing the table failed\n";
      return kExitWriteFailed;
    }
    err << app::RangeWarning(kCommand, table.OutOfRange(), request.scale.info);
    err << app::AbsentReflectionWarning(kCommand, request.scale, request.reflections);
  } catch (const app::InputError& error) {
    err << "quorvane-eos cell: " << error.what() << '\n';
    return kExitBadInput;
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
