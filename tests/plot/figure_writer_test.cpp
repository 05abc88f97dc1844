#include "plot/figure_writer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvane::plot {
namespace {

namespace fs = std::filesystem;

Figure Sample() {
  Figure figure;
  figure.title = "Sample";
  figure.xLabel = "P";
  figure.yLabel = "V";
  Series data{"data", {0, 5, 10}, {75, 72, 70}, {0.3, 0.3, 0.3}, false};
  Series line{"fit", {0, 10}, {75, 70}, {}, true};
  figure.series = {data, line};
  return figure;
}

// Both files are written, the PNG at its full size with the series drawn in
// colour on white, and the SVG a drawing with the title's text in it; a
// place that cannot be written gives a message instead of a crash.
TEST(FigureWriter, WritesSvgAndPngOrSaysWhyNot) {
  ASSERT_TRUE(FiguresAvailable());
  const fs::path base = fs::temp_directory_path() / "quorvane_plot_test";
  const Figure figure = Sample();
  ASSERT_EQ(WriteFigure(figure, base.string()), "");

  const QImage image(QString::fromStdString(base.string() + ".png"));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 800);
  EXPECT_EQ(image.height(), 560);
  int coloured = 0;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      const QColor c = image.pixelColor(x, y);
      if (c.saturation() > 100) ++coloured;
    }
  }
  EXPECT_GT(coloured, 200);

  std::ifstream svg(base.string() + ".svg");
  std::stringstream text;
  text << svg.rdbuf();
  EXPECT_NE(text.str().find("<svg"), std::string::npos);
  EXPECT_NE(text.str().find("Sample"), std::string::npos);
  fs::remove(base.string() + ".png");
  fs::remove(base.string() + ".svg");

  EXPECT_NE(WriteFigure(figure, "/nonexistent-directory/figure"), "");
}

}  // namespace
}  // namespace quorvane::plot
