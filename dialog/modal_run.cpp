#include "dialog/modal_run.h"

#include <memory>

#include "dialog/creation_block.h"
#include "dialog/form_access.h"
#include "dialog/form_window.h"
#include "dialog/runtime_messages.h"

namespace quorvane::dialog {
namespace {

DialogForm* runningForm = nullptr;

// Restores the running form however the run ends (a fatal error in a test
// host leaves by exception).
class RunningFormScope {
 public:
  explicit RunningFormScope(DialogForm& form) : saved_(runningForm) { runningForm = &form; }
  ~RunningFormScope() { runningForm = saved_; }
  RunningFormScope(const RunningFormScope&) = delete;
  RunningFormScope& operator=(const RunningFormScope&) = delete;
  DialogForm* Saved() const { return saved_; }

 private:
  DialogForm* saved_;
};

WindowHandle ChooseParent(WindowHandle given, DialogForm* savedRunning) {
  if (given != nullptr) return given;
  if (savedRunning != nullptr && savedRunning->window != nullptr) return savedRunning->window;
  DialogForm* dispatching = DispatchingForm();
  if (dispatching != nullptr && dispatching->window != nullptr) return dispatching->window;
  return CurrentWindowSystem().DefaultParent();
}

ModuleHandle ChooseModule(const DialogForm& form, WindowHandle parent) {
  if (form.formRecord.module != kProgramModule) return form.formRecord.module;
  if (parent != nullptr) return CurrentWindowSystem().WindowModule(parent);
  return kProgramModule;
}

}  // namespace

DialogForm* RunningForm() {
  return runningForm;
}

std::int32_t RunFormModal(DialogForm& form) {
  return RunFormModal(form, nullptr);
}

std::int32_t RunFormModal(DialogForm& form, WindowHandle parent) {
  RunningFormScope scope(form);
  const WindowHandle owner = ChooseParent(parent, scope.Saved());
  const ModuleHandle module = ChooseModule(form, owner);
  // No component hosts ActiveX controls here, so such a form cannot run.
  if (IsTrue(form.formRecord.hasActiveX)) {
    ReportRuntimeMessage(kActiveXHostMissing, {});
    return -1;
  }
  auto block = std::make_unique<CreationBlock>();
  block->form = &form;
  form.modal = true;
  const std::int32_t outcome =
      CurrentWindowSystem().RunModalDialog(module, form.templateId, owner, FormWindowProcedure,
                                           reinterpret_cast<std::intptr_t>(block.get()));
  // The window is gone whichever way the loop ended.
  form.window = nullptr;
  if (outcome == -1) return -1;
  return form.result;
}

void CloseForm(DialogForm& form) {
  if (!IsShown(form)) return;
  if (form.modal) ReadEveryRecordBack(form);
  const WindowHandle window = form.window;
  form.window = nullptr;
  CurrentWindowSystem().EndDialog(window, form.result);
}

void SetFormResult(DialogForm& form, std::int32_t value) {
  form.result = value;
}

void ReleaseForm(DialogForm& form) {
  // A shown form's window still refers to its records.
  if (IsShown(form)) return;
  form.controls.clear();
  form.controls.shrink_to_fit();
  form.formRecord = FormRecord{};
  form.initHandler = NoOpHandler;
}

}  // namespace quorvane::dialog
