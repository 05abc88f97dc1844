#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/host_driver.h"
#include "dialog/resources.h"
#include "host/windows/win32_window_system.h"

// A user at the real Windows dialog manager, for scenarios written against
// HostDriver. The scenario runs on the calling thread (Play); once its form is
// up, a thread timer plays the collected steps inside the modal loop, one per
// tick: the system makes a timer tick only when the queue is empty, so each
// step follows everything the one before caused. Input arrives as the
// messages the system's own input would post.
namespace quorvane::host::testing {

class Win32Driver final : public dialog::HostDriver {
 public:
  Win32Driver();

  dialog::WindowSystem& Host() override { return host_; }
  dialog::ResourceTable& Resources() override { return resources_; }
  Win32WindowSystem& Windows() { return host_; }

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

  // Pastes text into a field through the clipboard.
  void Paste(std::int32_t controlId, std::string_view text);
  // Presses a key (a virtual-key code) in the focused control.
  void PressKey(std::uint32_t virtualKey);

  // Runs program and plays the collected steps in its innermost form. A form
  // still up when the steps have run out is ended with -1. False when no form
  // came up.
  bool Play(const std::function<void()>& program);

  // One tick of the playing timer: the next step, or the end of the form.
  void TickForTimer();

  // The innermost form, or null.
  dialog::WindowHandle Form();
  dialog::WindowHandle Control(std::int32_t controlId);

 private:
  void Step(std::int32_t spinnerId, bool up);

  dialog::ResourceTable resources_;
  Win32WindowSystem host_;
  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  bool formSeen_ = false;
};

}  // namespace quorvane::host::testing
