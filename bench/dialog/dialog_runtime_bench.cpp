// The runtime's share of one user edit: a handler that sets six fields, then
// the write pass that sends them to the window, on the scripted host.
#include <benchmark/benchmark.h>

#include <string>

#include "calculator/calculator_form.h"
#include "dialog/control_values.h"
#include "dialog/modal_run.h"
#include "dialog/resources.h"
#include "dialog/window_system.h"
#include "tests/dialog/scripted_host.h"

namespace {

using namespace quorvane::dialog;

constexpr std::int32_t kFormId = 101;
constexpr std::int32_t kTrigger = 1037;
constexpr std::int32_t kFields[] = {1000, 1001, 1002, 1032, 1043, 1020};
constexpr std::int32_t kExit = 8;

int edits = 0;

void SetSixFields(DialogForm& form, std::int32_t, EventKind) {
  ++edits;
  const std::string text = std::to_string(edits % 1000) + ".25000";
  for (std::int32_t id : kFields) SetControlText(form, id, text);
}

// From typing into the trigger field to the six fields shown.
void BM_HandlerSettingSixFieldsAndTheWritePass(benchmark::State& state) {
  ResourceTable resources;
  resources.Add(kProgramModule, RT_DIALOG, kFormId,
                WriteDialogTemplate(quorvane::calculator::CalculatorFormTemplate()));
  ScriptedHost host(resources);
  host.KeepRecord(false);
  SetWindowSystem(&host);
  DialogForm form;
  LoadForm(form, kFormId);
  SetControlHandler(form, kTrigger, SetSixFields);
  host.Then([&] {
    WindowHandle trigger = host.DialogItem(form.window, kTrigger);
    for (auto _ : state) host.SetText(trigger, "298.000");
  });
  host.Click(kExit);
  RunFormModal(form);
  ReleaseForm(form);
  SetWindowSystem(nullptr);
}
BENCHMARK(BM_HandlerSettingSixFieldsAndTheWritePass);

// Loading the calculator's 47-control template into a form.
void BM_LoadCalculatorForm(benchmark::State& state) {
  ResourceTable resources;
  resources.Add(kProgramModule, RT_DIALOG, kFormId,
                WriteDialogTemplate(quorvane::calculator::CalculatorFormTemplate()));
  ScriptedHost host(resources);
  SetWindowSystem(&host);
  DialogForm form;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadForm(form, kFormId));
    ReleaseForm(form);
  }
  SetWindowSystem(nullptr);
}
BENCHMARK(BM_LoadCalculatorForm);

}  // namespace
