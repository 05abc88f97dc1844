#include "calculator/calculator_form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"

namespace quorvane::calculator {
namespace {

// One row per control in template order: what the form must declare.
struct ExpectedItem {
  std::int32_t id;
  std::uint16_t classAtom;  // 0 for a named class
  const char* caption;
  std::int16_t x, y, cx, cy;
  std::uint32_t style;
  std::uint32_t exStyle;
};

constexpr std::uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kNamed = 0;
constexpr std::uint32_t kLabel = 0x50020000, kField = 0x50810080, kBox = 0x50000007,
                        kRadio = 0x50000009;

const std::vector<ExpectedItem> kExpectedItems = {
    {8, kButton, "Exit", 205, 230, 50, 14, 0x50010000, 0},
    {1003, kStatic, "Pressure", 37, 105, 28, 8, kLabel, 0},
    {1000, kEdit, "", 70, 102, 40, 14, kField, 0},
    {1005, kButton, "Pressure-Volume-Temperature", 5, 85, 127, 120, kBox, 0},
    {1004, kStatic, "Volume", 41, 135, 24, 8, kLabel, 0},
    {1001, kEdit, "", 70, 132, 40, 14, kField, 0},
    {-1, kStatic, "V/V(0,0)", 37, 170, 28, 8, kLabel, 0},
    {1002, kEdit, "", 70, 167, 40, 14, kField, 0},
    {1006, kButton, "EoS Parameters", 165, 5, 100, 175, kBox, 0},
    {1007, kStatic, "Vo", 187, 24, 10, 8, kLabel, 0},
    {1008, kEdit, "", 215, 21, 40, 14, kField, 0},
    {1009, kStatic, "Ko", 187, 38, 10, 8, kLabel, 0},
    {1010, kEdit, "", 215, 35, 40, 14, kField, 0},
    {1011, kStatic, "K'o", 187, 52, 11, 8, kLabel, 0},
    {1012, kEdit, "", 215, 49, 40, 14, kField, 0},
    {1016, kStatic, "Precision", 189, 199, 34, 8, kLabel, 0},
    {1017, kButton, "Display Control", 178, 185, 87, 30, kBox, 0},
    {1021, kButton, "Murnaghan", 15, 18, 52, 10, kRadio, 0},
    {1022, kButton, "Birch-Murnaghan", 15, 33, 70, 10, kRadio, 0},
    {1023, kButton, "Vinet", 15, 48, 32, 10, kRadio, 0},
    {1024, kButton, "Natural strain", 15, 63, 57, 10, kRadio, 0},
    {-1, kButton, "Eos Type", 5, 5, 87, 76, kBox, 0},
    {1025, kButton, "2nd", 107, 26, 28, 10, 0x50020009, 0},
    {1026, kButton, "3rd", 107, 40, 26, 10, kRadio, 0},
    {1027, kButton, "4th", 107, 54, 26, 10, kRadio, 0},
    {1028, kButton, "Eos Order", 100, 5, 46, 76, kBox, 0},
    {1029, kStatic, nullptr, 50, 230, 141, 13, 0x50021201, 0x20},
    {1030, kStatic, "K''o", 187, 66, 12, 8, kLabel, 0},
    {1031, kEdit, "", 215, 63, 40, 14, kField, 0},
    {1033, kStatic, "Implied values in gray", 178, 84, 77, 12, 0x50021201, 0},
    {1038, kEdit, "", 223, 196, 27, 14, 0x50812080, 0},
    {1039, kNamed, "Spin3", 240, 196, 11, 14, 0x50000036, 0},
    {1041, kStatic, "V/V(T,0)", 37, 185, 28, 8, kLabel, 0},
    {1043, kEdit, "", 70, 182, 40, 14, kField, 0},
    {1013, kStatic, "alpha0 x 10^5", 170, 108, 46, 8, kLabel, 0},
    {1014, kEdit, "", 220, 105, 35, 14, kField, 0},
    {1015, kStatic, "alpha1 x10^8", 172, 123, 44, 8, kLabel, 0},
    {1018, kEdit, "", 220, 120, 35, 14, kField, 0},
    {1019, kStatic, "T(ref)", 198, 163, 18, 8, kLabel, 0},
    {1020, kEdit, "", 220, 160, 35, 14, kField, 0},
    {1051, kStatic, "V(T,0)", 45, 155, 20, 8, kLabel, 0},
    {1032, kEdit, "", 70, 152, 40, 14, kField, 0},
    {1034, kStatic, "dK/dT", 194, 143, 22, 8, kLabel, 0},
    {1035, kEdit, "", 220, 140, 35, 14, kField, 0},
    {1036, kStatic, "Temperature", 24, 120, 41, 8, kLabel, 0},
    {1037, kEdit, "", 70, 117, 40, 14, kField, 0},
    {-1, kStatic, nullptr, 12, 225, 21, 20, 0x50000003, 0},
};

TEST(CalculatorFormTemplate, FrameIsAnExtendedModalDialogWithTheProgramTitleAndFont) {
  const dialog::DialogTemplate form = CalculatorFormTemplate();
  EXPECT_TRUE(form.extended);
  EXPECT_EQ(form.title, "Quorvane v6.0");
  EXPECT_EQ(form.style, 0x80CA00C4u);
  EXPECT_EQ(form.exStyle, 0u);
  EXPECT_EQ(form.x, 0);
  EXPECT_EQ(form.y, 0);
  EXPECT_EQ(form.cx, 272);
  EXPECT_EQ(form.cy, 255);
  EXPECT_EQ(form.menu, dialog::NameOrOrdinal{});
  EXPECT_EQ(form.windowClass, dialog::NameOrOrdinal{});
  ASSERT_TRUE(form.font.has_value());
  EXPECT_EQ(form.font->pointSize, 8);
  EXPECT_EQ(form.font->typeface, "MS Sans Serif");
}

TEST(CalculatorFormTemplate, DeclaresEveryControlInTemplateOrder) {
  const dialog::DialogTemplate form = CalculatorFormTemplate();
  ASSERT_EQ(form.items.size(), 47u);
  for (std::size_t i = 0; i < kExpectedItems.size(); ++i) {
    const ExpectedItem& want = kExpectedItems[i];
    const dialog::DialogItemTemplate& item = form.items[i];
    SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(want.id));
    EXPECT_EQ(item.id, want.id);
    if (want.classAtom == kNamed) {
      EXPECT_EQ(item.windowClass.name, "msctls_updown32");
      EXPECT_FALSE(item.windowClass.IsOrdinal());
    } else {
      EXPECT_EQ(item.windowClass.ordinal, want.classAtom);
    }
    if (want.caption != nullptr) {
      EXPECT_FALSE(item.title.IsOrdinal());
      EXPECT_EQ(item.title.name, want.caption);
    }
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
    EXPECT_EQ(item.style, want.style) << std::hex << item.style;
    EXPECT_EQ(item.exStyle, want.exStyle);
    EXPECT_EQ(item.helpId, 0u);
    EXPECT_TRUE(item.creationData.empty());
  }
}

TEST(CalculatorFormTemplate, CreditLineNamesTheProgramOnOneShortLine) {
  const dialog::DialogItemTemplate credit = CalculatorFormTemplate().items[26];
  ASSERT_EQ(credit.id, 1029);
  EXPECT_NE(credit.title.name.find("Quorvane"), std::string::npos);
  EXPECT_EQ(credit.title.name.find('\n'), std::string::npos);
  // 141 dialog units hold about 35 characters of the 8 pt font.
  EXPECT_LE(credit.title.name.size(), 40u);
}

TEST(CalculatorFormTemplate, IconControlShowsResource107) {
  const dialog::DialogItemTemplate icon = CalculatorFormTemplate().items[46];
  ASSERT_TRUE(icon.title.IsOrdinal());
  EXPECT_EQ(*icon.title.ordinal, 107);
}

TEST(CalculatorFormTemplate, SurvivesTheTemplateBytesUnchanged) {
  const dialog::DialogTemplate form = CalculatorFormTemplate();
  const auto bytes = dialog::WriteDialogTemplate(form);
  // The extended layout starts with version 1 and the 0xFFFF signature.
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xFF);
  const auto read = dialog::ReadDialogTemplate(bytes);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, form);
}

}  // namespace
}  // namespace quorvane::calculator
