#include "app/fit_figure_set.h"

#include "app/fit_figures.h"
#include "app/fit_thermal_figures.h"

namespace quorvane::app {

std::vector<NamedFigure> FitFigureSet(const FitReport& report) {
  std::vector<NamedFigure> figures;
  figures.push_back({"isotherm", IsothermFigure(report)});
  figures.push_back({"residuals", ResidualFigure(report)});
  figures.push_back({"residuals-V", ResidualFigure(report, ResidualAxis::V)});
  if (report.strain) {
    figures.push_back({"ff", StrainFigure(report)});
  } else {
    figures.push_back({"residuals-T", ResidualFigure(report, ResidualAxis::T)});
    figures.push_back({"thermal", ThermalFigure(report)});
    figures.push_back({"ff", ReducedStrainFigure(report)});
  }
  const std::vector<std::string> tags = EllipseFileTags(report.ellipses);
  const AxisUnits units = AxisUnitsOf(*report.data, report.result->model);
  for (std::size_t i = 0; i < tags.size(); ++i) {
    figures.push_back({"ellipse-" + tags[i], EllipseFigure(report.ellipses[i], units)});
  }
  return figures;
}

}  // namespace quorvane::app
