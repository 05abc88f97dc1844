// A test build of the program whose resources lack form 101, so that the
// calculator fails to start and the shell's end of the program shows. Every
// status the frame shows is also written to standard error for the test.
#include <QObject>
#include <iostream>

#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "resources/program_resources.h"
#include "shell/application_shell.h"
#include "shell/run_application.h"

namespace {

using quorvane::calculator::kCalculatorFormId;

void RegisterResourcesWithoutTheForm(quorvane::dialog::ResourceTable& table) {
  quorvane::resources::RegisterProgramResources(table);
  table.Remove(quorvane::dialog::kProgramModule, quorvane::dialog::RT_DIALOG, kCalculatorFormId);
}

void ReportStatus(quorvane::shell::ApplicationShell& shell) {
  QObject::connect(
      &shell.Frame(), &quorvane::shell::FrameWindow::StatusShown,
      [](const QString& text) { std::cerr << "status: " << text.toStdString() << std::endl; });
}

}  // namespace

int main(int argc, char** argv) {
  return quorvane::shell::RunApplication(argc, argv,
                                         {.registerResources = RegisterResourcesWithoutTheForm,
                                          .program = quorvane::calculator::RunCalculator,
                                          .onStart = ReportStatus,
                                          .iconId = quorvane::calculator::kProgramIconId});
}
