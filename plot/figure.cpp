#include "plot/figure.h"

namespace quorvane::plot {

std::string AxisLabel(const std::string& quantity, const std::string& unit) {
  if (unit.empty()) return quantity;
  return quantity + " (" + unit + ")";
}

Colour ColourAt(const Figure& figure, int place) {
  if (figure.palette.empty() || place < 0) return CategoricalColour(place);
  return figure.palette[static_cast<std::size_t>(place) % figure.palette.size()];
}

Colour ColourOf(const Figure& figure, const Series& series, std::size_t index) {
  return ColourAt(figure, series.colour >= 0 ? series.colour : static_cast<int>(index));
}

std::vector<LegendEntry> LegendOf(const Figure& figure) {
  if (!figure.legend.empty()) return figure.legend;
  std::vector<LegendEntry> entries;
  for (std::size_t i = 0; i < figure.series.size(); ++i) {
    const Series& series = figure.series[i];
    if (series.label.empty()) continue;
    const int place = series.colour >= 0 ? series.colour : static_cast<int>(i);
    entries.push_back({series.label, place, !series.line, series.line, series.stroke});
  }
  return entries;
}

}  // namespace quorvane::plot
