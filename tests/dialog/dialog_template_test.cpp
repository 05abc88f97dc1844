#include "dialog/dialog_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "dialog/window_styles.h"

namespace quorvane::dialog {
namespace {

// An extended template written out byte by byte: a captioned pop-up with a
// font and one push button whose id is -1.
const std::vector<std::uint8_t> kExtendedBytes = {
    0x01, 0x00, 0xFF, 0xFF,                          // version 1, extended signature
    0x00, 0x00, 0x00, 0x00,                          // help id
    0x00, 0x00, 0x00, 0x00,                          // extended style
    0x40, 0x00, 0x00, 0x80,                          // WS_POPUP | DS_SETFONT
    0x01, 0x00,                                      // one item
    0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x20, 0x00,  // 0, 0, 16, 32
    0x00, 0x00,                                      // no menu
    0x00, 0x00,                                      // default class
    0x41, 0x00, 0x00, 0x00,                          // title "A"
    0x08, 0x00, 0x90, 0x01, 0x01, 0x02,              // 8 pt, weight 400, italic, charset 2
    0x42, 0x00, 0x00, 0x00,                          // typeface "B"
    // item, on a 4-byte boundary (offset 44)
    0x00, 0x00, 0x00, 0x00,                          // help id
    0x20, 0x00, 0x00, 0x00,                          // WS_EX_TRANSPARENT
    0x01, 0x00, 0x00, 0x50,                          // WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON
    0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0xFC, 0xFF,  // 1, 2, 3, -4
    0xFF, 0xFF, 0xFF, 0xFF,                          // id -1
    0xFF, 0xFF, 0x80, 0x00,                          // button atom
    0x4F, 0x00, 0x6B, 0x00, 0x00, 0x00,              // "Ok"
    0x00, 0x00,                                      // no creation data
};

// A plain template: no font, an edit box with id 0xFFFF, an icon ordinal as
// its title and three bytes of creation data, then a static on the next
// 4-byte boundary.
const std::vector<std::uint8_t> kPlainBytes = {
    0x00, 0x00, 0x00, 0x80,                          // WS_POPUP
    0x00, 0x00, 0x00, 0x00,                          // extended style
    0x02, 0x00,                                      // two items
    0x05, 0x00, 0x06, 0x00, 0x10, 0x00, 0x20, 0x00,  // 5, 6, 16, 32
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // no menu, default class, no title
    // item 1 at offset 24
    0x00, 0x00, 0x00, 0x50,                          // WS_CHILD | WS_VISIBLE
    0x00, 0x02, 0x00, 0x00,                          // WS_EX_CLIENTEDGE
    0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00,  // 1, 2, 3, 4
    0xFF, 0xFF,                                      // id 0xFFFF
    0xFF, 0xFF, 0x81, 0x00,                          // edit atom
    0xFF, 0xFF, 0x6B, 0x00,                          // ordinal 107
    0x03, 0x00, 0xAA, 0xBB, 0xCC,                    // three bytes of creation data
    0x00,                                            // padding to offset 56
    // item 2
    0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00,  // styles
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // rectangle
    0x07, 0x00,                                      // id 7
    0x53, 0x00, 0x74, 0x00, 0x00, 0x00,              // class name "St"
    0x00, 0x00,                                      // no title
    0x00, 0x00,                                      // no creation data
};

DialogTemplate ExtendedExpected() {
  DialogTemplate dialog;
  dialog.extended = true;
  dialog.style = WS_POPUP | DS_SETFONT;
  dialog.cx = 16;
  dialog.cy = 32;
  // A string moved in: GCC 12 at -O2 takes assigning the literal here for an
  // overlapping copy and warns (-Wrestrict, its bug 105651).
  dialog.title = std::string("A");
  dialog.font = DialogFont{8, 400, 1, 2, "B"};
  DialogItemTemplate item;
  item.exStyle = WS_EX_TRANSPARENT;
  item.style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
  item.x = 1;
  item.y = 2;
  item.cx = 3;
  item.cy = -4;
  item.id = -1;
  item.windowClass.ordinal = kButtonAtom;
  item.title.name = "Ok";
  dialog.items.push_back(item);
  return dialog;
}

DialogTemplate PlainExpected() {
  DialogTemplate dialog;
  dialog.extended = false;
  dialog.style = WS_POPUP;
  dialog.x = 5;
  dialog.y = 6;
  dialog.cx = 16;
  dialog.cy = 32;
  DialogItemTemplate edit;
  edit.style = WS_CHILD | WS_VISIBLE;
  edit.exStyle = WS_EX_CLIENTEDGE;
  edit.x = 1;
  edit.y = 2;
  edit.cx = 3;
  edit.cy = 4;
  edit.id = 0xFFFF;
  edit.windowClass.ordinal = kEditAtom;
  edit.title.ordinal = 107;
  edit.creationData = {0xAA, 0xBB, 0xCC};
  DialogItemTemplate label;
  label.style = WS_CHILD | WS_VISIBLE;
  label.id = 7;
  label.windowClass.name = "St";
  dialog.items = {edit, label};
  return dialog;
}

TEST(DialogTemplateReader, ReadsTheExtendedFormWithFontAndThirtyTwoBitId) {
  const auto dialog = ReadDialogTemplate(kExtendedBytes);
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(*dialog, ExtendedExpected());
}

TEST(DialogTemplateReader, ReadsThePlainFormWithZeroExtendedIdsAndAlignedItems) {
  const auto dialog = ReadDialogTemplate(kPlainBytes);
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(*dialog, PlainExpected());
  EXPECT_EQ(dialog->items[0].id, 65535);
}

TEST(DialogTemplateWriter, WritesTheSameBytesTheHostUses) {
  EXPECT_EQ(WriteDialogTemplate(ExtendedExpected()), kExtendedBytes);
  EXPECT_EQ(WriteDialogTemplate(PlainExpected()), kPlainBytes);
}

TEST(DialogTemplateReader, RefusesEveryTruncation) {
  for (const auto* bytes : {&kExtendedBytes, &kPlainBytes}) {
    for (std::size_t length = 0; length < bytes->size(); ++length) {
      const std::span<const std::uint8_t> prefix(bytes->data(), length);
      EXPECT_FALSE(ReadDialogTemplate(prefix).has_value()) << "prefix of " << length << " bytes";
    }
  }
}

TEST(DialogTemplateReader, RefusesMalformedBytes) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases;
  auto wrongVersion = kExtendedBytes;
  wrongVersion[0] = 2;
  cases.push_back({"extended signature with version 2", wrongVersion});
  auto moreItems = kExtendedBytes;
  moreItems[16] = 2;
  cases.push_back({"item count beyond the items", moreItems});
  auto unterminatedFace =
      std::vector<std::uint8_t>(kExtendedBytes.begin(), kExtendedBytes.begin() + 42);
  cases.push_back({"typeface without its terminator", unterminatedFace});
  auto longCreationData = kPlainBytes;
  longCreationData[50] = 0xFF;
  cases.push_back({"creation data longer than the bytes", longCreationData});
  for (const Case& c : cases) {
    EXPECT_FALSE(ReadDialogTemplate(c.bytes).has_value()) << c.name;
  }
}

TEST(DialogTemplateReader, IgnoresBytesAfterTheLastItem) {
  auto padded = kExtendedBytes;
  padded.insert(padded.end(), {0xDE, 0xAD, 0xBE, 0xEF, 0x00});
  const auto dialog = ReadDialogTemplate(padded);
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(*dialog, ExtendedExpected());
}

TEST(DialogTemplateRoundTrip, KeepsEveryFieldOfBothForms) {
  DialogTemplate rich = ExtendedExpected();
  rich.helpId = 77;
  rich.exStyle = WS_EX_STATICEDGE;
  rich.menu.ordinal = 3;
  rich.windowClass.name = "Frame class";
  rich.title = "Quorvane \xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80";  // e-acute, euro, emoji
  for (int k = 0; k < 5; ++k) {
    DialogItemTemplate item;
    item.helpId = static_cast<std::uint32_t>(k);
    item.id = 1000 + k;
    item.windowClass.name = k % 2 ? "msctls_updown32" : "{8856F961-340A-11D0-A96B-00C04FD705A2}";
    item.title.name = std::string(static_cast<std::size_t>(k), 'x');
    item.creationData.assign(static_cast<std::size_t>(k), static_cast<std::uint8_t>(k));
    rich.items.push_back(item);
  }
  DialogTemplate plain = rich;
  plain.extended = false;
  plain.helpId = 0;
  plain.font = DialogFont{9, 0, 0, 0, "Sans"};
  for (auto& item : plain.items) item.helpId = 0;
  plain.items[0].id = 0xFFFF;  // plain ids are 16 bits
  for (const DialogTemplate& dialog : {rich, plain}) {
    const auto back = ReadDialogTemplate(WriteDialogTemplate(dialog));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, dialog);
  }
}

TEST(DialogTemplateWriter, WritesNoFontWithoutTheFontStyle) {
  DialogTemplate dialog;
  dialog.style = WS_POPUP;
  dialog.font = DialogFont{};
  const auto back = ReadDialogTemplate(WriteDialogTemplate(dialog));
  ASSERT_TRUE(back.has_value());
  EXPECT_FALSE(back->font.has_value());
}

}  // namespace
}  // namespace quorvane::dialog
