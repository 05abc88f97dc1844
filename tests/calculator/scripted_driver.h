#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dialog/host_driver.h"
#include "dialog/scripted_host.h"

namespace quorvane::calculator::testing {

// A user at the in-memory host: every action goes into the host's script.
class ScriptedDriver final : public dialog::HostDriver {
 public:
  explicit ScriptedDriver(dialog::ScriptedHost& host) : host_(host) {}

  dialog::WindowSystem& Host() override { return host_; }
  void TypeText(std::int32_t controlId, std::string_view text) override {
    host_.TypeText(controlId, text);
  }
  void Click(std::int32_t controlId) override { host_.Click(controlId); }
  void PressEscape() override { host_.PressEscape(); }
  void PressEnter() override { host_.PressEnter(); }
  void PressCloseBox() override { host_.PressCloseBox(); }
  void SpinUp(std::int32_t spinnerId) override { host_.SpinUp(spinnerId); }
  void SpinDown(std::int32_t spinnerId) override { host_.SpinDown(spinnerId); }
  void Inspect(std::function<void()> check) override { host_.Then(std::move(check)); }
  std::string ShownText(std::int32_t controlId) override { return host_.ShownText(controlId); }
  bool ShownEnabled(std::int32_t controlId) override { return host_.ShownEnabled(controlId); }
  bool ShownChecked(std::int32_t controlId) override { return host_.ShownCheck(controlId) == 1; }

 private:
  dialog::ScriptedHost& host_;
};

}  // namespace quorvane::calculator::testing
