// Feeds arbitrary bytes to the template reader and, as a dialog resource, to
// the form loader, then runs a loaded form on the scripted host with a few
// user actions on its first controls.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dialog/control_values.h"
#include "dialog/dialog_form.h"
#include "dialog/dialog_template.h"
#include "dialog/modal_run.h"
#include "dialog/window_system.h"
#include "tests/dialog/scripted_host.h"

namespace {

using namespace quorvane::dialog;

constexpr std::int32_t kTemplateId = 7;
constexpr std::size_t kControlsExercised = 8;

// What the reader accepts, the writer must give back unchanged.
void CheckRoundTrip(std::span<const std::uint8_t> bytes) {
  const auto dialog = ReadDialogTemplate(bytes);
  if (!dialog) return;
  const auto again = ReadDialogTemplate(WriteDialogTemplate(*dialog));
  if (!again || !(*again == *dialog)) std::abort();
}

void Exercise(ScriptedHost& host, DialogForm& form) {
  char buffer[16];
  for (std::size_t k = 0; k < form.controls.size() && k < kControlsExercised; ++k) {
    const std::int32_t id = form.controls[k].id;
    SetControlText(form, id, "12.5");
    SetControlInteger(form, id, 3);
    SetControlLogical(form, id, kTrue);
    GetControlText(form, id, buffer);
    host.TypeText(id, "7");
    host.Click(id);
    host.SpinUp(id);
    host.SendScroll(id, SB_LINEDOWN, 0);
  }
  host.PressEscape();
  RunFormModal(form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckRoundTrip(bytes);
  ResourceTable resources;
  resources.Add(kProgramModule, RT_DIALOG, kTemplateId, {bytes.begin(), bytes.end()});
  ScriptedHost host(resources);
  SetWindowSystem(&host);
  DialogForm form;
  try {
    if (LoadForm(form, kTemplateId) == kTrue) Exercise(host, form);
  } catch (const ProgramEnded&) {
    // A rejected style ends the program through the host; nothing more to check.
  }
  ReleaseForm(form);
  SetWindowSystem(nullptr);
  return 0;
}
