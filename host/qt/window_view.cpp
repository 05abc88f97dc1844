#include "host/qt/window_view.h"

namespace quorvane::host {

void WindowViews::Put(std::uintptr_t handle, WindowView view) {
  std::lock_guard lock(mutex_);
  views_[handle] = std::move(view);
}

void WindowViews::Remove(std::uintptr_t handle) {
  std::lock_guard lock(mutex_);
  views_.erase(handle);
}

}  // namespace quorvane::host
