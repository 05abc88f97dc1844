#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "handler_log.h"
#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

constexpr std::int32_t kExit = 8;
constexpr std::int32_t kInnerFormId = 200;

class FormLifecycleTest : public ScriptedHostTest {
 protected:
  void SetUp() override {
    ScriptedHostTest::SetUp();
    HandlerCalls().clear();
  }
};

DialogForm innerForm;
std::vector<std::string> globalsSeen;

std::string Describe(const DialogForm* seen, const DialogForm& outer) {
  if (seen == nullptr) return "none";
  if (seen == &outer) return "inner";
  return "outer";
}

void RecordGlobals(DialogForm& form, std::int32_t, EventKind kind) {
  globalsSeen.push_back(std::to_string(static_cast<int>(kind)) + " running " +
                        Describe(RunningForm(), form) + " dispatching " +
                        Describe(DispatchingForm(), form));
}

DialogForm* outerForm = nullptr;

// From the inner form's window procedure: the outer form is shown but not
// dispatching, so the set reaches its window at once.
void SetOuterField(DialogForm&, std::int32_t, EventKind) {
  SetControlText(*outerForm, 4, "outer");
}

void RunInnerForm(DialogForm& outer, std::int32_t, EventKind) {
  EXPECT_EQ(LoadForm(innerForm, kInnerFormId), kTrue);
  SetControlHandler(innerForm, kInnerFormId, RecordGlobals);
  SetControlHandler(innerForm, 1, SetOuterField);
  outerForm = &outer;
  EXPECT_EQ(RunFormModal(innerForm), kExit);
  EXPECT_EQ(RunningForm(), &outer);
  EXPECT_EQ(DispatchingForm(), &outer);
  ReleaseForm(innerForm);
}

TEST_F(FormLifecycleTest, NestsRunsAndRestoresTheRunningAndDispatchingForms) {
  Load(FormBuilder().Button(3, "Open", BS_PUSHBUTTON).Edit(4).Button(kExit, "Exit", BS_PUSHBUTTON));
  FormBuilder().Edit(1).Button(kExit, "Done", BS_PUSHBUTTON).Install(resources, kInnerFormId);
  ASSERT_EQ(SetControlHandler(form, 3, RunInnerForm), kTrue);
  globalsSeen.clear();
  host.Click(3);
  host.TypeText(1, "z");
  host.Then([&] {
    EXPECT_EQ(host.CallsStartingWith("SetText 4"),
              (std::vector<std::string>{"SetText 4 \"\"", "SetText 4 \"outer\""}));
  });
  host.Click(kExit);  // ends the inner form
  host.Click(kExit);  // ends the outer form
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_EQ(RunningForm(), nullptr);
  EXPECT_EQ(DispatchingForm(), nullptr);
  EXPECT_EQ(globalsSeen, (std::vector<std::string>{"0 running inner dispatching inner",
                                                   "-15 running inner dispatching inner"}));
  EXPECT_EQ(
      host.CallsStartingWith("RunModalDialog"),
      (std::vector<std::string>{"RunModalDialog 0 100 none", "RunModalDialog 0 200 dialog 100"}));
}

TEST_F(FormLifecycleTest, ChoosesTheParentAndTheModule) {
  Load(FormBuilder().Button(kExit, "Exit", BS_PUSHBUTTON));
  host.UseFrame(true);
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  FormBuilder().Button(kExit, "Exit", BS_PUSHBUTTON).Install(resources, 300, 9);
  DialogForm other;
  ASSERT_EQ(LoadFormFromModule(other, 300, 9), kTrue);
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(other, nullptr), kExit);
  EXPECT_EQ(host.CallsStartingWith("RunModalDialog"),
            (std::vector<std::string>{"RunModalDialog 0 100 frame", "RunModalDialog 9 300 frame"}));
  ReleaseForm(other);
}

TEST_F(FormLifecycleTest, ReturnsMinusOneWhenTheHostCannotCreateTheWindow) {
  Load(FormBuilder().Edit(1));
  host.RefuseDialogs(true);
  EXPECT_EQ(RunFormModal(form), -1);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_EQ(RunningForm(), nullptr);
  EXPECT_EQ(SetControlText(form, 1, "still usable"), kTrue);
}

TEST_F(FormLifecycleTest, RefusesToRunAFormWithActiveXControls) {
  Load(FormBuilder().Named(5, "{8856F961-340A-11D0-A96B-00C04FD705A2}", kChildStyle));
  EXPECT_EQ(RunFormModal(form), -1);
  EXPECT_EQ(host.Calls(), (std::vector<std::string>{
                              "ShowMessage \"Dialog runtime\" \"The Dialog dynamic link library "
                              "(DIALOGHOST.DLL) is missing or not registered\""}));
  EXPECT_EQ(RunningForm(), nullptr);
}

void ChangeDuringInit(DialogForm& form, std::int32_t id, EventKind kind) {
  LoggingHandler(form, id, kind);
  if (kind == EventKind::Init) SetControlText(form, 1, "from init");
}

TEST_F(FormLifecycleTest, CallsTheFormHandlersAroundTheRunAndOnResizing) {
  Load(FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON));
  form.formRecord.title = "Renamed";
  form.formRecord.hasTitle = true;
  ASSERT_EQ(SetControlHandler(form, kFormId, ChangeDuringInit), kTrue);
  ASSERT_EQ(SetControlHandler(form, kFormId, LoggingHandler, EventKind::SizeChanged), kTrue);
  host.Then([&] {
    EXPECT_EQ(host.ShownTitle(), "Renamed");
    EXPECT_EQ(host.ShownText(1), "from init");
  });
  host.SendSize(0);
  host.SendSize(2);
  host.SendSize(4);
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_EQ(HandlerCalls(), (std::vector<std::string>{"100 0", "100 -24", "100 -24", "100 -15"}));
  EXPECT_EQ(host.Calls().at(1), "SetText dialog \"Renamed\"");
}

void CloseAndSet(DialogForm& form, std::int32_t, EventKind) {
  CloseForm(form);
  SetControlText(form, 1, "after close");
}

TEST_F(FormLifecycleTest, WritesNothingAfterAHandlerClosedTheForm) {
  Load(FormBuilder().Edit(1).Button(3, "Close", BS_PUSHBUTTON));
  ASSERT_EQ(SetControlHandler(form, 3, CloseAndSet), kTrue);
  host.Then([&] { host.ClearCalls(); });
  host.Click(3);
  EXPECT_EQ(RunFormModal(form), 1);
  EXPECT_EQ(host.CallsStartingWith("SetText"), std::vector<std::string>{});
  std::string text(11, ' ');
  ASSERT_EQ(GetControlText(form, 1, text), kTrue);
  EXPECT_EQ(text, "after close");
}

TEST_F(FormLifecycleTest, DoesNothingWhenClosingAFormThatIsNotShown) {
  Load(FormBuilder().Edit(1));
  CloseForm(form);
  SetFormResult(form, 12);
  EXPECT_EQ(form.result, 12);
  EXPECT_TRUE(host.Calls().empty());
}

TEST_F(FormLifecycleTest, ReleasesOnlyAFormThatIsNotShown) {
  Load(FormBuilder().Edit(1).Button(kExit, "Exit", BS_PUSHBUTTON));
  host.Then([&] {
    ReleaseForm(form);
    EXPECT_EQ(form.controls.size(), 2u);
  });
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  ReleaseForm(form);
  EXPECT_TRUE(form.controls.empty());
  EXPECT_EQ(SetControlText(form, 1, "x"), kFalse);
}

TEST_F(FormLifecycleTest, StopsAScriptThatNeverEndsTheForm) {
  Load(FormBuilder().Edit(1));
  host.TypeText(1, "5");
  EXPECT_EQ(RunFormModal(form), -1);
  EXPECT_TRUE(host.SafetyStopped());
  EXPECT_EQ(form.window, nullptr);
}

std::vector<std::uint8_t> InitialisationData() {
  std::vector<std::uint8_t> data;
  auto entry = [&data](std::uint16_t id, std::uint16_t message, const std::string& text) {
    data.insert(data.end(),
                {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                 static_cast<std::uint8_t>(message), static_cast<std::uint8_t>(message >> 8)});
    const auto length = static_cast<std::uint32_t>(text.size() + 1);
    data.insert(data.end(), {static_cast<std::uint8_t>(length), 0, 0, 0});
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
  };
  entry(18, 0x0180, "first");
  entry(18, 0x0180, "second");
  entry(18, 0x000C, "not a string to add");
  entry(9, 0x0143, "only");
  data.insert(data.end(), {0, 0});
  return data;
}

TEST_F(FormLifecycleTest, AddsTheInitialItemsOfTheFormsModule) {
  Load(FormBuilder()
           .Atom(18, kListBoxAtom, {}, kChildStyle)
           .Atom(9, kComboBoxAtom, {}, kChildStyle | 0x2)
           .Button(kExit, "Exit", BS_PUSHBUTTON));
  resources.Add(kProgramModule, RT_DLGINIT, kFormId, InitialisationData());
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_EQ(host.CallsStartingWith("AddItem"),
            (std::vector<std::string>{"AddItem 18 \"first\"", "AddItem 18 \"second\"",
                                      "AddItem 9 \"only\""}));
  std::int32_t count = 0;
  ASSERT_EQ(GetControlInteger(form, 18, count), kTrue);
  EXPECT_EQ(count, 2);
}

TEST_F(FormLifecycleTest, StopsReadingTruncatedInitialisationData) {
  Load(FormBuilder().Atom(18, kListBoxAtom, {}, kChildStyle).Button(kExit, "Exit", BS_PUSHBUTTON));
  auto data = InitialisationData();
  data.resize(20);
  resources.Add(kProgramModule, RT_DLGINIT, kFormId, data);
  host.Click(kExit);
  EXPECT_EQ(RunFormModal(form), kExit);
  EXPECT_EQ(host.CallsStartingWith("AddItem"), (std::vector<std::string>{"AddItem 18 \"first\""}));
}

}  // namespace
}  // namespace quorvane::dialog
