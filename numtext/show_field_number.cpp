#include "numtext/show_field_number.h"

#include <algorithm>
#include <string>

#include "dialog/control_values.h"
#include "numtext/field_format.h"

namespace quorvane::numtext {

void ShowFieldNumber(dialog::DialogForm& form, std::int32_t controlId, double x, int n) {
  const std::string text = FormatFieldNumber(x, n);
  const auto length = std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), text.size());
  dialog::SetControlText(form, controlId, std::string_view(text).substr(0, length));
}

}  // namespace quorvane::numtext
