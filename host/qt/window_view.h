#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dialog/resources.h"

// What the program may read of a window without a trip to the GUI thread: a
// copy of each window's state that the GUI thread keeps current as it changes
// (before it reports the change), and the slots only the program writes. The
// program's own writes go to the GUI thread and update the copy before they
// return, so a read always sees what the window shows.
namespace quorvane::host {

struct WindowView {
  std::uintptr_t dialog = 0;  // the dialog a control belongs to; 0 for dialogs and the frame
  std::int32_t id = 0;
  dialog::ModuleHandle module = dialog::kProgramModule;
  std::intptr_t userData = 0;
  std::intptr_t messageResult = 0;
  std::string text;
  std::int32_t selectionEnd = 0;
  bool hasSelection = false;
  std::int32_t enabled = 1;
  std::int32_t check = 0;
  std::uint32_t spinRange = 0;
  std::vector<std::pair<std::int32_t, std::uintptr_t>> items;  // a dialog's controls in order
};

class WindowViews {
 public:
  void Put(std::uintptr_t handle, WindowView view);
  void Remove(std::uintptr_t handle);
  // Runs change on the view of handle, if there is one.
  template <typename Change>
  void Update(std::uintptr_t handle, Change change) {
    std::lock_guard lock(mutex_);
    const auto found = views_.find(handle);
    if (found != views_.end()) change(found->second);
  }
  // The value read from the view of handle, or fallback when there is none.
  template <typename Value, typename Reader>
  Value Read(std::uintptr_t handle, Value fallback, Reader read) const {
    std::lock_guard lock(mutex_);
    const auto found = views_.find(handle);
    return found == views_.end() ? fallback : read(found->second);
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::uintptr_t, WindowView> views_;
};

}  // namespace quorvane::host
