#include "resources/program_resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "dialog/dialog_template.h"
#include "dialog/resources.h"

namespace quorvane::resources {
namespace {

std::uint32_t Word(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
std::uint32_t DoubleWord(std::span<const std::uint8_t> b, std::size_t at) {
  return Word(b, at) | (Word(b, at + 2) << 16);
}

TEST(ProgramResources, RegistersTheFormAndTheIconInTheProgramModule) {
  dialog::ResourceTable table;
  RegisterProgramResources(table);
  const auto form = table.Find(0, dialog::RT_DIALOG, 101);
  ASSERT_TRUE(form.has_value());
  const auto read = dialog::ReadDialogTemplate(*form);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->items.size(), 47u);
  EXPECT_TRUE(table.Find(0, dialog::RT_GROUP_ICON, 107).has_value());
  EXPECT_FALSE(table.Find(0, dialog::RT_DIALOG, 107).has_value());
  EXPECT_FALSE(table.Find(1, dialog::RT_DIALOG, 101).has_value());
}

TEST(ProgramResources, IconIsOne64By64ImageAt8BitsPerPixel) {
  dialog::ResourceTable table;
  RegisterProgramResources(table);
  const auto icon = table.Find(0, dialog::RT_GROUP_ICON, 107);
  ASSERT_TRUE(icon.has_value());
  const std::span<const std::uint8_t> bytes = *icon;
  // 6-byte directory, one 16-byte entry, 40-byte header, 256 colours, 64x64
  // pixels, then a 64x64 one-bit mask in rows of 8 bytes.
  ASSERT_EQ(bytes.size(), 6u + 16u + 40u + 1024u + 4096u + 512u);
  EXPECT_EQ(Word(bytes, 0), 0u);   // reserved
  EXPECT_EQ(Word(bytes, 2), 1u);   // icon, not cursor
  EXPECT_EQ(Word(bytes, 4), 1u);   // one image
  EXPECT_EQ(bytes[6], 64);         // width
  EXPECT_EQ(bytes[7], 64);         // height
  EXPECT_EQ(Word(bytes, 12), 8u);  // bits per pixel
  EXPECT_EQ(DoubleWord(bytes, 14), bytes.size() - 22u);
  EXPECT_EQ(DoubleWord(bytes, 18), 22u);
  EXPECT_EQ(DoubleWord(bytes, 22), 40u);   // header size
  EXPECT_EQ(DoubleWord(bytes, 26), 64u);   // width
  EXPECT_EQ(DoubleWord(bytes, 30), 128u);  // image and mask heights
  EXPECT_EQ(Word(bytes, 36), 8u);
  EXPECT_EQ(DoubleWord(bytes, 38), 0u);  // uncompressed
}

}  // namespace
}  // namespace quorvane::resources
