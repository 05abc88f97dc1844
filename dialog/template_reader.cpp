#include "dialog/dialog_template.h"
#include "dialog/template_bytes.h"
#include "dialog/window_styles.h"

// One function per header form and per item form; each reads exactly its
// record and leaves the cursor behind it.
namespace quorvane::dialog {
namespace {

bool ReadRectangle(TemplateCursor& in, std::int16_t& x, std::int16_t& y, std::int16_t& cx,
                   std::int16_t& cy) {
  return in.I16(x) && in.I16(y) && in.I16(cx) && in.I16(cy);
}

bool ReadPlainHeader(TemplateCursor& in, DialogTemplate& dialog, std::uint16_t& count) {
  dialog.extended = false;
  return in.U32(dialog.style) && in.U32(dialog.exStyle) && in.U16(count) &&
         ReadRectangle(in, dialog.x, dialog.y, dialog.cx, dialog.cy);
}

bool ReadExtendedHeader(TemplateCursor& in, DialogTemplate& dialog, std::uint16_t& count) {
  std::uint16_t version = 0;
  std::uint16_t signature = 0;
  dialog.extended = true;
  if (!in.U16(version) || !in.U16(signature)) return false;
  if (version != kExtendedVersion || signature != kExtendedSignature) return false;
  return in.U32(dialog.helpId) && in.U32(dialog.exStyle) && in.U32(dialog.style) && in.U16(count) &&
         ReadRectangle(in, dialog.x, dialog.y, dialog.cx, dialog.cy);
}

bool ReadFont(TemplateCursor& in, bool extended, DialogFont& font) {
  if (!in.U16(font.pointSize)) return false;
  if (extended && !(in.U16(font.weight) && in.U8(font.italic) && in.U8(font.charset))) {
    return false;
  }
  return in.String(font.typeface);
}

// Class, title and creation data, the same in both item forms. The count of
// creation data counts the bytes after it.
bool ReadItemTail(TemplateCursor& in, DialogItemTemplate& item) {
  std::uint16_t extraCount = 0;
  return in.Name(item.windowClass) && in.Name(item.title) && in.U16(extraCount) &&
         in.Bytes(extraCount, item.creationData);
}

bool ReadPlainItem(TemplateCursor& in, DialogItemTemplate& item) {
  std::uint16_t id = 0;
  if (!(in.U32(item.style) && in.U32(item.exStyle) &&
        ReadRectangle(in, item.x, item.y, item.cx, item.cy) && in.U16(id))) {
    return false;
  }
  item.id = id;
  return ReadItemTail(in, item);
}

bool ReadExtendedItem(TemplateCursor& in, DialogItemTemplate& item) {
  std::uint32_t id = 0;
  if (!(in.U32(item.helpId) && in.U32(item.exStyle) && in.U32(item.style) &&
        ReadRectangle(in, item.x, item.y, item.cx, item.cy) && in.U32(id))) {
    return false;
  }
  item.id = static_cast<std::int32_t>(id);
  return ReadItemTail(in, item);
}

bool IsExtended(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
}

}  // namespace

std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes) {
  TemplateCursor in(bytes);
  DialogTemplate dialog;
  std::uint16_t count = 0;
  const bool extended = IsExtended(bytes);
  const bool header =
      extended ? ReadExtendedHeader(in, dialog, count) : ReadPlainHeader(in, dialog, count);
  if (!header || !in.Name(dialog.menu) || !in.Name(dialog.windowClass) ||
      !in.String(dialog.title)) {
    return std::nullopt;
  }
  if ((dialog.style & DS_SETFONT) != 0) {
    DialogFont font;
    if (!ReadFont(in, extended, font)) return std::nullopt;
    dialog.font = std::move(font);
  }
  for (std::uint16_t k = 0; k < count; ++k) {
    DialogItemTemplate item;
    in.AlignTo(kItemAlignment);
    if (!(extended ? ReadExtendedItem(in, item) : ReadPlainItem(in, item))) return std::nullopt;
    dialog.items.push_back(std::move(item));
  }
  return dialog;
}

}  // namespace quorvane::dialog
