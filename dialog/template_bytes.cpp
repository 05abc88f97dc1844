#include "dialog/template_bytes.h"

#include "dialog/utf16.h"

namespace quorvane::dialog {

bool TemplateCursor::U8(std::uint8_t& value) {
  if (bytes_.size() - position_ < 1) return false;
  value = bytes_[position_++];
  return true;
}

bool TemplateCursor::U16(std::uint16_t& value) {
  if (bytes_.size() - position_ < 2) return false;
  value = static_cast<std::uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
  position_ += 2;
  return true;
}

bool TemplateCursor::U32(std::uint32_t& value) {
  std::uint16_t low = 0;
  std::uint16_t high = 0;
  if (bytes_.size() - position_ < 4) return false;
  U16(low);
  U16(high);
  value = low | (static_cast<std::uint32_t>(high) << 16);
  return true;
}

bool TemplateCursor::I16(std::int16_t& value) {
  std::uint16_t raw = 0;
  if (!U16(raw)) return false;
  value = static_cast<std::int16_t>(raw);
  return true;
}

bool TemplateCursor::Bytes(std::size_t count, std::vector<std::uint8_t>& value) {
  if (bytes_.size() - position_ < count) return false;
  const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
  value.assign(first, first + static_cast<std::ptrdiff_t>(count));
  position_ += count;
  return true;
}

bool TemplateCursor::AlignTo(std::size_t alignment) {
  const std::size_t padding = (alignment - position_ % alignment) % alignment;
  // The last item may end on the last byte; padding past the end is no error
  // as long as nothing is read there.
  if (bytes_.size() - position_ < padding) {
    position_ = bytes_.size();
    return true;
  }
  position_ += padding;
  return true;
}

bool TemplateCursor::String(std::string& value) {
  std::u16string units;
  for (;;) {
    std::uint16_t unit = 0;
    if (!U16(unit)) return false;
    if (unit == 0) break;
    units.push_back(static_cast<char16_t>(unit));
  }
  value = Utf16ToUtf8(units);
  return true;
}

bool TemplateCursor::Name(NameOrOrdinal& value) {
  std::uint16_t first = 0;
  if (!U16(first)) return false;
  value = NameOrOrdinal{};
  if (first == 0) return true;
  if (first == kOrdinalMarker) {
    std::uint16_t ordinal = 0;
    if (!U16(ordinal)) return false;
    value.ordinal = ordinal;
    return true;
  }
  position_ -= 2;
  return String(value.name);
}

}  // namespace quorvane::dialog
