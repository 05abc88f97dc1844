#include <string_view>

#include "dialog/dialog_template.h"
#include "dialog/template_bytes.h"
#include "dialog/utf16.h"
#include "dialog/window_styles.h"

namespace quorvane::dialog {
namespace {

class TemplateSink {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value & 0xFF));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value & 0xFFFF));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void AlignTo(std::size_t alignment) {
    while (bytes_.size() % alignment != 0) U8(0);
  }
  // Text up to its first NUL, which the format cannot carry inside a string.
  void String(std::string_view text) {
    for (char16_t unit : Utf8ToUtf16(text.substr(0, text.find('\0')))) U16(unit);
    U16(0);
  }
  void Name(const NameOrOrdinal& value) {
    if (value.ordinal) {
      U16(kOrdinalMarker);
      U16(*value.ordinal);
    } else if (value.name.empty()) {
      U16(0);
    } else {
      String(value.name);
    }
  }
  void Rectangle(std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy) {
    I16(x);
    I16(y);
    I16(cx);
    I16(cy);
  }
  void Bytes(const std::vector<std::uint8_t>& data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

void WriteHeader(TemplateSink& out, const DialogTemplate& dialog) {
  const auto count = static_cast<std::uint16_t>(dialog.items.size());
  if (dialog.extended) {
    out.U16(kExtendedVersion);
    out.U16(kExtendedSignature);
    out.U32(dialog.helpId);
    out.U32(dialog.exStyle);
    out.U32(dialog.style);
  } else {
    out.U32(dialog.style);
    out.U32(dialog.exStyle);
  }
  out.U16(count);
  out.Rectangle(dialog.x, dialog.y, dialog.cx, dialog.cy);
  out.Name(dialog.menu);
  out.Name(dialog.windowClass);
  out.String(dialog.title);
}

void WriteFont(TemplateSink& out, bool extended, const DialogFont& font) {
  out.U16(font.pointSize);
  if (extended) {
    out.U16(font.weight);
    out.U8(font.italic);
    out.U8(font.charset);
  }
  out.String(font.typeface);
}

void WriteItem(TemplateSink& out, bool extended, const DialogItemTemplate& item) {
  out.AlignTo(kItemAlignment);
  if (extended) {
    out.U32(item.helpId);
    out.U32(item.exStyle);
    out.U32(item.style);
    out.Rectangle(item.x, item.y, item.cx, item.cy);
    out.U32(static_cast<std::uint32_t>(item.id));
  } else {
    out.U32(item.style);
    out.U32(item.exStyle);
    out.Rectangle(item.x, item.y, item.cx, item.cy);
    out.U16(static_cast<std::uint16_t>(item.id));
  }
  out.Name(item.windowClass);
  out.Name(item.title);
  out.U16(static_cast<std::uint16_t>(item.creationData.size()));
  out.Bytes(item.creationData);
}

}  // namespace

std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog) {
  TemplateSink out;
  WriteHeader(out, dialog);
  if ((dialog.style & DS_SETFONT) != 0)
    WriteFont(out, dialog.extended, dialog.font.value_or(DialogFont{}));
  for (const DialogItemTemplate& item : dialog.items) WriteItem(out, dialog.extended, item);
  return out.Take();
}

}  // namespace quorvane::dialog
