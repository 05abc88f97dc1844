#include "handler_log.h"

namespace quorvane::dialog {

std::vector<std::string>& HandlerCalls() {
  static std::vector<std::string> calls;
  return calls;
}

std::string HandlerCall(std::int32_t controlId, EventKind eventKind) {
  return std::to_string(controlId) + " " + std::to_string(static_cast<std::int32_t>(eventKind));
}

void LoggingHandler(DialogForm&, std::int32_t controlId, EventKind eventKind) {
  HandlerCalls().push_back(HandlerCall(controlId, eventKind));
}

}  // namespace quorvane::dialog
