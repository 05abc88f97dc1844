#include "plot/svg_writer.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "plot/colour.h"
#include "plot/text_width.h"

namespace quorvane::plot {
namespace {

struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;
  bool inLegend = false;
  double Number(const std::string& key) const {
    const auto found = attributes.find(key);
    return found == attributes.end() ? 0.0 : std::stod(found->second);
  }
};

// The document's elements in order, each with its attributes and text.
struct Parsed {
  std::vector<Element> elements;
  int legendDepth = 0;
  int depth = 0;
  std::string error;
};

void Start(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto* parsed = static_cast<Parsed*>(data);
  ++parsed->depth;
  Element element{name, {}, {}, parsed->legendDepth > 0};
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    element.attributes[attributes[i]] = attributes[i + 1];
  }
  if (element.name == "g" && element.attributes["class"] == "legend") {
    parsed->legendDepth = parsed->depth;
  }
  parsed->elements.push_back(element);
}

void End(void* data, const XML_Char*) {
  auto* parsed = static_cast<Parsed*>(data);
  if (parsed->legendDepth == parsed->depth) parsed->legendDepth = 0;
  --parsed->depth;
}

void Characters(void* data, const XML_Char* text, int length) {
  auto* parsed = static_cast<Parsed*>(data);
  if (!parsed->elements.empty()) parsed->elements.back().text.append(text, length);
}

Parsed Parse(const std::string& svg) {
  Parsed parsed;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &parsed);
  XML_SetElementHandler(parser, Start, End);
  XML_SetCharacterDataHandler(parser, Characters);
  if (XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_ERROR) {
    parsed.error = XML_ErrorString(XML_GetErrorCode(parser));
  }
  XML_ParserFree(parser);
  return parsed;
}

// Figures that strain the layout: a legend of eight temperatures and the
// band keys, long tick texts of both signs, a very long title, an
// exponent-form axis, text that must be escaped, and no legend at all.
std::vector<std::pair<std::string, Figure>> Figures() {
  std::vector<std::pair<std::string, Figure>> figures;
  Figure isotherms;
  isotherms.title =
      "Data and fitted 3rd-order Birch\u2013Murnaghan + Mie\u2013Gr\u00fcneisen\u2013Debye "
      "isotherms";
  isotherms.xLabel = "P";
  isotherms.xUnit = "GPa";
  isotherms.yLabel = "V";
  isotherms.yUnit = "\u00c5\u00b3";
  for (int g = 0; g < 8; ++g) {
    isotherms.palette.push_back(Viridis(g / 8.0));
    Series data{"", {0.5 + g, 10.0 + g, 24.0}, {80.0 - g, 74.0 - g, 68.0 - g}, {0.2, 0.2, 0.2}};
    data.colour = g;
    isotherms.series.push_back(data);
    isotherms.legend.push_back({"T \u2248 " + std::to_string(300 + 280 * g) + " K", g, true, true});
  }
  isotherms.legend.push_back(
      {"68.3 % prediction band (new point)", 0, false, true, Series::Stroke::Dotted});
  figures.emplace_back("eight temperatures", isotherms);

  Figure residuals;
  residuals.title = "Weighted residuals";
  residuals.xLabel = "V";
  residuals.yLabel = "\u0394P / \u03c3";
  residuals.zeroLine = true;
  residuals.series.push_back({"residual / \u03c3", {-123456.5, 0.0, 98765.25}, {-2.7, 0.3, 2.9}});
  figures.emplace_back("negative and long ticks", residuals);

  Figure tiny;
  tiny.title = std::string(140, 'W');
  tiny.xLabel = "x < y & \"z\"";
  tiny.yLabel = "y";
  tiny.series.push_back({"tiny", {1e-9, 5e-9}, {3e7, 9e7}, {}, true});
  figures.emplace_back("exponents, escapes and a long title", tiny);

  Figure bare;
  bare.series.push_back({"", {0.0, 1.0}, {0.0, 1.0}});
  figures.emplace_back("no legend", bare);
  return figures;
}

// Where a text reaches, from its anchor, its size and its estimated width.
struct Extent {
  double left, right, top, bottom;
};

Extent ExtentOf(const Element& text, double fontPixels) {
  const double size = text.attributes.count("font-size") ? text.Number("font-size") : fontPixels;
  const double bold = text.attributes.count("font-weight") ? 1.1 : 1.0;
  const double width = TextWidth(text.text) * size * bold;
  const std::string anchor = text.attributes.at("text-anchor");
  const double shift = anchor == "middle" ? width / 2 : anchor == "end" ? width : 0.0;
  const double x = text.Number("x"), y = text.Number("y");
  if (text.attributes.count("transform")) {
    // Turned a quarter left about (x, y): it runs upwards from there.
    return {x - size, x + 0.3 * size, y - width + shift, y + shift};
  }
  return {x - shift, x - shift + width, y - size, y + 0.3 * size};
}

TEST(SvgWriter, WellFormedWithEveryTextOnTheCanvasAndTheLegendOffTheData) {
  for (const auto& [name, figure] : Figures()) {
    SCOPED_TRACE(name);
    const std::string svg = FigureSvg(figure);
    const Parsed parsed = Parse(svg);
    ASSERT_EQ(parsed.error, "");
    ASSERT_FALSE(parsed.elements.empty());
    const Element& root = parsed.elements.front();
    ASSERT_EQ(root.name, "svg");
    const double width = root.Number("width"), height = root.Number("height");
    const double fontPixels = root.Number("font-size");
    EXPECT_GE(fontPixels * 0.75, 10.0) << "text under 10 pt at 100 %";
    const Element* legendBox = nullptr;
    std::vector<const Element*> markers;
    int texts = 0;
    for (const Element& element : parsed.elements) {
      if (element.name == "rect" && element.inLegend && legendBox == nullptr) {
        legendBox = &element;
      }
      if (element.name == "circle" && !element.inLegend) markers.push_back(&element);
      if (element.name != "text") continue;
      ++texts;
      const Extent e = ExtentOf(element, fontPixels);
      EXPECT_GE(e.left, 0.0) << element.text;
      EXPECT_LE(e.right, width) << element.text;
      EXPECT_GE(e.top, 0.0) << element.text;
      EXPECT_LE(e.bottom, height) << element.text;
    }
    EXPECT_GT(texts, 4);
    EXPECT_EQ(legendBox != nullptr, name != "no legend");
    if (legendBox == nullptr) continue;
    const double left = legendBox->Number("x"), top = legendBox->Number("y");
    const double right = left + legendBox->Number("width");
    const double bottom = top + legendBox->Number("height");
    for (const Element* marker : markers) {
      const double cx = marker->Number("cx"), cy = marker->Number("cy"), r = marker->Number("r");
      const bool apart = cx + r < left || cx - r > right || cy + r < top || cy - r > bottom;
      EXPECT_TRUE(apart) << "marker at " << cx << ", " << cy;
    }
  }
}

TEST(SvgWriter, AxisLabelsCarryTheirUnits) {
  const std::vector<std::pair<std::string, Figure>> figures = Figures();
  const std::string svg = FigureSvg(figures[0].second);
  EXPECT_NE(svg.find(">P (GPa)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">V (\u00c5\u00b3)</text>"), std::string::npos);
  const std::string bare = FigureSvg(figures[2].second);
  EXPECT_NE(bare.find(">y</text>"), std::string::npos) << "no unit, no parentheses";
  EXPECT_NE(bare.find(">x &lt; y &amp; &quot;z&quot;</text>"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::plot
