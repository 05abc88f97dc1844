#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

using K = ValueKind;
using Lines = std::vector<std::string>;
constexpr std::int32_t kExit = 8;

class WindowRecordsTest : public ScriptedHostTest {
 protected:
  void SetUp() override {
    ScriptedHostTest::SetUp();
    Load(FormBuilder()
             .Button(4, "Check", BS_AUTOCHECKBOX)
             .Atom(7, kScrollBarAtom, {}, kChildStyle)
             .Named(12, kTrackBarClass, kChildStyle)
             .Named(13, kProgressClass, kChildStyle)
             .Atom(18, kListBoxAtom, {}, kChildStyle)
             .Atom(9, kComboBoxAtom, {}, kChildStyle | 0x2)
             .Atom(10, kComboBoxAtom, {}, kChildStyle | CBS_DROPDOWNLIST)
             .Named(14, kTabControlClass, kChildStyle)
             .Button(kExit, "Exit", BS_PUSHBUTTON));
  }
};

TEST_F(WindowRecordsTest, WritesEveryClassWhenTheWindowIsCreated) {
  SetControlText(form, 18, "a", K::AddItem);
  SetControlText(form, 18, "b", K::AddItem);
  SetControlInteger(form, 18, 2, static_cast<K>(1));
  SetControlText(form, 9, "typed");
  SetControlText(form, 10, "x", K::AddItem);
  SetControlText(form, 10, "y", K::AddItem);
  SetControlText(form, 10, "y");
  host.Click(kExit);
  ASSERT_EQ(RunFormModal(form), kExit);
  const Lines& calls = host.Calls();
  const auto exitWrite = std::find(calls.begin(), calls.end(), "SetText 8 \"Exit\"");
  ASSERT_NE(exitWrite, calls.end());
  EXPECT_EQ(Lines(calls.begin() + 1, exitWrite), (Lines{"SetText 4 \"Check\"",
                                                        "Enable 4 1",
                                                        "SetCheck 4 1",
                                                        "SetScrollInfo 7 1 100 10 0",
                                                        "EnableScrollBar 7 1",
                                                        "Enable 12 1",
                                                        "SetSliderRange 12 0 100",
                                                        "SetSliderPosition 12 0",
                                                        "SetSliderLineSize 12 1",
                                                        "SetSliderPageSize 12 10",
                                                        "SetSliderTickFrequency 12 1",
                                                        "Enable 13 1",
                                                        "SetProgressRange 13 0 100",
                                                        "SetProgressPosition 13 0",
                                                        "Enable 18 1",
                                                        "ClearItems 18",
                                                        "AddItem 18 \"a\"",
                                                        "AddItem 18 \"b\"",
                                                        "SetCurrentItem 18 1",
                                                        "Enable 9 1",
                                                        "ClearItems 9",
                                                        "SetText 9 \"typed\"",
                                                        "Enable 10 1",
                                                        "ClearItems 10",
                                                        "AddItem 10 \"x\"",
                                                        "AddItem 10 \"y\"",
                                                        "SetCurrentItem 10 1",
                                                        "Enable 14 1",
                                                        "ClearItems 14",
                                                        "SetCurrentItem 14 -1"}));
  std::int32_t selected = 0;
  ASSERT_EQ(GetControlInteger(form, 10, selected, K::State), kTrue);
  EXPECT_EQ(selected, 2);
}

TEST_F(WindowRecordsTest, ReadsEveryClassBackWhenTheRunEnds) {
  SetControlText(form, 18, "a", K::AddItem);
  SetControlText(form, 18, "b", K::AddItem);
  SetControlText(form, 10, "x", K::AddItem);
  SetControlText(form, 10, "y", K::AddItem);
  host.Then([&] {
    // What the user changed through the controls themselves.
    WindowHandle window = form.window;
    host.SetScrollInfo(host.DialogItem(window, 7), ScrollInfo{-5, 50, 7, 20});
    host.SetSliderPosition(host.DialogItem(window, 12), 33);
    host.SetCheck(host.DialogItem(window, 4), 0);
    host.SetText(host.DialogItem(window, 9), "edited");
  });
  host.SelectItem(18, 1);
  host.SelectItem(10, 1);
  host.Click(kExit);
  ASSERT_EQ(RunFormModal(form), kExit);
  struct Case {
    const char* name;
    std::int32_t id;
    K kind;
    std::int32_t expected;
  };
  const std::vector<Case> cases = {
      {"scroll bar minimum", 7, K::RangeMin, -5},   {"scroll bar maximum", 7, K::RangeMax, 50},
      {"scroll bar page", 7, K::BigStep, 7},        {"scroll bar position", 7, K::Position, 20},
      {"slider position", 12, K::Position, 33},     {"slider page", 12, K::BigStep, 10},
      {"list selection", 18, static_cast<K>(1), 2}, {"list items", 18, K::ItemCount, 2},
  };
  for (const Case& c : cases) {
    std::int32_t value = 12345;
    ASSERT_EQ(GetControlInteger(form, c.id, value, c.kind), kTrue) << c.name;
    EXPECT_EQ(value, c.expected) << c.name;
  }
  Logical checked = kTrue;
  ASSERT_EQ(GetControlLogical(form, 4, checked), kTrue);
  EXPECT_EQ(checked, kFalse);
  std::string text(6, ' ');
  ASSERT_EQ(GetControlText(form, 9, text), kTrue);
  EXPECT_EQ(text, "edited");
  std::string choice(2, '#');
  ASSERT_EQ(GetControlText(form, 10, choice), kTrue);
  EXPECT_EQ(choice, "y ");
}

TEST_F(WindowRecordsTest, ReadsAControlBackBeforeItsFirstSetOnAShownForm) {
  host.Then([&] {
    host.SetSliderPosition(host.DialogItem(form.window, 12), 40);
    host.ClearCalls();
    ASSERT_EQ(SetControlInteger(form, 12, 5, K::SmallStep), kTrue);
    EXPECT_EQ(host.Calls(),
              (Lines{"IsEnabled 12", "SliderPosition 12", "SliderRangeMax 12", "SliderRangeMin 12",
                     "SliderLineSize 12", "SliderPageSize 12", "Enable 12 1",
                     "SetSliderRange 12 0 100", "SetSliderPosition 12 40", "SetSliderLineSize 12 5",
                     "SetSliderPageSize 12 10", "SetSliderTickFrequency 12 1"}));
  });
  host.Click(kExit);
  ASSERT_EQ(RunFormModal(form), kExit);
}

TEST_F(WindowRecordsTest, GivesTheSignedLowWordsOfTheSpinnerReplies) {
  ReleaseForm(form);
  Load(FormBuilder().Edit(1038).Spinner(1039).Button(kExit, "Exit", BS_PUSHBUTTON));
  SetControlInteger(form, 1039, -20, K::RangeMin);
  SetControlInteger(form, 1039, -3, K::RangeMax);
  SetControlInteger(form, 1039, -7);
  host.Then([&] {
    std::int32_t value = 0;
    ASSERT_EQ(GetControlInteger(form, 1039, value), kTrue);
    EXPECT_EQ(value, -7);
    ASSERT_EQ(GetControlInteger(form, 1039, value, K::RangeMin), kTrue);
    EXPECT_EQ(value, -20);
    ASSERT_EQ(GetControlInteger(form, 1039, value, K::RangeMax), kTrue);
    EXPECT_EQ(value, -3);
  });
  host.Click(kExit);
  ASSERT_EQ(RunFormModal(form), kExit);
}

}  // namespace
}  // namespace quorvane::dialog
