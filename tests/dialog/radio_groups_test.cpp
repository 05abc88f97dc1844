#include <gtest/gtest.h>

#include <vector>

#include "calculator/calculator_form.h"
#include "dialog/control_values.h"
#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

using RadioGroupTest = ScriptedHostTest;

Logical Checked(DialogForm& form, std::int32_t id) {
  Logical value = 5;
  EXPECT_EQ(GetControlLogical(form, id, value), kTrue) << id;
  return value;
}

std::vector<std::int32_t> Group(DialogForm& form, std::size_t recordNumber) {
  return form.controls[recordNumber - 1].integers;
}

TEST_F(RadioGroupTest, LoadsTheCalculatorFormWithTwoGroupsAndThreeUnnamedDuplicates) {
  resources.Add(kProgramModule, RT_DIALOG, 101,
                WriteDialogTemplate(quorvane::calculator::CalculatorFormTemplate()));
  ASSERT_EQ(LoadForm(form, 101), kTrue);
  ASSERT_EQ(form.controls.size(), 47u);
  const std::vector<std::int32_t> radios = {1021, 1022, 1023, 1024, 1025, 1026, 1027};
  std::vector<Logical> states;
  for (std::int32_t id : radios) states.push_back(Checked(form, id));
  EXPECT_EQ(states, (std::vector<Logical>{kTrue, kFalse, kFalse, kFalse, kTrue, kFalse, kFalse}));
  for (std::size_t number : {18u, 19u, 20u, 21u}) {
    EXPECT_EQ(Group(form, number), (std::vector<std::int32_t>{18, 21}));
  }
  for (std::size_t number : {23u, 24u, 25u}) {
    EXPECT_EQ(Group(form, number), (std::vector<std::int32_t>{23, 25}));
  }
  std::vector<std::size_t> duplicates;
  for (std::size_t k = 0; k < form.controls.size(); ++k) {
    if (IsTrue(form.controls[k].duplicate)) duplicates.push_back(k + 1);
  }
  EXPECT_EQ(duplicates, (std::vector<std::size_t>{7, 22, 47}));
  EXPECT_EQ(form.controls[31].controlClass, ControlClass::Spinner);
  EXPECT_EQ(form.controls[46].controlClass, ControlClass::StaticText);
}

TEST_F(RadioGroupTest, EndsAGroupAtTheLastAutomaticRadioBeforeTheNextGroupStart) {
  FormBuilder builder;
  builder.Radio(1, "a", WS_GROUP)
      .Button(2, "plain", BS_RADIOBUTTON)
      .Static(3, "inside")
      .Radio(4, "c")
      .Static(5, "closes", WS_GROUP)
      .Radio(6, "d");
  Load(builder);
  EXPECT_EQ(Group(form, 1), (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(Group(form, 2), (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(Group(form, 4), (std::vector<std::int32_t>{1, 4}));
  EXPECT_EQ(Group(form, 6), (std::vector<std::int32_t>{6, 6}));
  EXPECT_EQ(Checked(form, 1), kTrue);
  EXPECT_EQ(Checked(form, 2), kFalse);
  EXPECT_EQ(Checked(form, 4), kFalse);
  EXPECT_EQ(Checked(form, 6), kTrue);
}

TEST_F(RadioGroupTest, MakesEachPlainRadioButtonWithoutAutomaticFollowersItsOwnGroup) {
  Load(FormBuilder().Button(1, "a", BS_RADIOBUTTON).Button(2, "b", BS_RADIOBUTTON));
  EXPECT_EQ(Group(form, 1), (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(Group(form, 2), (std::vector<std::int32_t>{2, 2}));
  EXPECT_EQ(Checked(form, 1), kTrue);
  EXPECT_EQ(Checked(form, 2), kTrue);
}

TEST_F(RadioGroupTest, SettingAMemberFalseChecksTheFirstAndClearsTheRest) {
  Load(FormBuilder().Radio(1, "a", WS_GROUP).Radio(2, "b").Radio(3, "c").Radio(4, "d"));
  ASSERT_EQ(SetControlLogical(form, 3, kTrue), kTrue);
  EXPECT_EQ(Checked(form, 1), kFalse);
  EXPECT_EQ(Checked(form, 3), kTrue);
  ASSERT_EQ(SetControlLogical(form, 3, kFalse, ValueKind::State), kTrue);
  std::vector<Logical> states;
  for (std::int32_t id = 1; id <= 4; ++id) states.push_back(Checked(form, id));
  EXPECT_EQ(states, (std::vector<Logical>{kTrue, kFalse, kFalse, kFalse}));
}

TEST_F(RadioGroupTest, TestsOnlyBitZeroOfTheValue) {
  Load(FormBuilder().Radio(1, "a", WS_GROUP).Radio(2, "b"));
  ASSERT_EQ(SetControlLogical(form, 2, 2), kTrue);  // even: false
  EXPECT_EQ(Checked(form, 1), kTrue);
  ASSERT_EQ(SetControlLogical(form, 2, 1), kTrue);  // odd: true
  EXPECT_EQ(Checked(form, 2), kTrue);
  EXPECT_EQ(Checked(form, 1), kFalse);
}

}  // namespace
}  // namespace quorvane::dialog
