#pragma once

#include "host_driver.h"
#include "scripted_host.h"

namespace quorvane::dialog {

// The user of the scripted host: every action is a step of its script.
class ScriptedDriver final : public HostDriver {
 public:
  WindowSystem& Host() override { return host_; }
  ResourceTable& Resources() override { return resources_; }
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
  bool ShownChecked(std::int32_t controlId) override { return host_.ShownCheck(controlId) != 0; }

  ScriptedHost& Scripted() { return host_; }

 private:
  ResourceTable resources_;
  ScriptedHost host_{resources_};
};

}  // namespace quorvane::dialog
