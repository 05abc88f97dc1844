#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/dialog_form.h"

// Handlers that write down each call as "<id> <event kind number>".
namespace quorvane::dialog {

std::vector<std::string>& HandlerCalls();
void LoggingHandler(DialogForm& form, std::int32_t controlId, EventKind eventKind);
std::string HandlerCall(std::int32_t controlId, EventKind eventKind);

}  // namespace quorvane::dialog
