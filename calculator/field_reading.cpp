#include "calculator/field_reading.h"

#include <array>
#include <string_view>

#include "dialog/control_values.h"
#include "numtext/field_read.h"

namespace quorvane::calculator {
namespace {

template <typename Number>
bool ReadFieldAs(dialog::DialogForm& form, std::int32_t controlId, Number& value) {
  // Blanks first: a refused fetch then reads as an empty field.
  std::array<char, numtext::kFieldRecordLength> record;
  record.fill(' ');
  dialog::GetControlText(form, controlId, record);
  Number read = value;
  const auto outcome =
      numtext::ReadFieldNumber(std::string_view(record.data(), record.size()), read);
  if (outcome.status != numtext::FieldReadStatus::Success || !outcome.stored) return false;
  value = read;
  return true;
}

}  // namespace

bool ReadField(dialog::DialogForm& form, std::int32_t controlId, double& value) {
  return ReadFieldAs(form, controlId, value);
}

bool ReadField(dialog::DialogForm& form, std::int32_t controlId, float& value) {
  return ReadFieldAs(form, controlId, value);
}

}  // namespace quorvane::calculator
