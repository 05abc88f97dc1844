#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"

// A cursor over template bytes that refuses to step outside them. Every read
// returns false (and leaves the value alone) when the bytes run out.
namespace quorvane::dialog {

class TemplateCursor {
 public:
  explicit TemplateCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool U8(std::uint8_t& value);
  bool U16(std::uint16_t& value);
  bool U32(std::uint32_t& value);
  bool I16(std::int16_t& value);
  bool Bytes(std::size_t count, std::vector<std::uint8_t>& value);
  // Moves to the next multiple of alignment from the start of the bytes.
  bool AlignTo(std::size_t alignment);
  // A NUL-terminated UTF-16 string.
  bool String(std::string& value);
  // A name, an ordinal or nothing (a single 0x0000).
  bool Name(NameOrOrdinal& value);
  std::size_t Position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// The word that introduces an ordinal in a name field, and the second word of
// an extended header.
inline constexpr std::uint16_t kOrdinalMarker = 0xFFFF;
inline constexpr std::uint16_t kExtendedSignature = 0xFFFF;
inline constexpr std::uint16_t kExtendedVersion = 1;
inline constexpr std::size_t kItemAlignment = 4;

}  // namespace quorvane::dialog
