// A test build of the program that keeps the calculator's field texts and
// radio buttons in the file named by QUORVANE_FIELD_FILE, for tests that drive it with real input
// on a display and compare what the fields show.
#include <cstdlib>
#include <memory>
#include <vector>

#include "calculator/calculator.h"
#include "calculator/calculator_scenarios.h"
#include "calculator/control_ids.h"
#include "dialog/window_system.h"
#include "resources/program_resources.h"
#include "shell/field_probe.h"
#include "shell/run_application.h"

namespace {

using namespace quorvane::calculator;

std::unique_ptr<quorvane::shell::testing::FieldProbe> probe;

void InstallProbe(quorvane::shell::ApplicationShell&) {
  const char* path = std::getenv("QUORVANE_FIELD_FILE");
  if (path == nullptr || *path == '\0') return;
  const auto& fields = quorvane::calculator::testing::kDisplayedFields;
  probe = std::make_unique<quorvane::shell::testing::FieldProbe>(
      quorvane::dialog::CurrentWindowSystem(), path,
      std::vector<std::int32_t>(fields.begin(), fields.end()),
      std::vector<std::int32_t>{kMurnaghanRadio, kBirchMurnaghanRadio, kVinetRadio,
                                kNaturalStrainRadio, kOrder2Radio, kOrder3Radio, kOrder4Radio});
  quorvane::dialog::SetWindowSystem(probe.get());
}

}  // namespace

int main(int argc, char** argv) {
  return quorvane::shell::RunApplication(
      argc, argv,
      {.registerResources = quorvane::resources::RegisterProgramResources,
       .program = quorvane::calculator::RunCalculator,
       .onStart = InstallProbe,
       .iconId = quorvane::calculator::kProgramIconId});
}
