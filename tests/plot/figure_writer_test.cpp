#include "plot/figure_writer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cmath>
#include <string>

namespace quorvane::plot {
namespace {

Figure Sample() {
  Figure figure;
  // Strings moved in: GCC 12 at -O2 takes assigning the literals here for
  // overlapping copies and warns (-Wrestrict, its bug 105651).
  figure.title = std::string("Sample");
  figure.xLabel = std::string("P");
  figure.yLabel = std::string("V");
  Series data{"data", {0, 5, 10}, {75, 72, 70}, {0.3, 0.3, 0.3}, false};
  Series line{"fit", {0, 10}, {75, 70}, {}, true};
  figure.series = {data, line};
  return figure;
}

// The number an attribute of the SVG's root holds.
double RootNumber(const std::string& svg, const std::string& name) {
  const std::size_t at = svg.find(" " + name + "=\"");
  return at == std::string::npos ? 0.0 : std::stod(svg.substr(at + name.size() + 3));
}

// Both files are drawn, the PNG from the SVG at twice its size with the
// series in colour on white, and the SVG a whole document with the title's
// text in it.
TEST(FigureWriter, DrawsSvgAndPng) {
  ASSERT_TRUE(PngBuilt());
  FigureFiles files;
  ASSERT_EQ(DrawFigure(Sample(), files), "");

  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(files.png.data()),
                                 static_cast<int>(files.png.size()), "PNG"));
  EXPECT_EQ(image.width(), std::lround(2 * RootNumber(files.svg, "width")));
  EXPECT_EQ(image.height(), std::lround(2 * RootNumber(files.svg, "height")));
  int coloured = 0;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      const QColor c = image.pixelColor(x, y);
      if (c.saturation() > 100) ++coloured;
    }
  }
  EXPECT_GT(coloured, 200);

  EXPECT_NE(files.svg.find("<svg"), std::string::npos);
  EXPECT_NE(files.svg.find("Sample"), std::string::npos);
  EXPECT_NE(files.svg.find("</svg>"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::plot
