#include "cli/axes_command.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <map>
#include <numbers>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "app/value_range.h"
#include "cli/eos_command.h"
#include "cli/subcommand_parse.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::cli {
namespace {

constexpr std::int64_t kMaxPoints = 1'000'000;
constexpr int kCellEdges = 3;
constexpr double kRightAngle = 90.0;

// One axis: its name and the fit of its cube, read as any parameter file.
struct Axis {
  std::string name;
  scales::VolumeScale cubed;
};

struct AxesRequest {
  std::vector<Axis> axes;
  // alpha, beta, gamma in degrees.
  double angles[kCellEdges] = {kRightAngle, kRightAngle, kRightAngle};
  app::ValueRange Ps, Ts;
  app::OutputFormat format = app::OutputFormat::Csv;
};

// The axis at P and T, its sigma from the file's covariance, and its linear
// compressibility 1/M = 1/(3 K) of the cube.
struct AxisState {
  double L = 0.0;
  double sigL = 0.0;
  double beta = 0.0;
};

AxisState StateOf(const Axis& axis, double P, double T, const std::string& where) {
  const double V = app::CalibrantVolume(axis.cubed, P, T, where + ", axis " + axis.name);
  AxisState state;
  state.L = std::cbrt(V);
  if (axis.cubed.covariance) {
    const double sigV = params::VolumeUncertainty(axis.cubed.model, *axis.cubed.covariance, V, T);
    state.sigL = state.L * sigV / (3.0 * V);
  }
  state.beta = 1.0 / (3.0 * models::BulkModulus(axis.cubed.model, V, T));
  return state;
}

// abc sqrt(1 - cos^2 alpha - cos^2 beta - cos^2 gamma + 2 cos alpha cos beta
// cos gamma), or NaN for angles that close no cell.
double AngleFactor(const double (&angles)[kCellEdges]) {
  double c[kCellEdges];
  for (int i = 0; i < kCellEdges; ++i) c[i] = std::cos(angles[i] * std::numbers::pi / 180.0);
  const double square = 1.0 - c[0] * c[0] - c[1] * c[1] - c[2] * c[2] + 2.0 * c[0] * c[1] * c[2];
  return square > 0.0 ? std::sqrt(square) : std::nan("");
}

Axis AxisFromText(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    throw app::InputError("--axis: " + app::QuotedInput(text) + " is not NAME=FILE");
  }
  const scales::Scale file = app::ScaleOption("--axis", text.substr(equals + 1));
  const auto* cubed = std::get_if<scales::VolumeScale>(&file);
  if (!cubed)
    throw app::InputError("--axis: " + app::QuotedInput(text) + " names no parameter file");
  return {text.substr(0, equals), *cubed};
}

double Angle(const std::map<std::string, std::string>& given, const std::string& option) {
  if (!given.count(option)) return kRightAngle;
  const std::optional<double> x = app::ParseDecimal(given.at(option));
  if (!x) throw app::InputError(option + ": " + app::DecimalSyntaxProblem(given.at(option)));
  if (!(*x > 0.0 && *x < 2.0 * kRightAngle))
    throw app::InputError(option + ": not between 0 and 180");
  return *x;
}

AxesRequest RequestFrom(const std::vector<std::string>& axes,
                        const std::map<std::string, std::string>& given) {
  AxesRequest request;
  if (axes.empty()) throw app::InputError("--axis: which axes? (NAME=FILE, repeatable)");
  for (const std::string& text : axes) request.axes.push_back(AxisFromText(text));
  const char* names[kCellEdges] = {"--alpha", "--beta", "--gamma"};
  for (int i = 0; i < kCellEdges; ++i) request.angles[i] = Angle(given, names[i]);
  if (std::isnan(AngleFactor(request.angles))) {
    throw app::InputError("--alpha, --beta, --gamma: these angles close no cell");
  }
  if (!given.count("--P")) throw app::InputError("--P: no pressure given");
  request.Ps = app::ParseValueRange(given.at("--P"), "--P");
  request.Ts.start = request.Ts.last = app::DefaultTemperature(request.axes.front().cubed);
  if (given.count("--T")) request.Ts = app::ParseValueRange(given.at("--T"), "--T");
  if (request.Ps.count * request.Ts.count > kMaxPoints) {
    throw app::InputError("--P: more than " + std::to_string(kMaxPoints) + " points");
  }
  if (given.count("--format")) request.format = app::ScaleFormat(given.at("--format"));
  return request;
}

// With the three edges, the cell volume and its sigma, the edges' sigmas
// taken as independent (each from a fit of its own).
app::ScaleTable Compute(const AxesRequest& request) {
  app::ScaleTable table;
  table.columns = {"P", "T"};
  for (const Axis& axis : request.axes) {
    for (const std::string prefix : {"", "sig", "beta"})
      table.columns.push_back(prefix + axis.name);
  }
  const bool cell = request.axes.size() == kCellEdges;
  if (cell) table.columns.insert(table.columns.end(), {"V", "sigV"});
  for (std::int64_t t = 0; t < request.Ts.count; ++t) {
    for (std::int64_t i = 0; i < request.Ps.count; ++i) {
      const double P = request.Ps.At(i), T = request.Ts.At(t);
      const std::string where = app::RangeValueLocation("--P", request.Ps, i);
      std::vector<double> row{P, T};
      double V = AngleFactor(request.angles), relative = 0.0;
      for (const Axis& axis : request.axes) {
        const AxisState state = StateOf(axis, P, T, where);
        row.insert(row.end(), {state.L, state.sigL, state.beta});
        V *= state.L;
        relative += (state.sigL / state.L) * (state.sigL / state.L);
      }
      if (cell) row.insert(row.end(), {V, V * std::sqrt(relative)});
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
