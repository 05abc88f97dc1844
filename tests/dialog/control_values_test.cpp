#include "dialog/control_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

using K = ValueKind;

// One control of every class; the id is the class number.
FormBuilder EveryClass() {
  FormBuilder builder;
  builder.Static(1, "label")
      .Button(2, "box", BS_GROUPBOX)
      .Button(3, "Go", BS_PUSHBUTTON)
      .Button(4, "Check", BS_AUTOCHECKBOX)
      .Radio(5, "Radio", WS_GROUP)
      .Edit(6)
      .Atom(7, kScrollBarAtom, {}, kChildStyle)
      .Atom(8, kListBoxAtom, {}, kChildStyle)
      .Atom(9, kComboBoxAtom, {}, kChildStyle | 0x2)
      .Atom(10, kComboBoxAtom, {}, kChildStyle | CBS_DROPDOWNLIST)
      .Named(11, kUpDownClass, kChildStyle)
      .Named(12, kTrackBarClass, kChildStyle)
      .Named(13, kProgressClass, kChildStyle)
      .Named(14, kTabControlClass, kChildStyle)
      .Named(15, "{11111111-2222-3333-4444-555555555555}", kChildStyle);
  return builder;
}

class ControlValuesTest : public ScriptedHostTest {
 protected:
  void SetUp() override {
    ScriptedHostTest::SetUp();
    Load(EveryClass());
  }
  ControlRecord& Record(std::int32_t id) { return form.controls[static_cast<std::size_t>(id) - 1]; }
  std::string Text(std::int32_t id, std::size_t size = 8, K kind = K::Default) {
    std::string buffer(size, '#');
    EXPECT_EQ(GetControlText(form, id, buffer, kind), kTrue);
    return buffer;
  }
};

struct IntegerCase {
  const char* name;
  std::int32_t id;
  K kind;
  std::size_t slot;  // the integer (from 0) that holds the value
};

TEST_F(ControlValuesTest, StoresAndGivesIntegersWhereTheClassKeepsThem) {
  const std::vector<IntegerCase> cases = {
      {"edit caret", 6, K::Position, 1},
      {"spinner position", 11, K::Default, 0},
      {"spinner position by name", 11, K::Position, 0},
      {"spinner upper end", 11, K::RangeMax, 1},
      {"spinner lower end", 11, K::RangeMin, 4},
      {"slider position", 12, K::Position, 0},
      {"slider upper end", 12, K::RangeMax, 1},
      {"slider small step", 12, K::SmallStep, 2},
      {"slider big step", 12, K::BigStep, 3},
      {"slider lower end", 12, K::RangeMin, 4},
      {"slider ticks", 12, K::TickFrequency, 5},
      {"scroll bar position", 7, K::Default, 0},
      {"scroll bar upper end", 7, K::RangeMax, 1},
      {"scroll bar small step", 7, K::SmallStep, 2},
      {"scroll bar big step", 7, K::BigStep, 3},
      {"scroll bar lower end", 7, K::RangeMin, 4},
      {"progress position", 13, K::Default, 0},
      {"progress upper end", 13, K::RangeMax, 1},
      {"progress lower end", 13, K::RangeMin, 2},
      {"drop-down selection", 10, K::State, 1},
      {"current tab", 14, K::State, 1},
  };
  for (const IntegerCase& c : cases) {
    ASSERT_EQ(SetControlInteger(form, c.id, -321, c.kind), kTrue) << c.name;
    EXPECT_EQ(Record(c.id).integers[c.slot], -321) << c.name;
    std::int32_t value = 0;
    EXPECT_EQ(GetControlInteger(form, c.id, value, c.kind), kTrue) << c.name;
    EXPECT_EQ(value, -321) << c.name;
  }
}

struct RefusalCase {
  const char* name;
  std::int32_t id;
  K kind;
};

TEST_F(ControlValuesTest, RefusesIntegersAClassDoesNotKeepYetMarksTheRecord) {
  const std::vector<RefusalCase> cases = {
      {"static text", 1, K::Default},
      {"group box", 2, K::Default},
      {"push button", 3, K::Default},
      {"check box", 4, K::State},
      {"radio button", 5, K::Default},
      {"edit upper end", 6, K::RangeMax},
      {"spinner small step", 11, K::SmallStep},
      {"progress big step", 13, K::BigStep},
      {"scroll bar ticks", 7, K::TickFrequency},
      {"ActiveX", 15, K::Default},
      {"combo selection", 9, K::State},
  };
  for (const RefusalCase& c : cases) {
    form.formChanged = kFalse;
    Record(c.id).changed = kFalse;
    const auto before = Record(c.id).integers;
    EXPECT_EQ(SetControlInteger(form, c.id, 9, c.kind), kFalse) << c.name;
    EXPECT_EQ(Record(c.id).integers, before) << c.name;
    EXPECT_EQ(Record(c.id).changed, kTrue) << c.name;
    EXPECT_EQ(form.formChanged, kTrue) << c.name;
  }
  std::int32_t value = 77;
  EXPECT_EQ(GetControlInteger(form, 1, value), kFalse);
  EXPECT_EQ(GetControlInteger(form, 11, value, K::SmallStep), kFalse);
  EXPECT_EQ(GetControlInteger(form, 99, value), kFalse);
  EXPECT_EQ(SetControlInteger(form, 99, 1), kFalse);
  EXPECT_EQ(value, 77);
}

TEST_F(ControlValuesTest, GivesTheObjectHandleOfAnActiveXControl) {
  std::int32_t value = 5;
  EXPECT_EQ(GetControlInteger(form, 15, value, K::ObjectHandle), kTrue);
  EXPECT_EQ(value, 0);
}

TEST_F(ControlValuesTest, KeepsASpinnerPositionOutsideItsRange) {
  ASSERT_EQ(SetControlInteger(form, 11, 2, K::RangeMin), kTrue);
  ASSERT_EQ(SetControlInteger(form, 11, 8, K::RangeMax), kTrue);
  ASSERT_EQ(SetControlInteger(form, 11, 9, K::Position), kTrue);
  std::int32_t value = 0;
  ASSERT_EQ(GetControlInteger(form, 11, value), kTrue);
  EXPECT_EQ(value, 9);
}

TEST_F(ControlValuesTest, CutsOrPadsEditTextToASetLength) {
  ASSERT_EQ(SetControlText(form, 6, "12.5"), kTrue);
  ASSERT_EQ(SetControlInteger(form, 6, 4, K::Position), kTrue);
  ASSERT_EQ(SetControlInteger(form, 6, 2, K::TextLength), kTrue);
  EXPECT_EQ(Text(6), "12      ");
  std::int32_t caret = 0;
  ASSERT_EQ(GetControlInteger(form, 6, caret, K::Position), kTrue);
  EXPECT_EQ(caret, 2);
  ASSERT_EQ(SetControlInteger(form, 6, 6), kTrue);
  EXPECT_EQ(Record(6).text, "12    ");
  std::int32_t length = 0;
  ASSERT_EQ(GetControlInteger(form, 6, length), kTrue);
  EXPECT_EQ(length, 6);
  EXPECT_EQ(SetControlInteger(form, 6, -1), kFalse);
  EXPECT_EQ(SetControlInteger(form, 6, 1 << 30), kFalse);
  EXPECT_EQ(Record(6).text, "12    ");
}

TEST_F(ControlValuesTest, StoresEditTextWithoutTrailingBlanks) {
  struct Case {
    const char* name;
    std::string text;
    std::string stored;
  };
  const std::vector<Case> cases = {
      {"three characters", "0.0", "0.0"},
      {"blank padded", "12.5" + std::string(252, ' '), "12.5"},
      {"only blanks", std::string(10, ' '), ""},
      {"leading blanks stay", "  7 ", "  7"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SetControlText(form, 6, c.text), kTrue) << c.name;
    EXPECT_EQ(Record(6).text, c.stored) << c.name;
    std::int32_t length = -5;
    ASSERT_EQ(GetControlInteger(form, 6, length, K::TextLength), kTrue);
    EXPECT_EQ(length, static_cast<std::int32_t>(c.stored.size())) << c.name;
  }
}

TEST_F(ControlValuesTest, MovesTheCaretToTheEndOfAShorterText) {
  ASSERT_EQ(SetControlText(form, 6, "123456"), kTrue);
  ASSERT_EQ(SetControlInteger(form, 6, 6, K::Position), kTrue);
  ASSERT_EQ(SetControlText(form, 6, "12"), kTrue);
  EXPECT_EQ(Record(6).integers[1], 2);
  ASSERT_EQ(SetControlText(form, 6, "12345678"), kTrue);
  EXPECT_EQ(Record(6).integers[1], 2);
}

TEST_F(ControlValuesTest, FillsTheWholeBufferWithTextThenBlanks) {
  ASSERT_EQ(SetControlText(form, 6, "12.5"), kTrue);
  std::string buffer(256, '#');
  ASSERT_EQ(GetControlText(form, 6, buffer), kTrue);
  EXPECT_EQ(buffer, "12.5" + std::string(252, ' '));
  EXPECT_EQ(Text(6, 2), "12");
  std::string untouched(4, '#');
  EXPECT_EQ(GetControlText(form, 11, untouched), kFalse);
  EXPECT_EQ(GetControlText(form, 6, untouched, K::Title), kFalse);
  EXPECT_EQ(untouched, "####");
}

TEST_F(ControlValuesTest, SetsCaptionsOnlyAsDefaultOrTitle) {
  for (std::int32_t id : {1, 2, 3, 4, 5}) {
    ASSERT_EQ(SetControlText(form, id, "New  ", K::Title), kTrue) << id;
    EXPECT_EQ(Text(id), "New     ") << id;
    EXPECT_EQ(SetControlText(form, id, "x", K::State), kFalse) << id;
  }
  for (std::int32_t id : {7, 11, 12, 13, 15}) {
    EXPECT_EQ(SetControlText(form, id, "x"), kFalse) << id;
  }
}

TEST_F(ControlValuesTest, KeepsLogicalsPerClass) {
  struct Case {
    const char* name;
    std::int32_t id;
    K kind;
    Logical expected;  // result of the set
    std::size_t slot;
  };
  const std::vector<Case> cases = {
      {"check box state", 4, K::Default, kTrue, 1},
      {"check box by State", 4, K::State, kTrue, 1},
      {"check box enabled", 4, K::Enabled, kTrue, 0},
      {"radio enabled", 5, K::Enabled, kTrue, 0},
      {"edit enabled", 6, K::Enabled, kTrue, 0},
      {"static enabled by default", 1, K::Default, kTrue, 0},
      {"spinner enabled", 11, K::Enabled, kTrue, 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SetControlLogical(form, c.id, 6, c.kind), c.expected) << c.name;
    EXPECT_EQ(Record(c.id).logicals[c.slot], 6) << c.name;  // stored as given
    Logical value = 0;
    ASSERT_EQ(GetControlLogical(form, c.id, value, c.kind), kTrue) << c.name;
    EXPECT_EQ(value, 6) << c.name;
  }
}

TEST_F(ControlValuesTest, RefusesAStateOnAStaticText) {
  Record(1).changed = kFalse;
  EXPECT_EQ(SetControlLogical(form, 1, kTrue, K::State), kFalse);
  EXPECT_EQ(Record(1).logicals, (std::vector<Logical>{kTrue}));
  EXPECT_EQ(Record(1).changed, kTrue);
  Logical value = 3;
  EXPECT_EQ(GetControlLogical(form, 1, value, K::State), kFalse);
  EXPECT_EQ(GetControlLogical(form, 6, value, K::Position), kFalse);
  EXPECT_EQ(value, 3);
}

TEST_F(ControlValuesTest, ManagesListItems) {
  EXPECT_EQ(SetControlText(form, 8, "alpha", K::AddItem), kTrue);
  EXPECT_EQ(SetControlText(form, 8, "beta  ", K::AddItem), kTrue);
  std::int32_t count = 0;
  ASSERT_EQ(GetControlInteger(form, 8, count, K::ItemCount), kTrue);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Text(8, 6, static_cast<K>(2)), "beta  ");
  EXPECT_EQ(SetControlText(form, 8, "gamma", static_cast<K>(1)), kTrue);
  EXPECT_EQ(SetControlText(form, 8, "nope", static_cast<K>(3)), kFalse);
  EXPECT_EQ(SetControlText(form, 8, "nope"), kFalse);
  ASSERT_EQ(SetControlInteger(form, 8, 1, static_cast<K>(1)), kTrue);
  EXPECT_EQ(Text(8, 6), "gamma ");
  std::int32_t selected = -1;
  ASSERT_EQ(GetControlInteger(form, 8, selected, static_cast<K>(5)), kTrue);
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(SetControlInteger(form, 8, -1, K::ItemCount), kFalse);
}

TEST_F(ControlValuesTest, BlanksAComboTextWhenItsListShrinks) {
  ASSERT_EQ(SetControlInteger(form, 9, 3), kTrue);
  ASSERT_EQ(SetControlText(form, 9, "typed"), kTrue);
  ASSERT_EQ(SetControlText(form, 9, "second", static_cast<K>(2)), kTrue);
  EXPECT_EQ(Text(9, 6, static_cast<K>(2)), "second");
  ASSERT_EQ(SetControlInteger(form, 9, 4), kTrue);
  EXPECT_EQ(Text(9, 5), "typed");
  ASSERT_EQ(SetControlInteger(form, 9, 1), kTrue);
  EXPECT_EQ(Text(9, 5), "     ");
}

TEST_F(ControlValuesTest, KeepsTabValuesAndTexts) {
  ASSERT_EQ(SetControlInteger(form, 14, 2, K::ItemCount), kTrue);
  ASSERT_EQ(SetControlInteger(form, 14, 42, static_cast<K>(2)), kTrue);
  std::int32_t value = 0;
  ASSERT_EQ(GetControlInteger(form, 14, value, static_cast<K>(2)), kTrue);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(GetControlInteger(form, 14, value, static_cast<K>(3)), kFalse);
  ASSERT_EQ(SetControlText(form, 14, "First", static_cast<K>(1)), kTrue);
  EXPECT_EQ(SetControlText(form, 14, "x", K::AddItem), kFalse);
  EXPECT_EQ(Text(14, 5, static_cast<K>(1)), "First");
}

void RecordingHandler(DialogForm& form, std::int32_t, EventKind) {
  form.result = 4242;
}

TEST_F(ControlValuesTest, RegistersHandlersInTheSlotOfTheirEvent) {
  struct Case {
    const char* name;
    std::int32_t id;
    EventKind kind;
    Logical expected;
    std::size_t slot;
  };
  const std::vector<Case> cases = {
      {"edit default", 6, EventKind::Default, kTrue, 0},
      {"edit update", 6, EventKind::Update, kTrue, 1},
      {"edit lost focus", 6, EventKind::LostFocus, kTrue, 3},
      {"push button replaces its default", 3, EventKind::Clicked, kTrue, 0},
      {"combo changed", 9, EventKind::Changed, kTrue, 3},
      {"tab changing", 14, EventKind::SelectionChanging, kTrue, 1},
      {"spinner changed", 11, EventKind::Changed, kTrue, 0},
      {"edit clicked", 6, EventKind::Clicked, kFalse, 0},
      {"static text", 1, EventKind::Default, kFalse, 0},
      {"progress bar", 13, EventKind::Default, kFalse, 0},
      {"ActiveX", 15, EventKind::Default, kFalse, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetControlHandler(form, c.id, RecordingHandler, c.kind), c.expected) << c.name;
    if (c.expected == kTrue) {
      EXPECT_EQ(Record(c.id).handlers[c.slot], &RecordingHandler) << c.name;
    }
  }
  EXPECT_EQ(Record(6).changed, kTrue);
}

TEST_F(ControlValuesTest, RegistersFormHandlersUnderTheTemplateId) {
  EXPECT_EQ(SetControlHandler(form, kFormId, RecordingHandler), kTrue);
  EXPECT_EQ(form.initHandler, &RecordingHandler);
  EXPECT_EQ(SetControlHandler(form, kFormId, NoOpHandler, EventKind::SizeChanged), kTrue);
  EXPECT_EQ(form.formRecord.sizeChangedHandler, &NoOpHandler);
  EXPECT_EQ(form.initHandler, &RecordingHandler);
  EXPECT_EQ(SetControlHandler(form, 4711, RecordingHandler), kFalse);
}

TEST_F(ControlValuesTest, TreatsANullHandlerAsDoingNothing) {
  ASSERT_EQ(SetControlHandler(form, 6, nullptr), kTrue);
  EXPECT_EQ(Record(6).handlers[0], &NoOpHandler);
}

TEST_F(ControlValuesTest, DefaultPushButtonRoutineSetsTheResultOnAClosedForm) {
  DefaultPushButtonHandler(form, 3, EventKind::Clicked);
  EXPECT_EQ(form.result, 3);
  EXPECT_TRUE(host.Calls().empty());
}

}  // namespace
}  // namespace quorvane::dialog
