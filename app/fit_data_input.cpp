#include "app/fit_data_input.h"

#include <cmath>

#include "app/data_table.h"
#include "app/input_error.h"

namespace quorvane::cli {
namespace {

enum Column { kP, kV, kT, kSigP, kSigV, kSigT };

const DataColumns kColumns{{"P", "V"}, {"T", "sigP", "sigV", "sigT"}, {"sigP", "sigV", "sigT"}};
constexpr int kSigmaColumns[] = {kSigP, kSigV, kSigT};

void Refuse(const DataTable& table, std::size_t row, int column, const std::string& what) {
  throw InputError(DataLocation(table.header.source, table.lines[row],
                                table.header.columns[static_cast<std::size_t>(column)]) +
                   ": " + what);
}

bool Has(const DataTable& table, int column) {
  return table.header.columns[static_cast<std::size_t>(column)] > 0;
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
void RequireSomeSigma(const DataTable& table, std::size_t row, const fit::Observation& point) {
  if (point.sigP > 0.0 || point.sigV > 0.0 || point.sigT > 0.0) return;
  int column = kSigP;
  while (!Has(table, column)) ++column;
  Refuse(table, row, column,
         "a standard deviation must be greater than zero in sigP, sigV or sigT: this point "
         "has none");
}

}  // namespace

fit::FitData ReadFitData(std::istream& in, const std::string& source, double Tref) {
  const DataTable table = ReadDataTable(in, source, kColumns);
  fit::FitData data;
  data.source = source;
  const bool hasT = table.header.Has("T");
  const bool weighted = AnySigmaGiven(table);
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    fit::Observation point;
    point.P = table.Value(row, kP);
    point.V = table.Value(row, kV);
    if (!(point.V > 0.0)) Refuse(table, row, kV, "V must be greater than zero");
    point.T = hasT ? table.Value(row, kT) : Tref;
    point.sigP = Sigma(table, row, kSigP);
    point.sigV = Sigma(table, row, kSigV);
    point.sigT = Sigma(table, row, kSigT);
    if (weighted) RequireSomeSigma(table, row, point);
    data.points.push_back(point);
    data.lines.push_back(table.lines[row]);
  }
  if (data.points.empty()) throw InputError(source + ": no data rows");
  return data;
}

}  // namespace quorvane::cli
