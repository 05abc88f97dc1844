#include "dialog/modal_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "handler_log.h"
#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

constexpr std::int32_t kExit = 8;

class ModalRunTest : public ScriptedHostTest {
 protected:
  void SetUp() override {
    ScriptedHostTest::SetUp();
    HandlerCalls().clear();
  }
  std::string FieldText(std::int32_t id) {
    std::string buffer(16, '#');
    EXPECT_EQ(GetControlText(form, id, buffer), kTrue);
    return buffer.substr(0, buffer.find_last_not_of(' ') + 1);
  }
};

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
  return std::vector<std::string>(lines.begin(), lines.end());
}

TEST_F(ModalRunTest, ShowsTheStoredValuesWhenTheWindowIsCreatedWithoutCallingHandlers) {
  Load(FormBuilder()
           .Button(kExit, "Exit", BS_PUSHBUTTON)
           .Edit(1000)
           .Radio(1021, "a", WS_GROUP)
           .Radio(1022, "b")
           .Edit(1038, ES_NUMBER)
           .Spinner(1039));
  ASSERT_EQ(SetControlHandler(form, 1000, LoggingHandler), kTrue);
  ASSERT_EQ(SetControlHandler(form, 1038, LoggingHandler), kTrue);
  ASSERT_EQ(SetControlText(form, 1000, std::string_view("0.0", 3)), kTrue);
  ASSERT_EQ(SetControlLogical(form, 1000, kFalse, ValueKind::Enabled), kTrue);
  ASSERT_EQ(SetControlLogical(form, 1022, kTrue), kTrue);
  ASSERT_EQ(SetControlInteger(form, 1039, 2, ValueKind::RangeMin), kTrue);
  ASSERT_EQ(SetControlInteger(form, 1039, 8, ValueKind::RangeMax), kTrue);
  ASSERT_EQ(SetControlInteger(form, 1039, 7, ValueKind::Position), kTrue);
  EXPECT_TRUE(host.Calls().empty());
  host.Then([&] {
    EXPECT_EQ(host.ShownText(1000), "0.0");
    EXPECT_FALSE(host.ShownEnabled(1000));
    EXPECT_EQ(host.ShownCheck(1021), 0);
    EXPECT_EQ(host.ShownCheck(1022), 1);
    EXPECT_EQ(host.ShownText(1038), "7");
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_EQ(host.Calls(), Lines({
                              "RunModalDialog 0 100 none",
                              "SetText 8 \"Exit\"",
                              "Enable 8 1",
                              "SetText 1000 \"0.0\"",
                              "Enable 1000 0",
                              "SetSelection 1000 0 0",
                              "SetText 1021 \"a\"",
                              "Enable 1021 1",
                              "SetCheck 1021 0",
                              "SetText 1022 \"b\"",
                              "Enable 1022 1",
                              "SetCheck 1022 1",
                              "SetText 1038 \"\"",
                              "Enable 1038 1",
                              "SetSelection 1038 0 0",
                              "Enable 1039 1",
                              "SetSpinRange 1039 2 8",
                              "SetSpinPosition 1039 7",
                              // Exit reads every record back before it ends the run.
                              "Text 8",
                              "IsEnabled 8",
                              "Text 1000",
                              "SelectionEnd 1000",
                              "IsEnabled 1000",
                              "Text 1021",
                              "IsEnabled 1021",
                              "Check 1021",
                              "Text 1022",
                              "IsEnabled 1022",
                              "Check 1022",
                              "Text 1038",
                              "SelectionEnd 1038",
                              "IsEnabled 1038",
                              "IsEnabled 1039",
                              "SpinPosition 1039",
                              "SpinRange 1039",
                              "EndDialog 8",
                          }));
  EXPECT_TRUE(HandlerCalls().empty());
  EXPECT_EQ(form.window, nullptr);
  EXPECT_EQ(FieldText(1038), "7");
}

void SetTenFields(DialogForm& form, std::int32_t, EventKind) {
  for (std::int32_t id = 31; id <= 40; ++id) {
    SetControlText(form, id, std::to_string(id * 11));
  }
}

TEST_F(ModalRunTest, WritesTheSetsOfAHandlerOnceAfterItReturns) {
  FormBuilder builder;
  for (std::int32_t id = 31; id <= 40; ++id) builder.Edit(id);
  builder.Edit(20).Button(kExit, "Exit", BS_PUSHBUTTON);
  Load(builder);
  for (std::int32_t id = 31; id <= 40; ++id)
    ASSERT_EQ(SetControlHandler(form, id, LoggingHandler), kTrue);
  ASSERT_EQ(SetControlHandler(form, 20, SetTenFields), kTrue);
  std::vector<std::string> handlerCalls;
  host.Then([&] { host.ClearCalls(); });
  host.TypeText(20, "x");
  host.Then([&] { handlerCalls = host.Calls(); });
  host.Click(kExit);
  ASSERT_EQ(RunFormModal(form), kExit);

  std::vector<std::string> expected;
  for (std::int32_t id = 31; id <= 40; ++id) {
    const std::string name = std::to_string(id);
    expected.insert(expected.end(), {"Text " + name, "SelectionEnd " + name, "IsEnabled " + name});
  }
  for (std::int32_t id = 31; id <= 40; ++id) {
    const std::string name = std::to_string(id);
    expected.insert(expected.end(), {"SetText " + name + " \"" + std::to_string(id * 11) + "\"",
                                     "Enable " + name + " 1", "SetSelection " + name + " 0 0"});
  }
  EXPECT_EQ(handlerCalls, expected);
  EXPECT_TRUE(HandlerCalls().empty());
  EXPECT_EQ(FieldText(37), "407");
}

void SetAndClose(DialogForm& form, std::int32_t controlId, EventKind) {
  SetControlText(form, 1, "999");
  SetFormResult(form, controlId);
  CloseForm(form);
}

TEST_F(ModalRunTest, ExitReturnsItsIdAndTheRecordsKeepWhatTheWindowShowed) {
  Load(
      FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON).Button(9, "Close", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlHandler(form, 9, SetAndClose), kTrue);
  host.TypeText(1, "12.5");
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  std::string buffer(256, '#');
  ASSERT_EQ(GetControlText(form, 1, buffer), kTrue);
  EXPECT_EQ(buffer, "12.5" + std::string(252, ' '));

  // A value set in the closing handler itself never reached the window.
  host.TypeText(1, "3");
  host.Click(9);
  EXPECT_EQ(RunFormModal(form), 9);
  EXPECT_EQ(FieldText(1), "3");
}

void PrefixField(DialogForm& form, std::int32_t id, EventKind) {
  std::string text(8, ' ');
  GetControlText(form, id, text);
  if (text[0] != '+') SetControlText(form, id, "+" + text);
}

TEST_F(ModalRunTest, TypingGoesOnAtTheCaretTheProgramLeft) {
  Load(FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlHandler(form, 1, PrefixField), kTrue);
  // "1" becomes "+1"; the caret keeps the position read back before the set
  // (1, now between "+" and "1"), so the "2" goes in there.
  host.TypeText(1, "12");
  host.Then([&] {
    EXPECT_EQ(host.ShownText(1), "+21");
    EXPECT_EQ(host.ShownSelectionEnd(1), 2);
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
}

TEST_F(ModalRunTest, WritesAtOnceWhenSetFromOutsideTheWindowProcedure) {
  Load(FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlHandler(form, 1, LoggingHandler), kTrue);
  host.Then([&] {
    host.ClearCalls();
    ASSERT_EQ(SetControlText(form, 1, "4.5"), kTrue);
    EXPECT_EQ(host.ShownText(1), "4.5");
    EXPECT_EQ(host.Calls(), Lines({"Text 1", "SelectionEnd 1", "IsEnabled 1", "SetText 1 \"4.5\"",
                                   "Enable 1 1", "SetSelection 1 0 0"}));
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_TRUE(HandlerCalls().empty());
}

TEST_F(ModalRunTest, IgnoresCancelAndOkWithoutSuchControls) {
  Load(FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON));
  host.PressEscape();
  host.PressCloseBox();
  host.PressEnter();
  host.Then([&] { EXPECT_TRUE(host.IsShowing()); });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_FALSE(host.SafetyStopped());
}

TEST_F(ModalRunTest, EndsThroughCancelAndOkButtonsWhenTheyExist) {
  Load(
      FormBuilder().Button(IDOK, "OK", BS_DEFPUSHBUTTON).Button(IDCANCEL, "Cancel", BS_PUSHBUTTON));
  host.PressEscape();
  EXPECT_EQ(RunFormModal(form), IDCANCEL);
  host.PressCloseBox();
  EXPECT_EQ(RunFormModal(form), IDCANCEL);
  host.PressEnter();
  EXPECT_EQ(RunFormModal(form), IDOK);
}

TEST_F(ModalRunTest, ClampsSpinnerStepsToTheRange) {
  Load(FormBuilder().Edit(1038, ES_NUMBER).Spinner(1039).Button(kExit, "Exit", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlInteger(form, 1039, 2, ValueKind::RangeMin), kTrue);
  ASSERT_EQ(SetControlInteger(form, 1039, 8, ValueKind::RangeMax), kTrue);
  ASSERT_EQ(SetControlInteger(form, 1039, 8, ValueKind::Position), kTrue);
  ASSERT_EQ(SetControlHandler(form, 1038, LoggingHandler), kTrue);
  ASSERT_EQ(SetControlHandler(form, 1039, LoggingHandler), kTrue);
  ControlRecord* spinner = &form.controls[1];
  host.SpinUp(1039);
  host.Then([&] {
    EXPECT_EQ(spinner->integers[0], 8);
    EXPECT_EQ(host.ShownText(1038), "8");
    EXPECT_EQ(HandlerCalls(), Lines({"1039 -6"}));  // the buddy's text did not change
  });
  host.SpinDown(1039);
  host.Then([&] {
    EXPECT_EQ(spinner->integers[0], 7);
    EXPECT_EQ(HandlerCalls(), Lines({"1039 -6", "1038 -6", "1039 -6"}));
  });
  host.SendScroll(1039, SB_TOP, 0);
  host.Then([&] { EXPECT_EQ(spinner->integers[0], 2); });
  host.SendScroll(1039, SB_BOTTOM, 0);
  host.Then([&] { EXPECT_EQ(spinner->integers[0], 8); });
  host.SendScroll(1039, SB_ENDSCROLL, 5);
  host.Then([&] {
    EXPECT_EQ(spinner->integers[0], 8);
    EXPECT_EQ(HandlerCalls().size(), 5u);
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
}

TEST_F(ModalRunTest, StepsScrollBarsAndMovesTheirThumb) {
  Load(FormBuilder()
           .Atom(7, kScrollBarAtom, {}, kChildStyle)
           .Atom(9, kScrollBarAtom, {}, kChildStyle)
           .Button(kExit, "Exit", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlInteger(form, 7, 50), kTrue);
  ASSERT_EQ(SetControlLogical(form, 9, kFalse, ValueKind::Enabled), kTrue);
  ASSERT_EQ(SetControlHandler(form, 7, LoggingHandler), kTrue);
  ASSERT_EQ(SetControlHandler(form, 9, LoggingHandler), kTrue);
  host.Then([&] { host.ClearCalls(); });
  host.SendScroll(7, SB_LINEDOWN, 0, false);
  host.SendScroll(7, SB_PAGEUP, 0, false);
  host.SendScroll(7, SB_THUMBTRACK, 250, false);
  host.SendScroll(9, SB_LINEDOWN, 0, false);
  host.SendCommand(9, 0);
  host.Then([&] {
    EXPECT_EQ(host.Calls(), Lines({"SetScrollPosition 7 51", "SetScrollPosition 7 41",
                                   "SetScrollPosition 7 100"}));
    EXPECT_EQ(HandlerCalls(), Lines({"7 -6", "7 -6", "7 -6"}));
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
}

struct DispatchCase {
  const char* name;
  std::int32_t id;
  std::int32_t code;
  bool notify;
  const char* expected;  // handler call, or "" for none
};

TEST_F(ModalRunTest, DispatchesNotificationsByClassAndCode) {
  Load(FormBuilder()
           .Button(3, "Go", BS_PUSHBUTTON)
           .Button(4, "Check", BS_AUTOCHECKBOX)
           .Edit(6)
           .Atom(18, kListBoxAtom, {}, kChildStyle)
           .Atom(9, kComboBoxAtom, {}, kChildStyle | 0x2)
           .Atom(10, kComboBoxAtom, {}, kChildStyle | CBS_DROPDOWNLIST)
           .Named(14, kTabControlClass, kChildStyle)
           .Static(1, "label")
           .Button(kExit, "Exit", BS_PUSHBUTTON));
  for (std::int32_t id : {3, 4, 6, 18, 9, 10, 14}) {
    for (EventKind kind :
         {EventKind::Clicked, EventKind::Changed, EventKind::Update, EventKind::GainedFocus,
          EventKind::LostFocus, EventKind::SelectionChanged, EventKind::DoubleClicked,
          EventKind::SelectionChanging}) {
      SetControlHandler(form, id, LoggingHandler, kind);
    }
  }
  const std::vector<DispatchCase> cases = {
      {"button click", 3, BN_CLICKED, false, "3 -4"},
      {"check box click", 4, BN_CLICKED, false, "4 -4"},
      {"edit change", 6, EN_CHANGE, false, "6 -6"},
      {"edit update", 6, EN_UPDATE, false, "6 -7"},
      {"edit focus", 6, EN_SETFOCUS, false, "6 -18"},
      {"edit focus lost", 6, EN_KILLFOCUS, false, "6 -19"},
      {"list selection", 18, LBN_SELCHANGE, false, "18 -10"},
      {"list double click", 18, LBN_DBLCLK, false, "18 -14"},
      {"combo selection", 9, CBN_SELCHANGE, false, "9 -10"},
      {"combo double click", 9, CBN_DBLCLK, false, "9 -14"},
      {"combo edit update", 9, CBN_EDITUPDATE, false, "9 -7"},
      {"combo edit change", 9, CBN_EDITCHANGE, false, "9 -6"},
      {"combo focus", 9, CBN_SETFOCUS, false, "9 -18"},
      {"combo focus lost", 9, CBN_KILLFOCUS, false, "9 -19"},
      {"drop-down selection", 10, CBN_SELCHANGE, false, "10 -10"},
      {"drop-down focus is not reported", 10, CBN_SETFOCUS, false, ""},
      {"tab changing", 14, TCN_SELCHANGING, true, "14 -20"},
      {"tab changed", 14, TCN_SELCHANGE, true, "14 -10"},
      {"static click", 1, BN_CLICKED, false, ""},
      {"button code of an edit", 6, BN_CLICKED, false, ""},
      {"no such control", 77, BN_CLICKED, false, ""},
  };
  for (const DispatchCase& c : cases) {
    host.Then([] { HandlerCalls().clear(); });
    if (c.notify) {
      host.SendNotify(c.id, c.code);
    } else {
      host.SendCommand(c.id, c.code);
    }
    host.Then([c] {
      const auto expected = *c.expected ? Lines({c.expected}) : std::vector<std::string>{};
      EXPECT_EQ(HandlerCalls(), expected) << c.name;
    });
  }
  host.Then([] { HandlerCalls().clear(); });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
}

Logical selectionFlagSeen = kTrue;
void SeeSelectionFlag(DialogForm& form, std::int32_t, EventKind) {
  selectionFlagSeen = form.selectionFlag;
}

TEST_F(ModalRunTest, ClearsTheSelectionFlagOnlyDuringAComboSelectionHandler) {
  Load(FormBuilder()
           .Atom(9, kComboBoxAtom, {}, kChildStyle | 0x2)
           .Button(kExit, "Exit", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlHandler(form, 9, SeeSelectionFlag), kTrue);
  host.SendCommand(9, CBN_SELCHANGE);
  host.Then([&] {
    EXPECT_EQ(selectionFlagSeen, kFalse);
    EXPECT_EQ(form.selectionFlag, kTrue);
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
}

}  // namespace
}  // namespace quorvane::dialog
