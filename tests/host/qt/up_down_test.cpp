#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "dialog/form_builder.h"
#include "host/qt/up_down_widget.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;
using dialog::Message;
using Log = std::vector<std::string>;

class UpDown : public QtHostTest {
 protected:
  // A digits-only buddy and its spinner, range 2..8, starting at the given position.
  void StartSpinner(std::int32_t position) {
    FormBuilder form;
    form.Edit(501, dialog::ES_NUMBER).Spinner(502).Button(1, "OK", dialog::BS_PUSHBUTTON);
    Start(Stacked(form.Template()),
          [this, position](dialog::WindowHandle dialog, const dialog::WindowMessage& m) {
            if (m.message == Message::InitDialog) {
              const auto spin = host_->DialogItem(dialog, 502);
              host_->SetSpinRange(spin, 2, 8);
              host_->SetSpinPosition(spin, position);
            }
            return std::intptr_t{m.message == Message::InitDialog};
          });
    TakeLog();
  }
  UpDownWidget* Arrows() { return qobject_cast<UpDownWidget*>(Control(502)); }
  void ClickArrow(bool up) {
    QToolButton* arrow = up ? Arrows()->UpButton() : Arrows()->DownButton();
    QTest::mouseClick(arrow, Qt::LeftButton);
    Settle();
  }
  void Key(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    Settle();
  }
};

TEST_F(UpDown, SitsOnItsBuddysRightEdgeAndNarrowsIt) {
  StartSpinner(5);
  // The buddy's template rectangle is 80 dialog units wide.
  const QRect buddy = Control(501)->geometry();
  const QRect spin = Control(502)->geometry();
  EXPECT_EQ(spin.width(), 16);
  EXPECT_EQ(spin.left(), buddy.right() + 1);
  EXPECT_EQ(spin.top(), buddy.top());
  EXPECT_EQ(spin.height(), buddy.height());
  EXPECT_EQ(buddy.width() + spin.width(), Control(1)->width());
  EXPECT_EQ(TextOf(501), "5");
}

TEST_F(UpDown, ArrowClicksStepTheBuddyThenReportTheScrollAndStopAtTheEnds) {
  StartSpinner(7);
  ClickArrow(true);
  EXPECT_EQ(TextOf(501), "8");
  EXPECT_EQ(TakeLog(),
            (Log{"Command 501 EN_UPDATE", "Command 501 EN_CHANGE", "VScroll 4 8", "VScroll 8 8"}));
  EXPECT_TRUE(qobject_cast<QLineEdit*>(Control(501))->hasSelectedText())
      << "letting go selects the buddy's number";
  ClickArrow(true);
  EXPECT_EQ(TextOf(501), "8");
  EXPECT_EQ(TakeLog(), (Log{"VScroll 4 8", "VScroll 8 8"}))
      << "no wrap; the text stays, the scroll is reported";
  for (int i = 0; i < 7; ++i) ClickArrow(false);
  EXPECT_EQ(TextOf(501), "2");
  TakeLog();
  ClickArrow(false);
  EXPECT_EQ(TextOf(501), "2");
  EXPECT_EQ(TakeLog(), (Log{"VScroll 4 2", "VScroll 8 2"}));
}

TEST_F(UpDown, ArrowKeysInTheBuddyStepToo) {
  StartSpinner(3);
  ASSERT_TRUE(Control(501)->hasFocus());
  Key(Qt::Key_Down);
  EXPECT_EQ(TextOf(501), "2");
  Key(Qt::Key_Down);
  EXPECT_EQ(TextOf(501), "2");
  Key(Qt::Key_Up);
  EXPECT_EQ(TextOf(501), "3");
  EXPECT_EQ(TakeLog(),
            (Log{"Command 501 EN_UPDATE", "Command 501 EN_CHANGE", "VScroll 4 2", "VScroll 4 2",
                 "Command 501 EN_UPDATE", "Command 501 EN_CHANGE", "VScroll 4 3"}));
}

TEST_F(UpDown, SteppingStartsFromTheTypedNumberOrTheLastGoodOne) {
  StartSpinner(3);
  QTest::keyClicks(Control(501), "6");  // the text was selected: now "6"
  Settle();
  EXPECT_EQ(host_->SpinPosition(ControlHandle(502)), 6u);
  Key(Qt::Key_Up);
  EXPECT_EQ(TextOf(501), "7");
  QTest::keyClicks(Control(501), "9");  // "79": out of range
  Settle();
  EXPECT_EQ(host_->SpinPosition(ControlHandle(502)), 7u | (1u << 16));
  Key(Qt::Key_Down);
  EXPECT_EQ(TextOf(501), "6");
}

TEST_F(UpDown, ProgramPositionIsClampedAndRewritesOnlyADifferentText) {
  StartSpinner(8);
  const auto spin = ControlHandle(502);
  // Called from the GUI thread, the reports go through the program's queue.
  host_->SetSpinPosition(spin, 12);
  Settle();
  EXPECT_EQ(TextOf(501), "8");
  EXPECT_EQ(TakeLog(), Log{});
  host_->SetSpinPosition(spin, -3);
  Settle();
  EXPECT_EQ(TextOf(501), "2");
  EXPECT_EQ(TakeLog(), (Log{"Command 501 EN_UPDATE", "Command 501 EN_CHANGE"}));
}

TEST_F(UpDown, RangeIsOnlyStored) {
  StartSpinner(5);
  const auto spin = ControlHandle(502);
  host_->SetSpinRange(spin, 10, 20);
  EXPECT_EQ(TextOf(501), "5");
  EXPECT_EQ(host_->SpinRange(spin), 20u | (10u << 16));
  EXPECT_EQ(host_->SpinPosition(spin), 10u | (1u << 16));
}

TEST_F(UpDown, AFreshSpinnerCountsDownFromAHundredWithItsUpArrow) {
  FormBuilder form;
  form.Edit(501).Spinner(502);
  Start(Stacked(form.Template()));
  const auto spin = ControlHandle(502);
  EXPECT_EQ(host_->SpinRange(spin), 0u | (100u << 16));
  host_->SetSpinPosition(spin, 50);
  ClickArrow(true);
  EXPECT_EQ(TextOf(501), "49");
}

}  // namespace
}  // namespace quorvane::host::testing
