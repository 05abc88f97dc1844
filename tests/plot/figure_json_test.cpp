#include "plot/figure_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "plot/figure_axes.h"

namespace quorvane::plot {
namespace {

// A figure with what JSON must carry with care: text to escape, a value that
// is not a number, a figure palette and a legend of its own.
Figure Awkward() {
  Figure figure;
  figure.title = "quote \" backslash \\ tab \t \u00c5\u00b3";
  figure.xLabel = "P";
  figure.xUnit = "GPa";
  figure.yLabel = "V";
  figure.palette = {{68, 1, 84}, {253, 231, 37}};
  Series data{
      "", {1.0, 2.0, 3.0}, {10.0, std::numeric_limits<double>::quiet_NaN(), 8.0}, {0.1, 0.1, 0.1}};
  data.colour = 1;
  Series curve{"fit", {1.0, 3.0}, {10.1, 7.9}, {}, true};
  curve.colour = 1;
  curve.stroke = Series::Stroke::Dashed;
  figure.series = {data, curve};
  figure.legend = {{"T \u2248 1222 K", 1, true, true}};
  return figure;
}

// A front end reads back every text, the resolved colours and strokes, the
// axes with their ticks, and null for a value that is not a number.
TEST(FigureJson, ReadsBackWithEverythingResolved) {
  const Figure figure = Awkward();
  const nlohmann::json json = nlohmann::json::parse(FigureJson(figure));
  EXPECT_EQ(json["title"], figure.title);
  EXPECT_EQ(json["x"]["label"], "P (GPa)");
  EXPECT_EQ(json["y"]["label"], "V");
  const FigureAxes axes = AxesOf(figure);
  EXPECT_EQ(json["y"]["ticks"].get<std::vector<double>>(), axes.y.values);
  ASSERT_EQ(json["y"]["tickTexts"].size(), axes.y.values.size());
  EXPECT_EQ(json["y"]["tickTexts"][0], TickText(axes.y.values[0], axes.y.step));
  ASSERT_EQ(json["series"].size(), 2u);
  EXPECT_EQ(json["series"][0]["colour"], "#fde725");
  EXPECT_TRUE(json["series"][0]["y"][1].is_null());
  EXPECT_EQ(json["series"][0]["y"][2], 8.0);
  EXPECT_EQ(json["series"][1]["stroke"], "dashed");
  EXPECT_EQ(json["series"][1]["line"], true);
  ASSERT_EQ(json["legend"].size(), 1u);
  EXPECT_EQ(json["legend"][0]["text"], "T \u2248 1222 K");
  EXPECT_EQ(json["legend"][0]["colour"], "#fde725");
}

}  // namespace
}  // namespace quorvane::plot
