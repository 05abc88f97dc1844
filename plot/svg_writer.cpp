#include "plot/svg_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "numtext/double_text.h"
#include "plot/figure_axes.h"
#include "plot/svg_layout.h"

namespace quorvane::plot {
namespace {

constexpr double kMarkerRadius = 4.0;
constexpr double kErrorCap = 3.0;
constexpr double kTickLength = 6.0;
constexpr const char* kFontFamily = "DejaVu Sans, Verdana, Arial, Helvetica, sans-serif";
constexpr const char* kGridColour = "#e1e1e1";
constexpr const char* kFrameColour = "#000000";
constexpr const char* kZeroLineColour = "#5a5a5a";

// Two decimals: a hundredth of a pixel, and the same digits from every C++
// library that converts as the standard says.
std::string Number(double value) {
  return numtext::FormattedText(value, std::chars_format::fixed, 2);
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

Colour Darker(Colour c) {
  auto scale = [](unsigned char v) { return static_cast<unsigned char>(v * 7 / 10); };
  return {scale(c.red), scale(c.green), scale(c.blue)};
}

std::string StrokeStyle(const Series& series) {
  switch (series.stroke) {
    case Series::Stroke::Dashed:
      return " stroke-width=\"1.4\" stroke-dasharray=\"6 4\"";
    case Series::Stroke::Dotted:
      return " stroke-width=\"1.6\" stroke-dasharray=\"1.5 3\"";
    case Series::Stroke::Solid:
      break;
  }
  return " stroke-width=\"2\"";
}

class SvgText {
 public:
  SvgText(const Figure& figure, const FigureAxes& axes, const SvgLayout& layout)
      : figure_(figure), axes_(axes), layout_(layout) {}

  std::string Document() {
    Open();
    Grid();
    for (std::size_t i = 0; i < figure_.series.size(); ++i) {
      Draw(figure_.series[i], ColourOf(figure_, figure_.series[i], i));
    }
    Frame();
    Legend();
    out_ += "</svg>\n";
    return std::move(out_);
  }

 private:
  double X(double x) const {
    const Box& a = layout_.area;
    return a.left + (x - axes_.x.low) / (axes_.x.high - axes_.x.low) * a.width;
  }
  double Y(double y) const {
    const Box& a = layout_.area;
    return a.Bottom() - (y - axes_.y.low) / (axes_.y.high - axes_.y.low) * a.height;
  }
  double ClampX(double x) const { return std::clamp(x, layout_.area.left, layout_.area.Right()); }
  double ClampY(double y) const { return std::clamp(y, layout_.area.top, layout_.area.Bottom()); }

  void Line(double x1, double y1, double x2, double y2, const std::string& style) {
    out_ += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) +
            "\" y2=\"" + Number(y2) + "\"" + style + "/>\n";
  }

  void Text(double x, double y, const std::string& anchor, const std::string& text,
            const std::string& extra = "") {
    out_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\"" +
            extra + ">" + Escaped(text) + "</text>\n";
  }

  void Open() {
    const std::string w = Number(layout_.width), h = Number(layout_.height);
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w +
            "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"" +
            kFontFamily + "\" font-size=\"" + Number(kFontPixels) + "\">\n";
    out_ += "<title>" + Escaped(figure_.title) + "</title>\n";
    out_ += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  }

  void Grid() {
    const Box& a = layout_.area;
    const std::string style = std::string(" stroke=\"") + kGridColour + "\" stroke-width=\"1\"";
    out_ += "<g class=\"grid\">\n";
    for (double v : axes_.x.values) Line(X(v), a.top, X(v), a.Bottom(), style);
    for (double v : axes_.y.values) Line(a.left, Y(v), a.Right(), Y(v), style);
    if (figure_.zeroLine && axes_.y.low < 0.0 && axes_.y.high > 0.0) {
      Line(a.left, Y(0.0), a.Right(), Y(0.0),
           std::string(" stroke=\"") + kZeroLineColour +
               "\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"");
    }
    out_ += "</g>\n";
  }

  void Frame() {
    const Box& a = layout_.area;
    const std::string style = std::string(" stroke=\"") + kFrameColour + "\" stroke-width=\"1.2\"";
    out_ += "<g class=\"axes\">\n";
    out_ += "<rect x=\"" + Number(a.left) + "\" y=\"" + Number(a.top) + "\" width=\"" +
            Number(a.width) + "\" height=\"" + Number(a.height) + "\" fill=\"none\"" + style +
            "/>\n";
    for (double v : axes_.x.values) {
      Line(X(v), a.Bottom(), X(v), a.Bottom() - kTickLength, style);
      Text(X(v), layout_.xTickBaseline, "middle", TickText(v, axes_.x.step));
    }
    for (double v : axes_.y.values) {
      Line(a.left, Y(v), a.left + kTickLength, Y(v), style);
      Text(layout_.yTickRight, Y(v) + kFontPixels * 0.35, "end", TickText(v, axes_.y.step));
    }
    Text(a.left + a.width / 2, layout_.xLabelBaseline, "middle",
         AxisLabel(figure_.xLabel, figure_.xUnit));
    const double yMiddle = a.top + a.height / 2;
    Text(layout_.yLabelBaseline, yMiddle, "middle", AxisLabel(figure_.yLabel, figure_.yUnit),
         " transform=\"rotate(-90 " + Number(layout_.yLabelBaseline) + " " + Number(yMiddle) +
             ")\"");
    Text(layout_.width / 2, layout_.titleBaseline, "middle", figure_.title,
         " font-weight=\"bold\" font-size=\"" + Number(layout_.titlePixels) + "\"");
    out_ += "</g>\n";
  }

  void Polyline(const std::vector<std::pair<double, double>>& points, const std::string& style) {
    if (points.size() < 2) return;
    out_ += "<polyline fill=\"none\"" + style + " points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (i > 0) out_ += ' ';
      out_ += Number(points[i].first) + "," + Number(points[i].second);
    }
    out_ += "\"/>\n";
  }

  void DrawLine(const Series& series, Colour colour) {
    const std::string style = " stroke=\"" + HexOf(colour) + "\"" + StrokeStyle(series);
    // A point without a value breaks the line in two.
    std::vector<std::pair<double, double>> run;
    for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
      if (std::isfinite(series.x[i]) && std::isfinite(series.y[i])) {
        run.emplace_back(X(series.x[i]), Y(series.y[i]));
        continue;
      }
      Polyline(run, style);
      run.clear();
    }
    Polyline(run, style);
  }

  void ErrorBars(const Series& series, std::size_t i, std::string& path) {
    const double x = X(series.x[i]), y = Y(series.y[i]);
    auto segment = [&](double x1, double y1, double x2, double y2) {
      path += "M" + Number(x1) + " " + Number(y1) + "L" + Number(x2) + " " + Number(y2);
    };
    const double ey = i < series.yError.size() ? series.yError[i] : 0.0;
    if (ey > 0.0) {
      const double top = ClampY(Y(series.y[i] + ey)), bottom = ClampY(Y(series.y[i] - ey));
      segment(x, top, x, bottom);
      segment(x - kErrorCap, top, x + kErrorCap, top);
      segment(x - kErrorCap, bottom, x + kErrorCap, bottom);
    }
    const double ex = i < series.xError.size() ? series.xError[i] : 0.0;
    if (ex > 0.0) {
      const double left = ClampX(X(series.x[i] - ex)), right = ClampX(X(series.x[i] + ex));
      segment(left, y, right, y);
      segment(left, y - kErrorCap, left, y + kErrorCap);
      segment(right, y - kErrorCap, right, y + kErrorCap);
    }
  }

  void DrawMarkers(const Series& series, Colour colour) {
    std::string bars;
    for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
      if (std::isfinite(series.x[i]) && std::isfinite(series.y[i])) ErrorBars(series, i, bars);
    }
    if (!bars.empty()) {
      out_ += "<path fill=\"none\" stroke=\"" + HexOf(colour) + "\" stroke-width=\"1.2\" d=\"" +
              bars + "\"/>\n";
    }
    out_ += "<g fill=\"" + HexOf(colour) + "\" stroke=\"" + HexOf(Darker(colour)) +
            "\" stroke-width=\"1.2\">\n";
    for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
      if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
      out_ += "<circle cx=\"" + Number(X(series.x[i])) + "\" cy=\"" + Number(Y(series.y[i])) +
              "\" r=\"" + Number(kMarkerRadius) + "\"/>\n";
    }
    out_ += "</g>\n";
  }

  void Draw(const Series& series, Colour colour) {
    out_ += "<g class=\"series\">\n";
    if (series.line) {
      DrawLine(series, colour);
    } else {
      DrawMarkers(series, colour);
    }
    out_ += "</g>\n";
  }

  void Legend() {
    if (layout_.legend.empty()) return;
    const Box& box = layout_.legendBox;
    out_ += "<g class=\"legend\">\n";
    out_ += "<rect x=\"" + Number(box.left) + "\" y=\"" + Number(box.top) + "\" width=\"" +
            Number(box.width) + "\" height=\"" + Number(box.height) +
            "\" fill=\"#ffffff\" stroke=\"#a0a0a0\" stroke-width=\"1\"/>\n";
    double y = box.top + kLegendPadding + kLegendRow / 2;
    for (const LegendEntry& entry : layout_.legend) {
      const Colour colour = ColourAt(figure_, entry.colour);
      const double key = box.left + kLegendPadding + kLegendKey / 2;
      if (entry.line) {
        Series style;
        style.stroke = entry.stroke;
        Line(key - kLegendKey / 2, y, key + kLegendKey / 2, y,
             " stroke=\"" + HexOf(colour) + "\"" + StrokeStyle(style));
      }
      if (entry.marker) {
        out_ += "<circle cx=\"" + Number(key) + "\" cy=\"" + Number(y) + "\" r=\"" +
                Number(kMarkerRadius) + "\" fill=\"" + HexOf(colour) + "\" stroke=\"" +
                HexOf(Darker(colour)) + "\" stroke-width=\"1.2\"/>\n";
      }
      Text(box.left + kLegendPadding + kLegendKey + kLegendGap, y + kFontPixels * 0.35, "start",
           entry.text);
      y += kLegendRow;
    }
    out_ += "</g>\n";
  }

  const Figure& figure_;
  const FigureAxes& axes_;
  const SvgLayout& layout_;
  std::string out_;
};

}  // namespace

std::string FigureSvg(const Figure& figure) {
  const FigureAxes axes = AxesOf(figure);
  const SvgLayout layout = LayOut(figure, axes);
  return SvgText(figure, axes, layout).Document();
}

}  // namespace quorvane::plot
