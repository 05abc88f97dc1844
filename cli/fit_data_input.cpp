#include "cli/fit_data_input.h"

#include <cmath>

#include "cli/data_table.h"
#include "cli/input_error.h"

namespace quorvane::cli {
namespace {

enum Column { kP, kV, kT, kSigP, kSigV, kSigT };

const DataColumns kColumns{{"P", "V"}, {"T", "sigP", "sigV", "sigT"}};

void Refuse(const DataTable& table, std::size_t row, int column, const std::string& what) {
  throw InputError(DataLocation(table.header.source, table.lines[row],
                                table.header.columns[static_cast<std::size_t>(column)]) +
                   ": " + what);
}

double Sigma(const DataTable& table, std::size_t row, int column) {
  if (!table.header.Has(table.header.names[static_cast<std::size_t>(column)])) return 0.0;
  const double sigma = table.Value(row, static_cast<std::size_t>(column));
  if (!(sigma > 0.0)) Refuse(table, row, column, "a standard deviation must be greater than zero");
  return sigma;
}

}  // namespace

fit::FitData ReadFitData(std::istream& in, const std::string& source, double Tref) {
  const DataTable table = ReadDataTable(in, source, kColumns);
  fit::FitData data;
  data.source = source;
  const bool hasT = table.header.Has("T");
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    fit::Observation point;
    point.P = table.Value(row, kP);
    point.V = table.Value(row, kV);
    if (!(point.V > 0.0)) Refuse(table, row, kV, "V must be greater than zero");
    point.T = hasT ? table.Value(row, kT) : Tref;
    point.sigP = Sigma(table, row, kSigP);
    point.sigV = Sigma(table, row, kSigV);
    point.sigT = Sigma(table, row, kSigT);
    data.points.push_back(point);
  }
  if (data.points.empty()) throw InputError(source + ": no data rows");
  return data;
}

}  // namespace quorvane::cli
