#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "dialog/form_builder.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;
using Log = std::vector<std::string>;
constexpr std::uint32_t kTab = dialog::WS_TABSTOP;

class DialogKeyboard : public QtHostTest {
 protected:
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : DialogWidget();
    QTest::keyClick(target, key, modifiers);
    Settle();
  }
  std::int32_t FocusedId() {
    for (const std::int32_t id : {201, 202, 203, 204, 205, 206}) {
      if (Control(id) && Control(id)->hasFocus()) return id;
    }
    return 0;
  }
};

TEST_F(DialogKeyboard, TabFollowsTemplateOrderOverEnabledTabStopsAndWraps) {
  FormBuilder form;
  form.Edit(201)
      .Static(-1, "label")
      .Edit(202, dialog::WS_DISABLED)
      .Button(203, "no stop", dialog::BS_PUSHBUTTON)
      .Edit(204)
      .Button(205, "stop", dialog::BS_PUSHBUTTON, kTab)
      .Atom(206, dialog::kEditAtom, "", dialog::kChildStyle | kTab);  // hidden: no WS_VISIBLE
  auto stacked = Stacked(form.Template());
  stacked.items.back().style &= ~dialog::WS_VISIBLE;
  Start(stacked);
  ASSERT_EQ(FocusedId(), 201);
  std::vector<std::int32_t> forward;
  for (int i = 0; i < 3; ++i) {
    Press(Qt::Key_Tab);
    forward.push_back(FocusedId());
  }
  EXPECT_EQ(forward, (std::vector<std::int32_t>{204, 205, 201}));
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(FocusedId(), 205);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(FocusedId(), 204);
}

TEST_F(DialogKeyboard, TabIntoAnEditBoxSelectsAllItsText) {
  FormBuilder form;
  form.Edit(201).Edit(202);
  Start(Stacked(form.Template()));
  host_->SetText(ControlHandle(202), "12.5");
  Press(Qt::Key_Tab);
  EXPECT_EQ(host_->SelectionEnd(ControlHandle(202)), 4);
  QTest::keyClicks(Control(202), "7");
  Settle();
  EXPECT_EQ(TextOf(202), "7");
}

struct CommandKeyCase {
  const char* name;
  bool withOkAndCancel;
  bool cancelDisabled;
  std::uint32_t buttonType;  // of button 300
  bool focusOnButton;
  Log enter, escape, closeBox;
};

class CommandKeys : public QtHostTest, public ::testing::WithParamInterface<CommandKeyCase> {};

TEST_P(CommandKeys, BecomeCommandsAndNeverCloseTheDialog) {
  const CommandKeyCase& c = GetParam();
  FormBuilder form;
  form.Edit(201).Button(300, "Go", c.buttonType, kTab);
  if (c.withOkAndCancel) {
    form.Button(1, "OK", dialog::BS_PUSHBUTTON, kTab)
        .Button(2, "Cancel", dialog::BS_PUSHBUTTON,
                kTab | (c.cancelDisabled ? dialog::WS_DISABLED : 0));
  }
  Start(Stacked(form.Template()));
  if (c.focusOnButton) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
  }
  TakeLog();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  Settle();
  EXPECT_EQ(TakeLog(), c.enter);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(TakeLog(), c.escape);
  DialogWidget()->close();
  Settle();
  EXPECT_EQ(TakeLog(), c.closeBox);
  EXPECT_TRUE(DialogWidget()->isVisible());
  EXPECT_FALSE(program_->HasFinished());
}

const Log kOk{"Command 1 BN_CLICKED"};
const Log kCancel{"Command 2 BN_CLICKED"};
const Log kCloseThenCancel{"Close", "Command 2 BN_CLICKED"};

INSTANTIATE_TEST_SUITE_P(
    Qt, CommandKeys,
    ::testing::Values(CommandKeyCase{"WithOkAndCancel", true, false, dialog::BS_PUSHBUTTON, false,
                                     kOk, kCancel, kCloseThenCancel},
                      CommandKeyCase{"WithoutOkAndCancel", false, false, dialog::BS_PUSHBUTTON,
                                     false, kOk, kCancel, kCloseThenCancel},
                      CommandKeyCase{
                          "CancelGreyed", true, true, dialog::BS_PUSHBUTTON, false, kOk, {}, {}},
                      CommandKeyCase{"DefaultPushButton",
                                     false,
                                     false,
                                     dialog::BS_DEFPUSHBUTTON,
                                     false,
                                     {"Command 300 BN_CLICKED"},
                                     kCancel,
                                     kCloseThenCancel},
                      CommandKeyCase{"FocusedPushButton",
                                     true,
                                     false,
                                     dialog::BS_PUSHBUTTON,
                                     true,
                                     {"Command 300 BN_CLICKED"},
                                     kCancel,
                                     kCloseThenCancel}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(DialogKeyboard, GreyedControlsTakeNoInputUntilEnabled) {
  FormBuilder form;
  form.Edit(201)
      .Edit(202, dialog::WS_DISABLED)
      .Button(203, "B", dialog::BS_PUSHBUTTON, kTab | dialog::WS_DISABLED);
  Start(Stacked(form.Template()));
  TakeLog();
  QTest::mouseClick(Control(202), Qt::LeftButton);
  QTest::keyClicks(Control(202), "9");
  QTest::mouseClick(Control(203), Qt::LeftButton);
  Settle();
  EXPECT_EQ(TextOf(202), "");
  EXPECT_EQ(TakeLog(), Log{});
  EXPECT_EQ(host_->IsEnabled(ControlHandle(202)), 0);

  host_->Enable(ControlHandle(202), true);
  EXPECT_EQ(host_->IsEnabled(ControlHandle(202)), 1);
  Press(Qt::Key_Tab);
  EXPECT_EQ(FocusedId(), 202);
  QTest::keyClicks(Control(202), "9");
  Settle();
  EXPECT_EQ(TextOf(202), "9");
}

TEST_F(DialogKeyboard, GreyingTheFocusedControlDropsTheFocus) {
  FormBuilder form;
  form.Edit(201).Edit(202);
  Start(Stacked(form.Template()));
  TakeLog();
  host_->Enable(ControlHandle(201), false);
  Settle();  // called from the GUI thread, the report goes through the program's queue
  EXPECT_EQ(TakeLog(), Log{"Command 201 EN_KILLFOCUS"});
  EXPECT_EQ(FocusedId(), 0);
  Press(Qt::Key_Tab);
  EXPECT_EQ(FocusedId(), 202);
}

}  // namespace
}  // namespace quorvane::host::testing
