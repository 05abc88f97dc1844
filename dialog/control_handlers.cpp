#include "dialog/control_classes.h"
#include "dialog/control_values.h"
#include "dialog/form_access.h"
#include "dialog/modal_run.h"

namespace quorvane::dialog {

void NoOpHandler(DialogForm&, std::int32_t, EventKind) {}

void DefaultPushButtonHandler(DialogForm& form, std::int32_t controlId, EventKind) {
  SetFormResult(form, controlId);
  CloseForm(form);
}

Logical SetControlHandler(DialogForm& form, std::int32_t controlId, ControlHandler handler,
                          EventKind kind) {
  // A null routine would be called later; it stands for "do nothing".
  if (handler == nullptr) handler = NoOpHandler;
  ControlRecord* record = FindControl(form, controlId);
  if (record == nullptr) {
    if (controlId != form.templateId) return kFalse;
    if (kind == EventKind::SizeChanged) {
      form.formRecord.sizeChangedHandler = handler;
    } else {
      form.initHandler = handler;
    }
    return kTrue;
  }
  if (IsTrue(record->duplicate)) return kFalse;
  const auto slot = HandlerSlot(record->controlClass, kind);
  if (!slot) return kFalse;
  record->handlers[*slot] = handler;
  return kTrue;
}

}  // namespace quorvane::dialog
