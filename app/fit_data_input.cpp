#include "app/fit_data_input.h"

#include <cmath>

#include "app/data_table.h"
#include "app/input_error.h"
#include "fit/axial_parameters.h"

namespace quorvane::app {
namespace {

// kV is the volume, or the axis fitted; kSigV its sigma, and for an axis
// kSigAxis the other spelling of it (siga, sig_a).
enum Column { kP, kV, kT, kSigP, kSigV, kSigT, kSigAxis };

constexpr int kSigmaColumns[] = {kSigP, kSigV, kSigT, kSigAxis};

DataColumns ColumnsFor(const std::string& axis) {
  if (axis.empty()) {
    return {{"P", "V"}, {"T", "sigP", "sigV", "sigT"}, {"sigP", "sigV", "sigT"}};
  }
  const std::string sig = "sig" + axis, sigUnderscore = "sig_" + axis;
  return {
      {"P", axis}, {"T", "sigP", sig, "sigT", sigUnderscore}, {"sigP", sig, "sigT", sigUnderscore}};
}

void Refuse(const DataTable& table, std::size_t row, int column, const std::string& what) {
  throw InputError(DataLocation(table.header.source, table.lines[row],
                                table.header.columns[static_cast<std::size_t>(column)]) +
                   ": " + what);
}

bool Has(const DataTable& table, int column) {
  const auto index = static_cast<std::size_t>(column);
  return index < table.header.columns.size() && table.header.columns[index] > 0;
}

// siga or sig_a, whichever the file has; both would leave it unclear which holds.
int AxisSigmaColumn(const DataTable& table) {
  if (!Has(table, kSigAxis)) return kSigV;
  if (Has(table, kSigV)) {
    throw InputError(
        DataLocation(table.header.source, table.header.line, table.header.columns[kSigAxis]) +
        ": give " + table.header.names[kSigV] + " or " + table.header.names[kSigAxis] +
        ", not both");
  }
  return kSigAxis;
}

// An empty field, like a column not given, is 0: no standard deviation known
// from that column.
double Sigma(const DataTable& table, std::size_t row, int column) {
  if (!Has(table, column)) return 0.0;
  const double sigma = table.Value(row, static_cast<std::size_t>(column));
  if (std::isnan(sigma)) return 0.0;
  if (sigma < 0.0) Refuse(table, row, column, "a standard deviation must not be negative");
  return sigma;
}

bool AnySigmaGiven(const DataTable& table) {
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    for (int column : kSigmaColumns) {
      if (Has(table, column) && !std::isnan(table.Value(row, static_cast<std::size_t>(column)))) {
        return true;
      }
    }
  }
  return false;
}

// With standard deviations in the file, every point needs an effective one:
// a row that gives none in any column cannot be weighted.
void RequireSomeSigma(const DataTable& table, std::size_t row, const fit::Observation& point,
                      int sigV) {
  if (point.sigP > 0.0 || point.sigV > 0.0 || point.sigT > 0.0) return;
  int column = kSigP;
  while (!Has(table, column)) ++column;
  Refuse(table, row, column,
         "a standard deviation must be greater than zero in sigP, " +
             table.header.names[static_cast<std::size_t>(sigV)] + " or sigT: this point has none");
}

// An axis' points cubed for the fit, or as the file gives them.
fit::FitData ReadPoints(std::istream& in, const std::string& source, double Tref,
                        const std::string& axis, bool cubed) {
  const DataTable table = ReadDataTable(in, source, ColumnsFor(axis));
  fit::FitData data;
  data.source = source;
  data.axis = axis;
  data.units = {table.header.units[kP], table.header.units[kV], table.header.units[kT]};
  const bool hasT = table.header.Has("T");
  const bool weighted = AnySigmaGiven(table);
  const int sigV = AxisSigmaColumn(table);
  const std::string positive = (axis.empty() ? "V" : axis) + " must be greater than zero";
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    const double x = table.Value(row, kV);
    if (!(x > 0.0)) Refuse(table, row, kV, positive);
    const double T = hasT ? table.Value(row, kT) : Tref;
    const double sigP = Sigma(table, row, kSigP), sigX = Sigma(table, row, sigV);
    const double sigT = Sigma(table, row, kSigT);
    const fit::Observation point =
        axis.empty() || !cubed ? fit::Observation{table.Value(row, kP), x, T, sigP, sigX, sigT}
                               : fit::CubedAxisPoint(table.Value(row, kP), x, T, sigP, sigX, sigT);
    if (!axis.empty() && cubed && fit::CubeLost(point, sigX)) {
      Refuse(table, row, kV, axis + " has no cube in double precision");
    }
    if (weighted) RequireSomeSigma(table, row, point, sigV);
    data.points.push_back(point);
    data.lines.push_back(table.lines[row]);
  }
  if (data.points.empty()) throw InputError(source + ": no data rows");
  return data;
}

}  // namespace

fit::FitData ReadFitData(std::istream& in, const std::string& source, double Tref,
                         const std::string& axis) {
  return ReadPoints(in, source, Tref, axis, true);
}

fit::FitData ReadDataAsGiven(std::istream& in, const std::string& source, double Tref,
                             const std::string& axis) {
  return ReadPoints(in, source, Tref, axis, false);
}

std::vector<std::string> EdgeColumns(const std::vector<std::string>& columns) {
  std::vector<std::string> edges;
  for (const std::string& name : columns) {
    const bool read = SameColumnName(name, "P") || SameColumnName(name, "T") ||
                      SameColumnName(name, "V") || SameColumnName(name.substr(0, 3), "sig");
    if (!read) edges.push_back(name);
  }
  return edges;
}

}  // namespace quorvane::app
