#include "qt_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "host/qt/program_thread.h"
#include "host/qt/up_down_widget.h"
#include "qt_host_fixture.h"

namespace quorvane::host::testing {

QtDriver::QtDriver() {
  EnsureApplication();
  host_ = std::make_unique<QtWindowSystem>(resources_);
}

QtDriver::~QtDriver() = default;

QWidget* QtDriver::FormWidget() {
  return host_->Widget(host_->ActiveDialog());
}

QWidget* QtDriver::ControlWidget(std::int32_t controlId) {
  const dialog::WindowHandle form = host_->ActiveDialog();
  return form ? host_->Widget(host_->DialogItem(form, controlId)) : nullptr;
}

QWidget* QtDriver::KeyTarget() {
  QWidget* focus = QApplication::focusWidget();
  return focus && focus->window() == FormWidget() ? focus : FormWidget();
}

void QtDriver::TypeText(std::int32_t controlId, std::string_view text) {
  steps_.push_back([this, controlId, typed = std::string(text)] {
    QWidget* edit = ControlWidget(controlId);
    if (!edit) return;
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (typed.empty()) QTest::keyClick(edit, Qt::Key_Delete);
    for (const char c : typed) QTest::keyClick(edit, c);
  });
}

void QtDriver::Click(std::int32_t controlId) {
  steps_.push_back([this, controlId] {
    QWidget* button = ControlWidget(controlId);
    // Near the left edge: on a radio button's mark, inside any button's face.
    if (button) QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  });
}

void QtDriver::PressEscape() {
  steps_.push_back([this] { QTest::keyClick(KeyTarget(), Qt::Key_Escape); });
}

void QtDriver::PressEnter() {
  steps_.push_back([this] { QTest::keyClick(KeyTarget(), Qt::Key_Return); });
}

void QtDriver::PressCloseBox() {
  steps_.push_back([this] {
    if (QWidget* form = FormWidget()) form->close();
  });
}

void QtDriver::SpinUp(std::int32_t spinnerId) {
  steps_.push_back([this, spinnerId] {
    if (auto* spin = qobject_cast<UpDownWidget*>(ControlWidget(spinnerId))) {
      QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    }
  });
}

void QtDriver::SpinDown(std::int32_t spinnerId) {
  steps_.push_back([this, spinnerId] {
    if (auto* spin = qobject_cast<UpDownWidget*>(ControlWidget(spinnerId))) {
      QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    }
  });
}

std::string QtDriver::ShownText(std::int32_t controlId) {
  QWidget* widget = ControlWidget(controlId);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
  return {};
}

bool QtDriver::ShownEnabled(std::int32_t controlId) {
  QWidget* widget = ControlWidget(controlId);
  return widget && widget->isEnabled();
}

bool QtDriver::ShownChecked(std::int32_t controlId) {
  auto* button = qobject_cast<QAbstractButton*>(ControlWidget(controlId));
  return button && button->isChecked();
}

bool QtDriver::WaitUntilIdle() {
  return WaitUntil([this] { return host_->IsIdle(); });
}

bool QtDriver::Play(std::function<void()> program) {
  ProgramThread thread(std::move(program));
  thread.Start();
  const bool shown =
      WaitUntil([&] { return host_->ActiveDialog() != nullptr || thread.HasFinished(); }) &&
      host_->ActiveDialog() != nullptr;
  if (shown) {
    WaitUntil([this] { return QApplication::activeWindow() == FormWidget(); });
    WaitUntilIdle();
    for (const auto& step : steps_) {
      if (!host_->ActiveDialog()) break;
      step();
      WaitUntilIdle();
    }
  }
  steps_.clear();
  // A form the steps did not end would leave the program thread waiting.
  while (!thread.HasFinished() && host_->ActiveDialog()) {
    host_->EndDialog(host_->ActiveDialog(), -1);
    WaitUntilIdle();
  }
  return WaitUntil([&] { return thread.HasFinished(); }) && shown;
}

}  // namespace quorvane::host::testing
