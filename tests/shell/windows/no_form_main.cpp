// A test build of the program whose resources lack form 101, so that the
// calculator fails to start and the shell's end of the program shows. Every
// status and every piece of output the frame shows is also written to
// standard error for the test.
#include <iostream>
#include <string>

#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "host/windows/text_conversion.h"
#include "resources/program_resources.h"
#include "shell/run_application.h"
#include "shell/windows/application_shell.h"

namespace {

using quorvane::calculator::kCalculatorFormId;

void RegisterResourcesWithoutTheForm(quorvane::dialog::ResourceTable& table) {
  quorvane::resources::RegisterProgramResources(table);
  table.Remove(quorvane::dialog::kProgramModule, quorvane::dialog::RT_DIALOG, kCalculatorFormId);
}

void ReportStatus(quorvane::shell::ApplicationShell& shell) {
  shell.Frame().SetStatusObserver([](const std::wstring& text) {
    std::cerr << "status: " << quorvane::host::AnsiFromWide(text) << std::endl;
  });
  shell.Frame().SetOutputObserver(
      [](const std::string& text) { std::cerr << "output: " << text << std::flush; });
}

}  // namespace

int main(int argc, char** argv) {
  return quorvane::shell::RunApplication(argc, argv,
                                         {.registerResources = RegisterResourcesWithoutTheForm,
                                          .program = quorvane::calculator::RunCalculator,
                                          .onStart = ReportStatus,
                                          .iconId = quorvane::calculator::kProgramIconId});
}
