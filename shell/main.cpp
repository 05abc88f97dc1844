#include "calculator/calculator.h"
#include "calculator/control_ids.h"
#include "resources/program_resources.h"
#include "shell/run_application.h"

int main(int argc, char** argv) {
  return quorvane::shell::RunApplication(
      argc, argv,
      {.registerResources = quorvane::resources::RegisterProgramResources,
       .program = quorvane::calculator::RunCalculator,
       .onStart = {},
       .iconId = quorvane::calculator::kProgramIconId});
}
