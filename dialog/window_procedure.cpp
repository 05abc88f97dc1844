#include "dialog/control_values.h"
#include "dialog/creation_block.h"
#include "dialog/form_access.h"
#include "dialog/form_window.h"
#include "dialog/initial_items.h"
#include "dialog/modal_run.h"
#include "dialog/notification_dispatch.h"

namespace quorvane::dialog {
namespace {

constexpr std::intptr_t kNotifyFormatAnsi = 1;
constexpr std::uintptr_t kLargestSizeType = 2;  // restored, minimized, maximized

DialogForm* dispatchingForm = nullptr;

class DispatchingFormScope {
 public:
  explicit DispatchingFormScope(DialogForm& form) : saved_(dispatchingForm) {
    dispatchingForm = &form;
  }
  ~DispatchingFormScope() { dispatchingForm = saved_; }
  DispatchingFormScope(const DispatchingFormScope&) = delete;
  DispatchingFormScope& operator=(const DispatchingFormScope&) = delete;

 private:
  DialogForm* saved_;
};

CreationBlock* BlockOf(WindowHandle dialog) {
  auto* block = reinterpret_cast<CreationBlock*>(CurrentWindowSystem().UserData(dialog));
  if (block == nullptr || block->signature != kCreationBlockSignature || block->form == nullptr) {
    return nullptr;
  }
  return block;
}

std::intptr_t InitDialog(DialogForm& form, WindowHandle dialog) {
  form.window = dialog;
  // Every record is written below; marking them first keeps the initial items
  // from reading back the new, still empty window.
  for (ControlRecord& record : form.controls) record.changed = kTrue;
  LoadInitialItems(form);
  if (form.formRecord.hasTitle) CurrentWindowSystem().SetText(dialog, form.formRecord.title);
  WriteEveryRecord(form);
  form.initHandler(form, form.templateId, EventKind::Init);
  WriteChangedRecords(form);
  return 1;
}

std::intptr_t Destroy(DialogForm& form, const CreationBlock& block) {
  if (block.modal == 0) ReadEveryRecordBack(form);
  form.initHandler(form, form.templateId, EventKind::Destroy);
  return 1;
}

std::intptr_t Size(DialogForm& form, std::uintptr_t sizeType) {
  if (sizeType > kLargestSizeType) return 0;
  form.formRecord.sizeChangedHandler(form, form.templateId, EventKind::SizeChanged);
  return 1;
}

std::intptr_t Handle(DialogForm& form, const CreationBlock& block, WindowHandle dialog,
                     const WindowMessage& message) {
  const auto low = static_cast<std::int32_t>(message.wParam & 0xFFFF);
  const auto high = static_cast<std::int32_t>((message.wParam >> 16) & 0xFFFF);
  switch (message.message) {
    case Message::InitDialog:
      return InitDialog(form, dialog);
    case Message::Command:
      return DispatchNotification(form, low, high);
    case Message::Notify: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(message.lParam);
      if (header == nullptr) return 0;
      return DispatchNotification(form, static_cast<std::int32_t>(header->idFrom), header->code);
    }
    case Message::HScroll:
    case Message::VScroll: {
      const auto control = reinterpret_cast<WindowHandle>(message.lParam);
      HandleScroll(form, control, low, static_cast<std::int16_t>(high));
      return 1;
    }
    case Message::Destroy:
      return Destroy(form, block);
    case Message::Size:
      return Size(form, message.wParam);
    default:
      return 0;
  }
}

}  // namespace

DialogForm* DispatchingForm() {
  return dispatchingForm;
}

std::intptr_t FormWindowProcedure(WindowHandle dialog, const WindowMessage& message) {
  WindowSystem& host = CurrentWindowSystem();
  if (message.message == Message::InitDialog) host.SetUserData(dialog, message.lParam);
  if (message.message == Message::NotifyFormat) {
    host.SetMessageResult(dialog, kNotifyFormatAnsi);
    return 1;
  }
  CreationBlock* block = BlockOf(dialog);
  if (block == nullptr) return 0;
  DialogForm& form = *block->form;
  DispatchingFormScope scope(form);
  return Handle(form, *block, dialog, message);
}

}  // namespace quorvane::dialog
