#pragma once

// The Windows API for the host and the shell. Included after the runtime's
// headers: the Windows headers define many of the runtime's names (message
// and style constants) as macros, and those that the Windows code here never
// needs as macros are taken back.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#undef RT_ICON
#undef RT_DIALOG
#undef RT_GROUP_ICON
#undef FindResource
