#include "qt_host_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include "dialog/window_styles.h"

namespace quorvane::host::testing {
namespace {

constexpr std::int32_t kTemplateId = 100;
constexpr int kWaitMilliseconds = 10000;
constexpr std::int16_t kRowHeight = 16;

std::string CodeName(std::int32_t code) {
  switch (code) {
    case dialog::BN_CLICKED:
      return "BN_CLICKED";
    case dialog::EN_SETFOCUS:
      return "EN_SETFOCUS";
    case dialog::EN_KILLFOCUS:
      return "EN_KILLFOCUS";
    case dialog::EN_CHANGE:
      return "EN_CHANGE";
    case dialog::EN_UPDATE:
      return "EN_UPDATE";
    default:
      return std::to_string(code);
  }
}

std::string Describe(const dialog::WindowMessage& message) {
  switch (message.message) {
    case dialog::Message::InitDialog:
      return "InitDialog";
    case dialog::Message::Destroy:
      return "Destroy";
    case dialog::Message::Close:
      return "Close";
    case dialog::Message::Command:
      return "Command " + std::to_string(CommandId(message)) + " " + CodeName(CommandCode(message));
    case dialog::Message::VScroll:
      return "VScroll " + std::to_string(message.wParam & 0xFFFF) + " " +
             std::to_string(static_cast<std::int16_t>(message.wParam >> 16));
    default:
      return "Message " + std::to_string(static_cast<std::uint32_t>(message.message));
  }
}

}  // namespace

QtHostTest* QtHostTest::current_ = nullptr;

void EnsureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quorvane_host_test";
  static char* argv[] = {name, nullptr};
  // Kept for the whole process: widgets of every test live in it.
  static QApplication* application = new QApplication(argc, argv);
  application->setQuitOnLastWindowClosed(false);
}

bool WaitUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > kWaitMilliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::usleep(100);
  }
  return true;
}

dialog::DialogTemplate Stacked(dialog::DialogTemplate form) {
  std::int16_t y = 4;
  for (auto& item : form.items) {
    item.x = 4;
    item.y = y;
    item.cx = 80;
    item.cy = 12;
    y = static_cast<std::int16_t>(y + kRowHeight);
  }
  form.cx = 120;
  form.cy = static_cast<std::int16_t>(y + 4);
  return form;
}

void QtHostTest::SetUp() {
  EnsureApplication();
  host_ = std::make_unique<QtWindowSystem>(resources_);
  current_ = this;
}

void QtHostTest::TearDown() {
  Finish();
  program_.reset();
  host_.reset();
  current_ = nullptr;
}

std::intptr_t QtHostTest::Procedure(dialog::WindowHandle dialog,
                                    const dialog::WindowMessage& message) {
  QtHostTest* test = current_;
  {
    std::lock_guard lock(test->logMutex_);
    test->log_.push_back(Describe(message));
  }
  if (test->reaction_) return test->reaction_(dialog, message);
  return message.message == dialog::Message::InitDialog ? 1 : 0;
}

void QtHostTest::Start(const dialog::DialogTemplate& form, Reaction reaction) {
  Install(kTemplateId, form);
  reaction_ = std::move(reaction);
  program_ = std::make_unique<ProgramThread>([this] {
    result_ = host_->RunModalDialog(dialog::kProgramModule, kTemplateId, nullptr, &Procedure, 0);
  });
  program_->Start();
  ASSERT_TRUE(WaitUntil([this] { return host_->ActiveDialog() != nullptr; }));
  dialog_ = host_->ActiveDialog();
  ASSERT_TRUE(WaitUntil([this] { return QApplication::activeWindow() == DialogWidget(); }));
  Settle();
}

void QtHostTest::Settle() {
  ASSERT_TRUE(WaitUntil([this] { return host_->IsIdle(); }));
}

void QtHostTest::Finish() {
  if (!program_) return;
  if (!program_->HasFinished() && host_->ActiveDialog())
    host_->EndDialog(host_->ActiveDialog(), -1);
  ASSERT_TRUE(WaitUntil([this] { return program_->HasFinished(); }));
}

dialog::WindowHandle QtHostTest::ControlHandle(std::int32_t id) {
  return host_->DialogItem(dialog_, id);
}

QWidget* QtHostTest::Control(std::int32_t id) {
  return host_->Widget(ControlHandle(id));
}

QWidget* QtHostTest::DialogWidget() {
  return host_->Widget(dialog_);
}

std::string QtHostTest::TextOf(std::int32_t id) {
  return host_->Text(ControlHandle(id));
}

void QtHostTest::Note(const std::string& line) {
  std::lock_guard lock(logMutex_);
  log_.push_back(line);
}

void QtHostTest::Install(std::int32_t templateId, const dialog::DialogTemplate& form) {
  resources_.Add(dialog::kProgramModule, dialog::RT_DIALOG, templateId,
                 dialog::WriteDialogTemplate(form));
}

std::vector<std::string> QtHostTest::TakeLog() {
  std::lock_guard lock(logMutex_);
  std::vector<std::string> taken;
  taken.swap(log_);
  return taken;
}

}  // namespace quorvane::host::testing
