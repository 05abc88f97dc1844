#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/control_values.h"
#include "dialog/dialog_form.h"
#include "dialog/window_styles.h"
#include "host_fixture.h"

namespace quorvane::dialog {
namespace {

using LoadFormTest = ScriptedHostTest;

struct ClassCase {
  const char* name;
  NameOrOrdinal windowClass;
  std::uint32_t style;
  ControlClass expected;
  std::vector<std::int32_t> integers;
  std::size_t logicals;
  std::size_t handlers;
};

NameOrOrdinal Atom(std::uint16_t atom) {
  NameOrOrdinal value;
  value.ordinal = atom;
  return value;
}

NameOrOrdinal Named(const char* name) {
  NameOrOrdinal value;
  value.name = name;
  return value;
}

TEST_F(LoadFormTest, ClassifiesEveryClassWithItsStartValues) {
  const std::vector<ClassCase> cases = {
      {"static text", Atom(kStaticAtom), SS_LEFT, ControlClass::StaticText, {}, 1, 0},
      {"group box", Atom(kButtonAtom), BS_GROUPBOX, ControlClass::GroupBox, {}, 1, 0},
      {"push button", Atom(kButtonAtom), BS_PUSHBUTTON, ControlClass::PushButton, {}, 1, 1},
      {"default push button",
       Atom(kButtonAtom),
       BS_DEFPUSHBUTTON,
       ControlClass::PushButton,
       {},
       1,
       1},
      {"automatic check box", Atom(kButtonAtom), BS_AUTOCHECKBOX, ControlClass::CheckBox, {}, 2, 1},
      {"radio button", Atom(kButtonAtom), BS_RADIOBUTTON, ControlClass::RadioButton, {1, 1}, 2, 1},
      {"three-state", Atom(kButtonAtom), BS_3STATE, ControlClass::RadioButton, {1, 1}, 2, 1},
      {"automatic three-state",
       Atom(kButtonAtom),
       BS_AUTO3STATE,
       ControlClass::RadioButton,
       {1, 1},
       2,
       1},
      {"edit box", Atom(kEditAtom), ES_LEFT, ControlClass::EditBox, {0, 0}, 1, 4},
      {"scroll bar", Atom(kScrollBarAtom), 0, ControlClass::ScrollBar, {0, 100, 1, 10, 1}, 1, 1},
      {"list box", Atom(kListBoxAtom), 0, ControlClass::ListBox, {0, 0}, 1, 2},
      {"combo box", Atom(kComboBoxAtom), 0x2, ControlClass::ComboBox, {0}, 1, 6},
      {"drop-down list",
       Atom(kComboBoxAtom),
       CBS_DROPDOWNLIST,
       ControlClass::DropDownList,
       {0, 0},
       2,
       2},
      {"spinner", Named("msctls_updown32"), 0, ControlClass::Spinner, {0, 100, 1, 1, 0}, 1, 1},
      {"slider", Named("msctls_trackbar32"), 0, ControlClass::Slider, {0, 100, 1, 10, 0, 1}, 1, 1},
      {"progress bar", Named("msctls_progress32"), 0, ControlClass::ProgressBar, {0, 100, 0}, 1, 0},
      {"tab control", Named("SysTabControl32"), 0, ControlClass::TabControl, {0, 0}, 2, 2},
      {"ActiveX",
       Named("{00000000-0000-0000-0000-000000000001}"),
       0,
       ControlClass::ActiveX,
       {0},
       1,
       1},
  };
  for (const ClassCase& c : cases) {
    FormBuilder builder;
    builder.Item(7, c.windowClass, {}, kChildStyle | c.style);
    Load(builder);
    ASSERT_EQ(form.controls.size(), 1u) << c.name;
    const ControlRecord& record = form.controls[0];
    EXPECT_EQ(record.controlClass, c.expected) << c.name;
    EXPECT_EQ(record.integers, c.integers) << c.name;
    EXPECT_EQ(record.logicals.size(), c.logicals) << c.name;
    EXPECT_EQ(record.handlers.size(), c.handlers) << c.name;
    EXPECT_EQ(record.logicals[0], kTrue) << c.name;
    EXPECT_EQ(record.changed, kTrue) << c.name;
    EXPECT_EQ(record.duplicate, kFalse) << c.name;
    EXPECT_EQ(form.formRecord.hasActiveX, c.expected == ControlClass::ActiveX ? kTrue : kFalse);
  }
}

TEST_F(LoadFormTest, SetsTheFormFieldsAndTheTrailingRecord) {
  form.result = 77;
  form.initHandler = DefaultPushButtonHandler;
  Load(FormBuilder().Edit(1));
  EXPECT_EQ(form.templateId, kFormId);
  EXPECT_EQ(form.window, nullptr);
  EXPECT_EQ(form.result, 1);
  EXPECT_EQ(form.formChanged, kTrue);
  EXPECT_EQ(form.writing, kFalse);
  EXPECT_EQ(form.selectionFlag, kTrue);
  EXPECT_EQ(form.initHandler, &NoOpHandler);
  EXPECT_EQ(form.formRecord.module, kProgramModule);
  EXPECT_EQ(form.formRecord.hasActiveX, kFalse);
  EXPECT_EQ(form.formRecord.sizeChangedHandler, &NoOpHandler);
  EXPECT_FALSE(form.formRecord.hasTitle);
}

TEST_F(LoadFormTest, KeepsCaptionsWithoutTrailingBlanksAndHonoursTheDisabledStyle) {
  FormBuilder builder;
  builder.Static(1, "  Label   ")
      .Button(2, "Go", BS_PUSHBUTTON, WS_DISABLED)
      .Button(3, "Check", BS_AUTOCHECKBOX)
      .Atom(4, kEditAtom, "12.5", kChildStyle)
      .Named(5, "msctls_updown32", kChildStyle | WS_DISABLED);
  Load(builder);
  ASSERT_EQ(form.controls.size(), 5u);
  EXPECT_EQ(form.controls[0].text, "  Label");
  EXPECT_EQ(form.controls[1].logicals[0], kFalse);
  EXPECT_EQ(form.controls[1].handlers[0], &DefaultPushButtonHandler);
  EXPECT_EQ(form.controls[2].logicals[1], kTrue);  // check boxes start checked
  EXPECT_EQ(form.controls[3].text, "12.5");
  EXPECT_EQ(form.controls[3].integers[0], 4);
  EXPECT_EQ(form.controls[4].logicals[0], kFalse);
  EXPECT_FALSE(form.controls[4].hasText);
}

TEST_F(LoadFormTest, GivesAnOrdinalCaptionNoText) {
  FormBuilder builder;
  builder.Static(3, "ignored", SS_ICON);
  DialogTemplate dialog = builder.Template();
  dialog.items[0].title = NameOrOrdinal{107, {}};
  resources.Add(kProgramModule, RT_DIALOG, kFormId, WriteDialogTemplate(dialog));
  ASSERT_EQ(LoadForm(form, kFormId), kTrue);
  EXPECT_EQ(form.controls[0].text, "");
}

TEST_F(LoadFormTest, SkipsUnknownClassesButCountsTheirIdsAsDuplicates) {
  FormBuilder builder;
  builder.Edit(5).Named(5, "SysListView32", kChildStyle).Named(6, "Edit", kChildStyle).Edit(7);
  Load(builder);
  ASSERT_EQ(form.controls.size(), 2u);
  EXPECT_EQ(form.controls[0].id, 5);
  EXPECT_EQ(form.controls[0].duplicate, kTrue);
  EXPECT_EQ(form.controls[1].id, 7);
  EXPECT_EQ(form.controls[1].duplicate, kFalse);
  char text[4];
  EXPECT_EQ(GetControlText(form, 5, text), kFalse);
}

TEST_F(LoadFormTest, FlagsEveryItemThatSharesAnId) {
  Load(FormBuilder().Static(-1, "a").Edit(3).Static(-1, "b").Edit(4).Button(-1, "c", BS_GROUPBOX));
  std::vector<Logical> duplicates;
  for (const ControlRecord& record : form.controls) duplicates.push_back(record.duplicate);
  EXPECT_EQ(duplicates, (std::vector<Logical>{kTrue, kFalse, kTrue, kFalse, kTrue}));
  Logical enabled = 5;
  EXPECT_EQ(GetControlLogical(form, -1, enabled, ValueKind::Enabled), kFalse);
  EXPECT_EQ(enabled, 5);
  EXPECT_EQ(SetControlText(form, -1, "x"), kFalse);
  EXPECT_EQ(SetControlHandler(form, -1, NoOpHandler), kFalse);
}

TEST_F(LoadFormTest, ReadsPlainTemplatesWithSixteenBitIds) {
  Load(FormBuilder(false).Static(-1, "label").Edit(1000));
  ASSERT_EQ(form.controls.size(), 2u);
  EXPECT_EQ(form.controls[0].id, 65535);
  EXPECT_EQ(form.controls[1].id, 1000);
}

TEST_F(LoadFormTest, RefusesMissingAndMalformedTemplates) {
  EXPECT_EQ(LoadForm(form, 999), kFalse);
  EXPECT_TRUE(form.controls.empty());
  auto bytes = WriteDialogTemplate(FormBuilder().Edit(1).Edit(2).Template());
  bytes.resize(bytes.size() - 3);
  resources.Add(kProgramModule, RT_DIALOG, 5, bytes);
  EXPECT_EQ(LoadForm(form, 5), kFalse);
  EXPECT_TRUE(form.controls.empty());
  FormBuilder().Edit(1).Install(resources, 6, 42);
  EXPECT_EQ(LoadForm(form, 6), kFalse);
  EXPECT_EQ(LoadFormFromModule(form, 6, 42), kTrue);
  EXPECT_EQ(form.formRecord.module, 42);
  EXPECT_TRUE(host.Calls().empty());
}

struct RejectedCase {
  const char* name;
  std::uint16_t atom;
  std::uint32_t style;
  const char* message;
};

TEST_F(LoadFormTest, EndsTheProgramOnRejectedStyles) {
  const std::vector<RejectedCase> cases = {
      {"owner-drawn button", kButtonAtom, BS_OWNERDRAW,
       "Invalid style BS_OWNERDRAW used for control 1234"},
      {"user button", kButtonAtom, BS_USERBUTTON,
       "Invalid style BS_USERBUTTON used for control 1234"},
      {"plain check box", kButtonAtom, BS_CHECKBOX,
       "Invalid style <unknown> used for control 1234"},
      {"button type 10", kButtonAtom, 0xA, "Invalid style <unknown> used for control 1234"},
      {"button type 15", kButtonAtom, 0xF, "Invalid style <unknown> used for control 1234"},
      {"fixed owner-drawn list", kListBoxAtom, LBS_OWNERDRAWFIXED,
       "Invalid style LBS_OWNERDRAWFIXED used for control 1234"},
      {"variable owner-drawn list", kListBoxAtom, LBS_OWNERDRAWVARIABLE,
       "Invalid style LBS_OWNERDRAWVARIABLE used for control 1234"},
      {"fixed owner-drawn combo", kComboBoxAtom, CBS_OWNERDRAWFIXED,
       "Invalid style CBS_OWNERDRAWFIXED used for control 1234"},
      {"variable owner-drawn combo", kComboBoxAtom, CBS_OWNERDRAWVARIABLE | CBS_DROPDOWNLIST,
       "Invalid style CBS_OWNERDRAWVARIABLE used for control 1234"},
  };
  for (const RejectedCase& c : cases) {
    host.ClearCalls();
    FormBuilder builder;
    builder.Edit(1).Atom(1234, c.atom, "x", kChildStyle | c.style);
    builder.Install(resources, kFormId);
    EXPECT_THROW(LoadForm(form, kFormId), ProgramEnded) << c.name;
    EXPECT_EQ(host.Calls(), (std::vector<std::string>{
                                "ShowMessage \"Dialog runtime\" \"" + std::string(c.message) + "\"",
                                "EndProgram"}))
        << c.name;
  }
}

TEST_F(LoadFormTest, NamesNegativeIdsInTheRejectionMessage) {
  FormBuilder builder;
  builder.Button(-7, "x", BS_OWNERDRAW);
  builder.Install(resources, kFormId);
  EXPECT_THROW(LoadForm(form, kFormId), ProgramEnded);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0], "Invalid style BS_OWNERDRAW used for control -7");
}

}  // namespace
}  // namespace quorvane::dialog
