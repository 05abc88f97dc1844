#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The host's binary dialog template format, plain and extended, as plain
// records: a bounds-checked reader and a writer that is its exact inverse.
namespace quorvane::dialog {

// A template field that is either absent (empty name, no ordinal), an ordinal
// (0xFFFF followed by a 16-bit number) or a NUL-terminated UTF-16 name.
struct NameOrOrdinal {
  std::optional<std::uint16_t> ordinal;
  std::string name;  // UTF-8 here, UTF-16 in the bytes

  bool IsOrdinal() const { return ordinal.has_value(); }
  bool operator==(const NameOrOrdinal&) const = default;
};

struct DialogFont {
  std::uint16_t pointSize = 8;
  std::uint16_t weight = 0;  // extended templates only
  std::uint8_t italic = 0;   // extended templates only
  std::uint8_t charset = 0;  // extended templates only
  std::string typeface;
  bool operator==(const DialogFont&) const = default;
};

struct DialogItemTemplate {
  std::uint32_t helpId = 0;  // extended templates only
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  // 32-bit in extended templates (0xFFFFFFFF reads as -1), 16-bit
  // zero-extended in plain ones.
  std::int32_t id = 0;
  NameOrOrdinal windowClass;  // predefined atom 0x80..0x85 or a class name
  NameOrOrdinal title;        // caption text, or a resource ordinal
  std::vector<std::uint8_t> creationData;
  bool operator==(const DialogItemTemplate&) const = default;
};

struct DialogTemplate {
  bool extended = true;
  std::uint32_t helpId = 0;  // extended templates only
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::string title;
  std::optional<DialogFont> font;  // present exactly when style has DS_SETFONT
  std::vector<DialogItemTemplate> items;
  bool operator==(const DialogTemplate&) const = default;
};

// Nothing when the bytes are not a well-formed template; never reads outside them.
std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog);

}  // namespace quorvane::dialog
