#include "host/qt/dialog_units.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "qt_host_fixture.h"

namespace quorvane::host {
namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  struct Case {
    const char* name;
    int a, b, c, expected;
  };
  const Case cases[] = {
      {"exact", 8, 6, 4, 12},
      {"half up", 1, 6, 4, 2},
      {"below half", 5, 13, 8, 8},
      {"above half", 7, 13, 8, 11},
      {"negative half", -1, 6, 4, -2},
      {"zero divisor", 3, 4, 0, 0},
      {"negative divisor", 10, 3, -4, -8},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.name;
}

TEST(DialogUnits, MapEachEdgeAndSizeWithTheFontsBaseUnits) {
  // The host's 8 pt dialog face has base units 6 x 13: a 50 x 14 button is 75 x 23 pixels.
  EXPECT_EQ(DialogRectToPixels(0, 0, 50, 14, {6, 13}), QRect(0, 0, 75, 23));
  EXPECT_EQ(DialogRectToPixels(7, 9, 40, 12, {6, 13}), QRect(11, 15, 60, 20));
  EXPECT_EQ(DialogRectToPixels(10, 16, 1, 1, {7, 16}), QRect(18, 32, 2, 2));
}

TEST(DialogFont, StandsInASansSerifFaceOfTheSameLetterWidthForTheHostsDialogFace) {
  testing::EnsureApplication();
  const QFont font = DialogFont(dialog::DialogFont{8, 0, 0, 0, "MS Sans Serif"}, 96.0);
  EXPECT_EQ(font.pixelSize(), 11);
  const QString family = QFontInfo(font).family();
  EXPECT_TRUE(family == "Liberation Sans" || family == "DejaVu Sans") << family.toStdString();
  const BaseUnits units = FontBaseUnits(font);
  EXPECT_GE(units.x, 6);
  EXPECT_LE(units.x, 7);
  EXPECT_GE(units.y, 12);
  EXPECT_LE(units.y, 13);
}

TEST(DialogFont, KeepsAnInstalledTypefaceAndItsStyle) {
  testing::EnsureApplication();
  const QFont font = DialogFont(dialog::DialogFont{10, 700, 1, 0, "DejaVu Sans"}, 96.0);
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(font.pixelSize(), 13);
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
}

}  // namespace
}  // namespace quorvane::host
