#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dialog/resources.h"
#include "dialog/window_system.h"

// A user sitting in front of a host, for runtime scenarios that run the same
// way on the scripted host and on a real one. Actions are queued and carried
// out in order inside the next modal loop, each after the notifications of the
// one before have been handled by the runtime. Inspections run at their place
// in the queue and may only look at what the window shows (through the
// Shown... queries) or at the form (through the runtime's get operations).
namespace quorvane::dialog {

class HostDriver {
 public:
  virtual ~HostDriver() = default;

  // The host the runtime must use; the scenario installs it with SetWindowSystem.
  virtual WindowSystem& Host() = 0;
  // The resources that host finds templates in.
  virtual ResourceTable& Resources() = 0;

  // Selects all of an edit box's text and types text character by character.
  virtual void TypeText(std::int32_t controlId, std::string_view text) = 0;
  virtual void Click(std::int32_t controlId) = 0;
  virtual void PressEscape() = 0;
  virtual void PressEnter() = 0;
  virtual void PressCloseBox() = 0;
  virtual void SpinUp(std::int32_t spinnerId) = 0;
  virtual void SpinDown(std::int32_t spinnerId) = 0;
  virtual void Inspect(std::function<void()> check) = 0;

  // What the shown form displays; valid inside Inspect.
  virtual std::string ShownText(std::int32_t controlId) = 0;
  virtual bool ShownEnabled(std::int32_t controlId) = 0;
  virtual bool ShownChecked(std::int32_t controlId) = 0;
};

}  // namespace quorvane::dialog
