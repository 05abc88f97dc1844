#include "resources/program_resources.h"

#include <vector>

#include "calculator/calculator_form.h"
#include "calculator/control_ids.h"
#include "resources/program_icon.h"

namespace quorvane::resources {

void RegisterProgramResources(dialog::ResourceTable& table) {
  table.Add(dialog::kProgramModule, dialog::RT_DIALOG, calculator::kCalculatorFormId,
            dialog::WriteDialogTemplate(calculator::CalculatorFormTemplate()));
  const auto icon = ProgramIconBytes();
  table.Add(dialog::kProgramModule, dialog::RT_GROUP_ICON, calculator::kProgramIconId,
            std::vector<std::uint8_t>(icon.begin(), icon.end()));
}

}  // namespace quorvane::resources
