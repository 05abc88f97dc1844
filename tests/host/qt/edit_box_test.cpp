#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "dialog/form_builder.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;
using dialog::Message;
using Log = std::vector<std::string>;

dialog::DialogTemplate EditForm() {
  FormBuilder form;
  form.Edit(101)
      .Edit(102)
      .Edit(103, dialog::ES_NUMBER)
      .Button(1, "OK", dialog::BS_PUSHBUTTON, dialog::WS_TABSTOP);
  return Stacked(form.Template());
}

QLineEdit* Edit(QWidget* widget) {
  return qobject_cast<QLineEdit*>(widget);
}

class EditBox : public QtHostTest {};

TEST_F(EditBox, TypingReportsUpdateThenChangeForEveryCharacter) {
  Start(EditForm());
  TakeLog();
  QTest::keyClicks(QApplication::focusWidget(), "42");
  Settle();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
  Settle();
  EXPECT_EQ(TakeLog(),
            (Log{"Command 101 EN_UPDATE", "Command 101 EN_CHANGE", "Command 101 EN_UPDATE",
                 "Command 101 EN_CHANGE", "Command 101 EN_UPDATE", "Command 101 EN_CHANGE"}));
  EXPECT_EQ(TextOf(101), "4");
}

TEST_F(EditBox, PastedTextIsReportedAsAChange) {
  Start(EditForm());
  QGuiApplication::clipboard()->setText(QStringLiteral("7.5"));
  TakeLog();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(TextOf(101), "7.5");
  EXPECT_EQ(TakeLog(), (Log{"Command 101 EN_UPDATE", "Command 101 EN_CHANGE"}));
}

TEST_F(EditBox, ProgramWriteIsReportedBeforeTheCallReturns) {
  Start(EditForm(), [this](dialog::WindowHandle dialog, const dialog::WindowMessage& message) {
    if (message.message == Message::Command && CommandId(message) == 1) {
      host_->SetText(host_->DialogItem(dialog, 102), "abc");
      Note("SetText returned");
    }
    return std::intptr_t{message.message == Message::InitDialog};
  });
  TakeLog();
  QTest::mouseClick(Control(1), Qt::LeftButton);
  Settle();
  // The click moves the focus to the button first.
  EXPECT_EQ(TakeLog(), (Log{"Command 101 EN_KILLFOCUS", "Command 1 BN_CLICKED",
                            "Command 102 EN_UPDATE", "Command 102 EN_CHANGE", "SetText returned"}));
  EXPECT_EQ(Edit(Control(102))->text(), QStringLiteral("abc"));
}

TEST_F(EditBox, DigitsOnlyFieldRefusesTypedNonDigitsButNotPastedOrProgramText) {
  Start(EditForm());
  Control(103)->setFocus();
  ASSERT_TRUE(WaitUntil([this] { return Control(103)->hasFocus(); }));
  QTest::keyClicks(Control(103), "1a2.-3 ");
  Settle();
  EXPECT_EQ(TextOf(103), "123");
  QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
  QTest::keyClick(Control(103), Qt::Key_V, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(TextOf(103), "123x9");
  host_->SetText(ControlHandle(103), "-4.5");
  EXPECT_EQ(TextOf(103), "-4.5");
}

TEST_F(EditBox, WithoutAutomaticScrollingTypingStopsAtTheVisibleWidth) {
  FormBuilder form;
  form.Edit(101).Atom(102, dialog::kEditAtom, "",
                      dialog::kChildStyle | dialog::WS_BORDER | dialog::WS_TABSTOP);
  Start(Stacked(form.Template()));
  const QString wide(40, QLatin1Char('W'));
  QTest::keyClicks(Control(101), wide);
  QTest::keyClicks(Control(102), wide);
  Settle();
  EXPECT_EQ(TextOf(101).size(), 40u);
  const std::size_t kept = TextOf(102).size();
  EXPECT_GT(kept, 5u);
  EXPECT_LT(kept, 40u);
  host_->SetText(ControlHandle(102), wide.toStdString());
  EXPECT_EQ(TextOf(102).size(), 40u) << "the program's text is never cut";
}

// Memory stays bounded however much is pasted: the text stops at the host's
// default limit and the undo history holds one step, which a second undo
// redoes.
TEST_F(EditBox, HugePastesKeepTheTextLimitAndOneUndoStep) {
  Start(EditForm());
  auto* edit = Edit(Control(101));
  constexpr int kPastes = 40;
  constexpr int kLimit = 32767;
  const auto round = [](int n) { return QLatin1Char(static_cast<char>('a' + n % 26)); };
  for (int n = 0; n < kPastes; ++n) {
    QGuiApplication::clipboard()->setText(QString(100000, round(n)));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
  }
  const QString last(kLimit, round(kPastes - 1));
  const QString previous(kLimit, round(kPastes - 2));
  EXPECT_TRUE(edit->text() == last) << edit->text().size();
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_TRUE(edit->text() == previous) << "one undo returns to the paste before";
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_TRUE(edit->text() == last) << "a second undo redoes instead of going further back";
}

// Typing that goes on where the last typed text ended is one undo step;
// anything else starts a new one, and the program's own write leaves none.
TEST_F(EditBox, UndoTakesBackTheLastRunOfTypingOrTheLastEdit) {
  struct Case {
    const char* name;
    std::function<void(QLineEdit*)> edits;
    QString afterUndo;
  };
  const Case cases[] = {
      {"one run of typing", [](QLineEdit* e) { QTest::keyClicks(e, "123"); }, QString()},
      {"typing elsewhere starts a step",
       [](QLineEdit* e) {
         QTest::keyClicks(e, "123");
         QTest::keyClick(e, Qt::Key_Left);
         QTest::keyClicks(e, "x");
       },
       QStringLiteral("123")},
      {"a deletion is a step of its own",
       [](QLineEdit* e) {
         QTest::keyClicks(e, "123");
         QTest::keyClick(e, Qt::Key_Backspace);
       },
       QStringLiteral("123")},
      {"typing after a deletion is a new run",
       [](QLineEdit* e) {
         QTest::keyClicks(e, "123");
         QTest::keyClick(e, Qt::Key_Backspace);
         QTest::keyClicks(e, "45");
       },
       QStringLiteral("12")},
  };
  Start(EditForm());
  auto* edit = Edit(Control(101));
  for (const Case& c : cases) {
    host_->SetText(ControlHandle(101), "");
    c.edits(edit);
    Settle();
    const QString edited = edit->text();
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(edit->text(), c.afterUndo) << c.name;
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(edit->text(), edited) << c.name << ": the second undo redoes";
  }
  host_->SetText(ControlHandle(101), "7");
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(TextOf(101), "7") << "nothing to undo after the program's write";
}

TEST_F(EditBox, CaretKeepsItsPlaceWhenTheProgramRewritesTheText) {
  Start(EditForm());
  auto* edit = Edit(Control(101));
  QTest::keyClicks(edit, "12345");
  Settle();
  edit->setCursorPosition(3);
  host_->SetText(ControlHandle(101), "abcdefg");
  EXPECT_EQ(edit->cursorPosition(), 3);
  QTest::keyClick(edit, Qt::Key_X);
  Settle();
  EXPECT_EQ(TextOf(101), "abcxdefg");
  host_->SetText(ControlHandle(101), "ab");
  EXPECT_EQ(edit->cursorPosition(), 2);
}

TEST_F(EditBox, SelectionFollowsTheAnchorAndCaretConvention) {
  Start(EditForm());
  const auto edit = ControlHandle(101);
  host_->SetText(edit, "123456");
  struct Case {
    const char* name;
    std::int32_t start, end;
    QString selected;
    std::int32_t selectionEnd;
  };
  const Case cases[] = {
      {"all", 0, -1, QStringLiteral("123456"), 6},
      {"a range", 1, 4, QStringLiteral("234"), 4},
      {"backwards from the anchor", 5, 2, QStringLiteral("345"), 5},
      {"a caret", 2, 2, QString(), 2},
      {"past the end", 4, 99, QStringLiteral("56"), 6},
  };
  for (const Case& c : cases) {
    host_->SetSelection(edit, c.start, c.end);
    EXPECT_EQ(Edit(Control(101))->selectedText(), c.selected) << c.name;
    EXPECT_EQ(host_->SelectionEnd(edit), c.selectionEnd) << c.name;
  }
}

TEST_F(EditBox, ReportsFocusComingAndGoing) {
  Start(EditForm());
  TakeLog();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  Settle();
  EXPECT_EQ(TakeLog(), (Log{"Command 101 EN_KILLFOCUS", "Command 102 EN_SETFOCUS"}));
}

}  // namespace
}  // namespace quorvane::host::testing
