#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/host_driver.h"
#include "dialog/resources.h"
#include "host/qt/qt_window_system.h"

class QWidget;

// A user at the real widgets of the Qt host, for scenarios written against
// HostDriver. The scenario runs on a program thread (Play); its actions are
// collected and then played with QtTest events on the GUI thread once its form
// is up, each after the program has handled everything the one before caused.
// Inspections run on the GUI thread and read the widgets.
namespace quorvane::host::testing {

class QtDriver final : public dialog::HostDriver {
 public:
  QtDriver();
  ~QtDriver() override;

  dialog::WindowSystem& Host() override { return *host_; }
  dialog::ResourceTable& Resources() override { return resources_; }
  QtWindowSystem& Qt() { return *host_; }

  void TypeText(std::int32_t controlId, std::string_view text) override;
  void Click(std::int32_t controlId) override;
  void PressEscape() override;
  void PressEnter() override;
  void PressCloseBox() override;
  void SpinUp(std::int32_t spinnerId) override;
  void SpinDown(std::int32_t spinnerId) override;
  void Inspect(std::function<void()> check) override { steps_.push_back(std::move(check)); }
  std::string ShownText(std::int32_t controlId) override;
  bool ShownEnabled(std::int32_t controlId) override;
  bool ShownChecked(std::int32_t controlId) override;

  // Runs program on a program thread and plays the collected steps in its
  // innermost form. A form still up when the steps have run out is ended with
  // -1. False when no form came up or the program did not return.
  bool Play(std::function<void()> program);

 private:
  QWidget* FormWidget();
  QWidget* ControlWidget(std::int32_t controlId);
  QWidget* KeyTarget();
  bool WaitUntilIdle();

  dialog::ResourceTable resources_;
  std::unique_ptr<QtWindowSystem> host_;
  std::vector<std::function<void()>> steps_;
};

}  // namespace quorvane::host::testing
