#include "plot/figure_json.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "numtext/double_text.h"
#include "plot/figure_axes.h"

namespace quorvane::plot {
namespace {

void AppendString(std::string& out, const std::string& text) {
  constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  out += numtext::ShortestText(value);
}

void AppendNumbers(std::string& out, const std::vector<double>& values) {
  out += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    AppendNumber(out, values[i]);
  }
  out += ']';
}

const char* StrokeName(Series::Stroke stroke) {
  switch (stroke) {
    case Series::Stroke::Dashed:
      return "dashed";
    case Series::Stroke::Dotted:
      return "dotted";
    case Series::Stroke::Solid:
      break;
  }
  return "solid";
}

void AppendAxis(std::string& out, const std::string& quantity, const std::string& unit,
                const AxisTicks& ticks) {
  out += "{\"label\":";
  AppendString(out, AxisLabel(quantity, unit));
  out += ",\"quantity\":";
  AppendString(out, quantity);
  out += ",\"unit\":";
  AppendString(out, unit);
  out += ",\"low\":";
  AppendNumber(out, ticks.low);
  out += ",\"high\":";
  AppendNumber(out, ticks.high);
  out += ",\"ticks\":";
  AppendNumbers(out, ticks.values);
  out += ",\"tickTexts\":[";
  for (std::size_t i = 0; i < ticks.values.size(); ++i) {
    if (i > 0) out += ',';
    AppendString(out, TickText(ticks.values[i], ticks.step));
  }
  out += "]}";
}

void AppendSeries(std::string& out, const Figure& figure, std::size_t index) {
  const Series& series = figure.series[index];
  out += "{\"label\":";
  AppendString(out, series.label);
  out += std::string(",\"line\":") + (series.line ? "true" : "false");
  out += ",\"colour\":\"" + HexOf(ColourOf(figure, series, index)) + "\"";
  out += std::string(",\"stroke\":\"") + StrokeName(series.stroke) + "\"";
  out += ",\"x\":";
  AppendNumbers(out, series.x);
  out += ",\"y\":";
  AppendNumbers(out, series.y);
  out += ",\"xError\":";
  AppendNumbers(out, series.xError);
  out += ",\"yError\":";
  AppendNumbers(out, series.yError);
  out += '}';
}

void AppendLegend(std::string& out, const Figure& figure) {
  const std::vector<LegendEntry> legend = LegendOf(figure);
  out += '[';
  for (std::size_t i = 0; i < legend.size(); ++i) {
    const LegendEntry& entry = legend[i];
    if (i > 0) out += ',';
    out += "{\"text\":";
    AppendString(out, entry.text);
    out += ",\"colour\":\"" + HexOf(ColourAt(figure, entry.colour)) + "\"";
    out += std::string(",\"marker\":") + (entry.marker ? "true" : "false");
    out += std::string(",\"line\":") + (entry.line ? "true" : "false");
    out += std::string(",\"stroke\":\"") + StrokeName(entry.stroke) + "\"}";
  }
  out += ']';
}

}  // namespace

std::string FigureJson(const Figure& figure) {
  const FigureAxes axes = AxesOf(figure);
  std::string out = "{\"title\":";
  AppendString(out, figure.title);
  out += ",\"x\":";
  AppendAxis(out, figure.xLabel, figure.xUnit, axes.x);
  out += ",\"y\":";
  AppendAxis(out, figure.yLabel, figure.yUnit, axes.y);
  out += std::string(",\"zeroLine\":") + (figure.zeroLine ? "true" : "false");
  out += ",\"series\":[";
  for (std::size_t i = 0; i < figure.series.size(); ++i) {
    if (i > 0) out += ',';
    AppendSeries(out, figure, i);
  }
  out += "],\"legend\":";
  AppendLegend(out, figure);
  out += "}";
  return out;
}

}  // namespace quorvane::plot
