#pragma once

#include <cstdint>

#include "dialog/dialog_form.h"
#include "dialog/window_system.h"

// The block a run hands to the host as the dialog's creation parameter; the
// window procedure keeps it in the window's user data slot and finds the form
// through it.
namespace quorvane::dialog {

inline constexpr std::uint32_t kCreationBlockSignature = 0xDFDBDFDBu;

struct CreationBlock {
  std::int32_t size = sizeof(CreationBlock);
  std::uint32_t signature = kCreationBlockSignature;
  void* activeXHost = nullptr;
  void* activeXSite = nullptr;
  DialogForm* form = nullptr;
  std::int32_t modal = 1;
};

// The window procedure every form's window runs.
std::intptr_t FormWindowProcedure(WindowHandle dialog, const WindowMessage& message);

}  // namespace quorvane::dialog
