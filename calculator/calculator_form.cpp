#include "calculator/calculator_form.h"

#include <cstdint>
#include <string>

#include "calculator/control_ids.h"
#include "dialog/window_styles.h"

namespace quorvane::calculator {
namespace {

using namespace quorvane::dialog;

// Controls the program never addresses.
constexpr std::int32_t kUnnamed = -1;

constexpr std::uint32_t kFrameStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT;
constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kLabelStyle = kChild | SS_LEFT | WS_GROUP;
constexpr std::uint32_t kFieldStyle = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kNoteStyle = kChild | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | WS_GROUP;
constexpr std::uint32_t kSpinStyle =
    kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

// The credit line at the foot of the form.
constexpr const char* kCreditText = "Quorvane - equation-of-state calculator";

struct Rect {
  std::int16_t x, y, cx, cy;
};

NameOrOrdinal Atom(std::uint16_t atom) {
  return NameOrOrdinal{atom, {}};
}
NameOrOrdinal Caption(std::string text) {
  return NameOrOrdinal{std::nullopt, std::move(text)};
}

DialogItemTemplate Item(std::int32_t id, NameOrOrdinal windowClass, NameOrOrdinal title, Rect r,
                        std::uint32_t style, std::uint32_t exStyle = 0) {
  DialogItemTemplate item;
  item.id = id;
  item.windowClass = std::move(windowClass);
  item.title = std::move(title);
  item.x = r.x;
  item.y = r.y;
  item.cx = r.cx;
  item.cy = r.cy;
  item.style = style;
  item.exStyle = exStyle;
  return item;
}

DialogItemTemplate Label(std::int32_t id, std::string text, Rect r) {
  return Item(id, Atom(kStaticAtom), Caption(std::move(text)), r, kLabelStyle);
}

DialogItemTemplate Field(std::int32_t id, Rect r, std::uint32_t extraStyle = 0) {
  return Item(id, Atom(kEditAtom), Caption(""), r, kFieldStyle | extraStyle);
}

DialogItemTemplate GroupBox(std::int32_t id, std::string text, Rect r) {
  return Item(id, Atom(kButtonAtom), Caption(std::move(text)), r, kChild | BS_GROUPBOX);
}

DialogItemTemplate Radio(std::int32_t id, std::string text, Rect r, std::uint32_t extraStyle = 0) {
  return Item(id, Atom(kButtonAtom), Caption(std::move(text)), r,
              kChild | BS_AUTORADIOBUTTON | extraStyle);
}

}  // namespace

DialogTemplate CalculatorFormTemplate() {
  DialogTemplate form;
  form.extended = true;
  form.style = kFrameStyle;
  form.x = 0;
  form.y = 0;
  form.cx = 272;
  form.cy = 255;
  form.title = "Quorvane v6.0";
  form.font = DialogFont{
      .pointSize = 8, .weight = 0, .italic = 0, .charset = 1, .typeface = "MS Sans Serif"};
  form.items = {
      Item(kExitButton, Atom(kButtonAtom), Caption("Exit"), {205, 230, 50, 14},
           kChild | BS_PUSHBUTTON | WS_TABSTOP),
      Label(1003, "Pressure", {37, 105, 28, 8}),
      Field(kPressureField, {70, 102, 40, 14}),
      GroupBox(1005, "Pressure-Volume-Temperature", {5, 85, 127, 120}),
      Label(1004, "Volume", {41, 135, 24, 8}),
      Field(kVolumeField, {70, 132, 40, 14}),
      Label(kUnnamed, "V/V(0,0)", {37, 170, 28, 8}),
      Field(kVolumeRatioField, {70, 167, 40, 14}),
      GroupBox(1006, "EoS Parameters", {165, 5, 100, 175}),
      Label(1007, "Vo", {187, 24, 10, 8}),
      Field(kV0Field, {215, 21, 40, 14}),
      Label(1009, "Ko", {187, 38, 10, 8}),
      Field(kK0Field, {215, 35, 40, 14}),
      Label(1011, "K'o", {187, 52, 11, 8}),
      Field(kKp0Field, {215, 49, 40, 14}),
      Label(1016, "Precision", {189, 199, 34, 8}),
      GroupBox(1017, "Display Control", {178, 185, 87, 30}),
      Radio(kMurnaghanRadio, "Murnaghan", {15, 18, 52, 10}),
      Radio(kBirchMurnaghanRadio, "Birch-Murnaghan", {15, 33, 70, 10}),
      Radio(kVinetRadio, "Vinet", {15, 48, 32, 10}),
      Radio(kNaturalStrainRadio, "Natural strain", {15, 63, 57, 10}),
      GroupBox(kUnnamed, "Eos Type", {5, 5, 87, 76}),
      Radio(kOrder2Radio, "2nd", {107, 26, 28, 10}, WS_GROUP),
      Radio(kOrder3Radio, "3rd", {107, 40, 26, 10}),
      Radio(kOrder4Radio, "4th", {107, 54, 26, 10}),
      GroupBox(1028, "Eos Order", {100, 5, 46, 76}),
      Item(kCreditLine, Atom(kStaticAtom), Caption(kCreditText), {50, 230, 141, 13}, kNoteStyle,
           WS_EX_TRANSPARENT),
      Label(1030, "K''o", {187, 66, 12, 8}),
      Field(kKpp0Field, {215, 63, 40, 14}),
      Item(kImpliedNote, Atom(kStaticAtom), Caption("Implied values in gray"), {178, 84, 77, 12},
           kNoteStyle),
      Field(kPrecisionField, {223, 196, 27, 14}, ES_NUMBER),
      Item(kPrecisionSpin, Caption(kUpDownClass), Caption("Spin3"), {240, 196, 11, 14}, kSpinStyle),
      Label(1041, "V/V(T,0)", {37, 185, 28, 8}),
      Field(kThermalVolumeRatioField, {70, 182, 40, 14}),
      Label(1013, "alpha0 x 10^5", {170, 108, 46, 8}),
      Field(kAlpha0Field, {220, 105, 35, 14}),
      Label(1015, "alpha1 x10^8", {172, 123, 44, 8}),
      Field(kAlpha1Field, {220, 120, 35, 14}),
      Label(1019, "T(ref)", {198, 163, 18, 8}),
      Field(kTrefField, {220, 160, 35, 14}),
      Label(1051, "V(T,0)", {45, 155, 20, 8}),
      Field(kZeroPressureVolumeField, {70, 152, 40, 14}),
      Label(1034, "dK/dT", {194, 143, 22, 8}),
      Field(kDKdTField, {220, 140, 35, 14}),
      Label(1036, "Temperature", {24, 120, 41, 8}),
      Field(kTemperatureField, {70, 117, 40, 14}),
      Item(kUnnamed, Atom(kStaticAtom),
           NameOrOrdinal{static_cast<std::uint16_t>(kProgramIconId), {}}, {12, 225, 21, 20},
           kChild | SS_ICON),
  };
  return form;
}

}  // namespace quorvane::calculator
