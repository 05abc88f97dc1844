#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include "dialog/form_builder.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;
using dialog::Message;
using Log = std::vector<std::string>;
constexpr std::uint32_t kFirst = dialog::WS_GROUP | dialog::WS_TABSTOP;

dialog::DialogTemplate RadioForm(std::uint32_t extra402 = 0) {
  FormBuilder form;
  form.Radio(401, "one", kFirst)
      .Radio(402, "two", extra402)
      .Radio(403, "three")
      .Radio(411, "alpha", kFirst)
      .Radio(412, "beta")
      .Button(420, "after", dialog::BS_PUSHBUTTON, kFirst);
  return Stacked(form.Template());
}

class RadioButtons : public QtHostTest {
 protected:
  // The program checks the first of each group at start, as the runtime does.
  void StartChecked(std::uint32_t extra402 = 0) {
    Start(RadioForm(extra402), [this](dialog::WindowHandle dialog, const dialog::WindowMessage& m) {
      if (m.message == Message::InitDialog) {
        host_->SetCheck(host_->DialogItem(dialog, 401), 1);
        host_->SetCheck(host_->DialogItem(dialog, 411), 1);
        return std::intptr_t{1};
      }
      if (m.message == Message::Command && CommandCode(m) == dialog::BN_CLICKED) {
        // What the program sees while it handles the click.
        Note("checked " + std::to_string(host_->Check(host_->DialogItem(dialog, CommandId(m)))));
      }
      return std::intptr_t{0};
    });
  }
  std::string Checked() {
    std::string checked;
    for (const std::int32_t id : {401, 402, 403, 411, 412}) {
      checked += qobject_cast<QAbstractButton*>(Control(id))->isChecked() ? '1' : '0';
    }
    return checked;
  }
  void Click(std::int32_t id) {
    QTest::mouseClick(Control(id), Qt::LeftButton, {}, QPoint(6, Control(id)->height() / 2));
    Settle();
  }
  void Press(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    Settle();
  }
};

TEST_F(RadioButtons, ProgramChecksAreSilent) {
  StartChecked();
  EXPECT_EQ(Checked(), "10010");
  EXPECT_EQ(TakeLog(), Log{"InitDialog"});
}

TEST_F(RadioButtons, ClickChecksTheButtonClearsItsGroupThenReports) {
  StartChecked();
  TakeLog();
  Click(402);
  EXPECT_EQ(Checked(), "01010");
  EXPECT_EQ(TakeLog(), (Log{"Command 402 BN_CLICKED", "checked 1"}));
  Click(402);
  EXPECT_EQ(Checked(), "01010");
  EXPECT_EQ(TakeLog(), (Log{"Command 402 BN_CLICKED", "checked 1"}));
  Click(412);
  EXPECT_EQ(Checked(), "01001");
}

TEST_F(RadioButtons, ArrowsMoveWithinTheGroupAndClickWhatTheyReach) {
  StartChecked();
  Control(401)->setFocus();
  ASSERT_TRUE(WaitUntil([this] { return Control(401)->hasFocus(); }));
  TakeLog();
  Press(Qt::Key_Down);
  EXPECT_TRUE(Control(402)->hasFocus());
  EXPECT_EQ(Checked(), "01010");
  Press(Qt::Key_Right);
  Press(Qt::Key_Down);
  EXPECT_TRUE(Control(401)->hasFocus()) << "wraps within the group";
  EXPECT_EQ(Checked(), "10010");
  Press(Qt::Key_Up);
  EXPECT_TRUE(Control(403)->hasFocus());
  EXPECT_EQ(TakeLog(),
            (Log{"Command 402 BN_CLICKED", "checked 1", "Command 403 BN_CLICKED", "checked 1",
                 "Command 401 BN_CLICKED", "checked 1", "Command 403 BN_CLICKED", "checked 1"}));
}

TEST_F(RadioButtons, ArrowsSkipGreyedButtons) {
  StartChecked(dialog::WS_DISABLED);
  Control(401)->setFocus();
  ASSERT_TRUE(WaitUntil([this] { return Control(401)->hasFocus(); }));
  Press(Qt::Key_Down);
  EXPECT_TRUE(Control(403)->hasFocus());
  EXPECT_EQ(Checked(), "00110");
}

TEST_F(RadioButtons, TabEntersAGroupAtItsCheckedButton) {
  StartChecked();
  Click(412);
  Control(420)->setFocus();
  ASSERT_TRUE(WaitUntil([this] { return Control(420)->hasFocus(); }));
  Press(Qt::Key_Tab);
  EXPECT_TRUE(Control(401)->hasFocus());
  Press(Qt::Key_Tab);
  EXPECT_TRUE(Control(412)->hasFocus());
}

TEST_F(RadioButtons, CheckBoxesKeepTheirThreeStatesAndOnlyAutomaticOnesToggle) {
  FormBuilder form;
  form.Button(431, "auto", dialog::BS_AUTOCHECKBOX)
      .Button(432, "manual", dialog::BS_CHECKBOX)
      .Button(433, "three", dialog::BS_AUTO3STATE);
  Start(Stacked(form.Template()));
  host_->SetCheck(ControlHandle(433), 2);
  EXPECT_EQ(host_->Check(ControlHandle(433)), 2);
  TakeLog();
  Click(431);
  Click(432);
  EXPECT_EQ(host_->Check(ControlHandle(431)), 1);
  EXPECT_EQ(host_->Check(ControlHandle(432)), 0) << "the program sets a manual box";
  EXPECT_EQ(TakeLog(), (Log{"Command 431 BN_CLICKED", "Command 432 BN_CLICKED"}));
}

}  // namespace
}  // namespace quorvane::host::testing
