#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <chrono>
#include <thread>

#include "dialog/form_builder.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {
namespace {

using dialog::FormBuilder;
using dialog::Message;
using Log = std::vector<std::string>;
constexpr std::int32_t kTyped = 601;
constexpr std::int32_t kFirstEcho = 611;
constexpr int kEchoes = 6;

dialog::DialogTemplate EchoForm() {
  FormBuilder form;
  form.Edit(kTyped);
  for (int i = 0; i < kEchoes; ++i) form.Edit(kFirstEcho + i);
  return Stacked(form.Template());
}

class TwoThreads : public QtHostTest {
 protected:
  // On every change of the typed field the program upper-cases it in place
  // and writes it, numbered, into six other fields, slowly enough that keys
  // arrive while it works.
  void StartEcho() {
    Start(EchoForm(), [this](dialog::WindowHandle dialog, const dialog::WindowMessage& m) {
      if (m.message == Message::InitDialog) return std::intptr_t{1};
      if (writing_ || m.message != Message::Command || CommandId(m) != kTyped ||
          CommandCode(m) != dialog::EN_CHANGE) {
        return std::intptr_t{0};
      }
      writing_ = true;
      const auto typed = host_->DialogItem(dialog, kTyped);
      std::string text = host_->Text(typed);
      for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      host_->SetText(typed, text);
      for (int i = 0; i < kEchoes; ++i) {
        host_->SetText(host_->DialogItem(dialog, kFirstEcho + i), text + "-" + std::to_string(i));
      }
      writing_ = false;
      return std::intptr_t{1};
    });
  }
  std::vector<std::string> Shown() {
    std::vector<std::string> texts;
    for (int id = kTyped; id < kFirstEcho + kEchoes; id = id == kTyped ? kFirstEcho : id + 1) {
      texts.push_back(qobject_cast<QLineEdit*>(Control(id))->text().toStdString());
    }
    return texts;
  }
  bool writing_ = false;  // program thread only
};

const std::vector<std::string> kEchoed{"QU1RK",   "QU1RK-0", "QU1RK-1", "QU1RK-2",
                                       "QU1RK-3", "QU1RK-4", "QU1RK-5"};

TEST_F(TwoThreads, TypingSlowlyGivesTheHandlersTexts) {
  StartEcho();
  for (const char c : std::string("qu1rk")) {
    QTest::keyClicks(Control(kTyped), QString(QLatin1Char(c)));
    Settle();
  }
  EXPECT_EQ(Shown(), kEchoed);
}

TEST_F(TwoThreads, TypingFastGivesTheSameTextsAsTypingSlowly) {
  StartEcho();
  QTest::keyClicks(Control(kTyped), "qu1rk");
  EXPECT_FALSE(host_->IsIdle()) << "keys were held back while the program worked";
  Settle();
  EXPECT_EQ(Shown(), kEchoed);
}

TEST_F(TwoThreads, KeysHeldBackFollowAFocusMovedByAnEarlierKey) {
  StartEcho();
  QWidget* typedAt = QApplication::focusWidget();
  ASSERT_EQ(typedAt, Control(kTyped));
  QTest::keyClicks(typedAt, "a");
  QTest::keyClick(typedAt, Qt::Key_Tab);
  QTest::keyClicks(typedAt, "z");
  Settle();
  EXPECT_EQ(TextOf(kTyped), "A");
  EXPECT_EQ(TextOf(kFirstEcho), "z") << "Tab selected the echo's text and z replaced it";
}

TEST_F(TwoThreads, EndDialogReturnsTheResultAndDestroysTheDialog) {
  FormBuilder form;
  form.Button(1, "OK", dialog::BS_PUSHBUTTON);
  Start(Stacked(form.Template()),
        [this](dialog::WindowHandle dialog, const dialog::WindowMessage& m) {
          if (m.message == Message::Command && CommandId(m) == 1) host_->EndDialog(dialog, 7);
          return std::intptr_t{m.message == Message::InitDialog};
        });
  QPointer<QWidget> shown = DialogWidget();
  TakeLog();
  QTest::mouseClick(Control(1), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([this] { return program_->HasFinished(); }));
  EXPECT_EQ(result_, 7);
  EXPECT_EQ(TakeLog(), (Log{"Command 1 BN_CLICKED", "Destroy"}));
  EXPECT_TRUE(shown.isNull());
  EXPECT_EQ(host_->ActiveDialog(), nullptr);
}

TEST_F(TwoThreads, AFormWithoutParentIsOwnedByTheHiddenFrame) {
  QWidget frame;
  host_->SetDefaultParent(&frame);
  ASSERT_NE(host_->DefaultParent(), nullptr);
  EXPECT_EQ(host_->Widget(host_->DefaultParent()), &frame);
  FormBuilder form;
  form.Edit(1);
  Start(Stacked(form.Template()));
  EXPECT_EQ(DialogWidget()->parentWidget(), &frame);
  EXPECT_FALSE(frame.isVisible());
  EXPECT_TRUE(DialogWidget()->isVisible());
  Finish();
  host_->SetDefaultParent(nullptr);
  EXPECT_EQ(host_->DefaultParent(), nullptr);
}

TEST_F(TwoThreads, AMissingTemplateFailsTheRun) {
  program_ = std::make_unique<ProgramThread>([this] {
    result_ = host_->RunModalDialog(
        dialog::kProgramModule, 4242, nullptr,
        [](dialog::WindowHandle, const dialog::WindowMessage&) { return std::intptr_t{0}; }, 0);
  });
  program_->Start();
  ASSERT_TRUE(WaitUntil([this] { return program_->HasFinished(); }));
  EXPECT_EQ(result_, -1);
}

TEST_F(TwoThreads, ModalRunsNestAndTheInnerDialogIsOwnedByTheOuter) {
  FormBuilder inner;
  inner.Title("Inner").Button(710, "Done", dialog::BS_PUSHBUTTON);
  Install(101, Stacked(inner.Template()));
  FormBuilder outer;
  outer.Button(700, "Open", dialog::BS_PUSHBUTTON).Edit(701);
  Start(Stacked(outer.Template()), [this](dialog::WindowHandle dialog,
                                          const dialog::WindowMessage& m) {
    if (m.message == Message::InitDialog) return std::intptr_t{1};
    if (m.message != Message::Command || CommandCode(m) != dialog::BN_CLICKED)
      return std::intptr_t{0};
    if (CommandId(m) == 700) {
      Note("inner returned " + std::to_string(host_->RunModalDialog(
                                   dialog::kProgramModule, 101, dialog, QtHostTest::Procedure, 0)));
    }
    if (CommandId(m) == 710) host_->EndDialog(dialog, 42);
    return std::intptr_t{1};
  });
  QWidget* outerWidget = DialogWidget();
  TakeLog();
  QTest::mouseClick(Control(700), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return host_->ActiveDialog() != dialog_ && host_->IsIdle(); }));
  QWidget* innerWidget = host_->Widget(host_->ActiveDialog());
  EXPECT_EQ(innerWidget->parentWidget(), outerWidget);
  EXPECT_EQ(innerWidget->windowTitle(), QStringLiteral("Inner"));
  QTest::mouseClick(host_->Widget(host_->DialogItem(host_->ActiveDialog(), 710)), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return host_->ActiveDialog() == dialog_ && host_->IsIdle(); }));
  const Log log = TakeLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "inner returned 42");
  QTest::keyClicks(Control(701), "5");
  Settle();
  EXPECT_EQ(TextOf(701), "5");
  EXPECT_FALSE(program_->HasFinished());
}

}  // namespace
}  // namespace quorvane::host::testing
