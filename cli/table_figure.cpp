#include "cli/table_figure.h"

#include <cstdio>
#include <map>

#include "app/state_rows.h"
#include "models/model_catalogue.h"

namespace quorvane::cli {

plot::Figure TableFigure(const EosRequest& request) {
  plot::Figure figure;
  const models::Model& model = request.model;
  figure.title = std::string("Isotherms of ") + models::Info(model.equation).name + ", order " +
                 std::to_string(model.order);
  if (model.thermal != models::Thermal::Linear) {
    figure.title += std::string(", ") + models::Info(model.thermal).name;
  }
  figure.xLabel = "P";
  figure.yLabel = "V";
  std::map<double, plot::Series> isotherms;
  const std::int64_t rows = RowCount(request);
  for (std::int64_t row = 0; row < rows; ++row) {
    const StateRow state =
        ComputeStateRow(model, request.known, request.solver, RowInput(request, row));
    if (!state.IsStatePoint()) continue;
    plot::Series& series = isotherms[state.point.T];
    series.x.push_back(state.point.P);
    series.y.push_back(state.point.V);
  }
  for (auto& [T, series] : isotherms) {
    char label[48];
    std::snprintf(label, sizeof label, "T = %g", T);
    series.label = label;
    // A single point draws no line: it shows as a marker.
    series.line = series.x.size() > 1;
    figure.series.push_back(std::move(series));
  }
  return figure;
}

std::string PlotBasePath(const std::string& path) {
  for (const char* extension : {".svg", ".png"}) {
    const std::string suffix = extension;
    if (path.size() > suffix.size() && path.ends_with(suffix)) {
      return path.substr(0, path.size() - suffix.size());
    }
  }
  return path;
}

}  // namespace quorvane::cli
