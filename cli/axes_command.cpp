#include "cli/axes_command.h"

#include <CLI/CLI.hpp>
#include <map>
#include <optional>

#include "app/axial_cell.h"
#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/subcommand_parse.h"

namespace quorvane::cli {
namespace {

constexpr std::int64_t kMaxPoints = 1'000'000;

struct AxesRequest {
  app::AxialCell cell;
  app::ValueRange Ps, Ts;
  app::OutputFormat format = app::OutputFormat::Csv;
};

app::Axis AxisFromText(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    throw app::InputError("--axis: " + app::QuotedInput(text) + " is not NAME=FILE");
  }
  return app::AxisOf(text.substr(0, equals), app::ScaleOption("--axis", text.substr(equals + 1)),
                     "--axis: " + app::QuotedInput(text));
}

double Angle(const std::map<std::string, std::string>& given, const std::string& option) {
  if (!given.count(option)) return app::kRightAngle;
  const std::optional<double> x = app::ParseDecimal(given.at(option));
  if (!x) throw app::InputError(option + ": " + app::DecimalSyntaxProblem(given.at(option)));
  return app::CellAngle(*x, option);
}

AxesRequest RequestFrom(const std::vector<std::string>& axes,
                        const std::map<std::string, std::string>& given) {
  AxesRequest request;
  if (axes.empty()) throw app::InputError("--axis: which axes? (NAME=FILE, repeatable)");
  for (const std::string& text : axes) request.cell.axes.push_back(AxisFromText(text));
  const char* names[app::kCellEdges] = {"--alpha", "--beta", "--gamma"};
  for (std::size_t i = 0; i < app::kCellEdges; ++i) request.cell.angles[i] = Angle(given, names[i]);
  app::RequireCell(request.cell.angles, "--alpha, --beta, --gamma");
  if (!given.count("--P")) throw app::InputError("--P: no pressure given");
  request.Ps = app::ParseValueRange(given.at("--P"), "--P");
  request.Ts.start = request.Ts.last = app::DefaultTemperature(request.cell.axes.front().cubed);
  if (given.count("--T")) request.Ts = app::ParseValueRange(given.at("--T"), "--T");
  if (request.Ps.count * request.Ts.count > kMaxPoints) {
    throw app::InputError("--P: more than " + std::to_string(kMaxPoints) + " points");
  }
  if (given.count("--format")) request.format = app::ScaleFormat(given.at("--format"));
  return request;
}

app::ScaleTable Compute(const AxesRequest& request) {
  app::ScaleTable table;
  table.columns = {"P", "T"};
  for (const std::string& column : request.cell.Columns()) table.columns.push_back(column);
  for (std::int64_t t = 0; t < request.Ts.count; ++t) {
    for (std::int64_t i = 0; i < request.Ps.count; ++i) {
      const double P = request.Ps.At(i), T = request.Ts.At(t);
      std::vector<double> row{P, T};
      const std::vector<double> state =
          request.cell.Row(P, T, app::RangeValueLocation("--P", request.Ps, i));
      row.insert(row.end(), state.begin(), state.end());
      table.rows.push_back(row);
      table.inRange.push_back(true);
    }
  }
  return table;
}

}  // namespace

int RunAxesCommand(const std::vector<std::string>& arguments, std::istream&, std::ostream& out,
                   std::ostream& err) {
  CLI::App app{
      "Cell edges at pressure and temperature from the parameter files of their axial fits "
      "(fit --axis NAME --params-out FILE): each edge, its sigma from the file's covariance "
      "and its linear compressibility betaNAME = 1/M (1/GPa); with three edges, the cell "
      "volume they make with the angles --alpha, --beta, --gamma (degrees, default 90). "
      "--P and --T may be ranges start:stop:step.",
      "quorvane-eos axes"};
  std::vector<std::string> axes;
  app.add_option("--axis", axes, "NAME=FILE, repeatable: a, b, c in that order for a cell")
      ->allow_extra_args(false);
  std::map<std::string, std::string> values;
  for (const char* option : {"--alpha", "--beta", "--gamma"}) {
    app.add_option(option, values[option], "cell angle (degrees)");
  }
  app.add_option("--P", values["--P"], "pressure: value or range");
  app.add_option("--T", values["--T"], "temperature: value or range (default the first T(ref))");
  app.add_option("--format", values["--format"], "csv | tsv | json (default csv)");
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos axes", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
    std::map<std::string, std::string> given;
    for (const auto& [option, value] : values) {
      if (app.count(option) > 0) given[option] = value;
    }
    const AxesRequest request = RequestFrom(axes, given);
    out << Compute(request).Text(request.format);
    if (!out.flush()) {
      err << "quorvane-eos axes: writing the table failed\n";
      return kExitWriteFailed;
    }
  } catch (const app::InputError& error) {
    err << "quorvane-eos axes: " << error.what() << '\n';
    return kExitBadInput;
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
