#pragma once

#include "dialog/resources.h"

// The program's own resources: the calculator form (template 101) and the
// program icon (107).
namespace quorvane::resources {

// Adds template 101 (RT_DIALOG) and icon 107 (RT_GROUP_ICON, the bytes of a
// whole .ico file) to the program's module (0) of table.
void RegisterProgramResources(dialog::ResourceTable& table);

}  // namespace quorvane::resources
