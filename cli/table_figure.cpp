#include "cli/table_figure.h"

#include <map>

#include "app/axis_units.h"
#include "app/figure_text.h"
#include "app/state_rows.h"
#include "models/model_catalogue.h"
#include "plot/colour.h"

namespace quorvane::cli {

plot::Figure TableFigure(const app::EosRequest& request) {
  plot::Figure figure;
  const models::Model& model = request.model;
  const app::AxisUnits units = app::AxisUnitsOf(fit::FitData{}, model);
  // Strings made and moved in: GCC 12 at -O2 takes assigning the literal here
  // for an overlapping copy and warns (-Wrestrict, its bug 105651).
  figure.xLabel = std::string("P");
  figure.xUnit = units.P;
  figure.yLabel = std::string("V");
  figure.yUnit = units.V;
  std::map<double, plot::Series> isotherms;
  const std::int64_t rows = app::RowCount(request);
  for (std::int64_t row = 0; row < rows; ++row) {
    const app::StateRow state =
        ComputeStateRow(model, request.known, request.solver, RowInput(request, row));
    if (!state.IsStatePoint()) continue;
    plot::Series& series = isotherms[state.point.T];
    series.x.push_back(state.point.P);
    series.y.push_back(state.point.V);
  }
  figure.title = "Isotherms of the " + app::ModelTitle(model, isotherms.size() <= 1);
  const double low = isotherms.empty() ? 0.0 : isotherms.begin()->first;
  const double high = isotherms.empty() ? 0.0 : isotherms.rbegin()->first;
  for (auto& [T, series] : isotherms) {
    series.label = "T = " + app::WholeOrThreeDigits(T) + (units.T.empty() ? "" : " " + units.T);
    // A single point draws no line: it shows as a marker.
    series.line = series.x.size() > 1;
    series.colour = static_cast<int>(figure.palette.size());
    figure.palette.push_back(plot::Sequential(high > low ? (T - low) / (high - low) : 0.0));
    figure.series.push_back(std::move(series));
  }
  if (isotherms.size() <= 1) figure.palette.clear();
  return figure;
}

}  // namespace quorvane::cli
