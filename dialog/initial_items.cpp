#include "dialog/initial_items.h"

#include <algorithm>
#include <string_view>

#include "dialog/control_values.h"
#include "dialog/template_bytes.h"

namespace quorvane::dialog {
namespace {

// Messages whose initialisation data is a string to add to a list.
constexpr std::uint16_t kComboAddString = 0x0143;
constexpr std::uint16_t kListAddString = 0x0180;
constexpr std::uint16_t kAddStringAlternative1 = 0x0401;
constexpr std::uint16_t kAddStringAlternative2 = 0x0403;

bool AddsString(std::uint16_t message) {
  return message == kComboAddString || message == kListAddString ||
         message == kAddStringAlternative1 || message == kAddStringAlternative2;
}

}  // namespace

void LoadInitialItems(DialogForm& form) {
  const auto bytes =
      CurrentWindowSystem().FindResource(form.formRecord.module, RT_DLGINIT, form.templateId);
  if (!bytes) return;
  TemplateCursor in(*bytes);
  // Entries: control id, message, data length, data; a zero id ends them.
  for (;;) {
    std::uint16_t controlId = 0;
    std::uint16_t message = 0;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;
    if (!in.U16(controlId) || controlId == 0) return;
    if (!in.U16(message) || !in.U32(length) || !in.Bytes(length, data)) return;
    if (!AddsString(message)) continue;
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    const std::string text(data.begin(), end);
    SetControlText(form, controlId, text, ValueKind::AddItem);
  }
}

}  // namespace quorvane::dialog
