#include "dialog/runtime_messages.h"

#include <array>
#include <cstdlib>

#include "dialog/window_system.h"

namespace quorvane::dialog {
namespace {

constexpr std::array<std::string_view, 8> kTexts = {
    "CoInitialize must be called for a dialog box containing ActiveX controls",
    "The Dialog dynamic link library (DIALOGHOST.DLL) is missing or not registered",
    "Program exception in CloseForm",
    "Program exception in RunFormModal or RunFormModeless",
    "Program exception in SetControlEventHandler",
    "Program exception while displaying a dialog box",
    "Invalid style %s used for control %s",
    "Error creating ActiveX control %s - %s",
};
constexpr std::string_view kUnknownNumberText = "Error in Dialog Procedures - %s";
constexpr std::string_view kCaption = "Dialog runtime";

// Replaces each %s of format by the next argument; extra arguments are
// dropped and a %s without an argument stays as it is.
std::string Substitute(std::string_view format, std::initializer_list<std::string_view> arguments) {
  std::string text;
  auto next = arguments.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format.substr(i, 2) == "%s" && next != arguments.end()) {
      text += *next++;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace

std::string RuntimeMessageText(std::int32_t number,
                               std::initializer_list<std::string_view> arguments) {
  if (number < kCoInitializeMissing || number > kActiveXCreationFailed) {
    const std::string decimal = std::to_string(number);
    return Substitute(kUnknownNumberText, {decimal});
  }
  return Substitute(kTexts[static_cast<std::size_t>(number - kCoInitializeMissing)], arguments);
}

void ReportRuntimeMessage(std::int32_t number, std::initializer_list<std::string_view> arguments) {
  CurrentWindowSystem().ShowMessage(RuntimeMessageText(number, arguments), kCaption);
}

void FailFatally(std::int32_t number, std::initializer_list<std::string_view> arguments) {
  WindowSystem& host = CurrentWindowSystem();
  host.ShowMessage(RuntimeMessageText(number, arguments), kCaption);
  host.EndProgram();
  // A host whose EndProgram returns breaks its contract; the program cannot go on.
  std::abort();
}

}  // namespace quorvane::dialog
