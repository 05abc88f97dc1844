#include "dialog/resources.h"

#include <gtest/gtest.h>

namespace quorvane::dialog {
namespace {

TEST(ResourceTable, FindsByModuleTypeAndId) {
  ResourceTable table;
  table.Add(kProgramModule, RT_DIALOG, 101, {1, 2, 3});
  table.Add(7, RT_DIALOG, 101, {4});
  table.Add(kProgramModule, RT_DLGINIT, 101, {5, 6});

  const auto own = table.Find(kProgramModule, RT_DIALOG, 101);
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(std::vector<std::uint8_t>(own->begin(), own->end()),
            (std::vector<std::uint8_t>{1, 2, 3}));
  const auto other = table.Find(7, RT_DIALOG, 101);
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(other->size(), 1u);
  EXPECT_FALSE(table.Find(kProgramModule, RT_DIALOG, 102).has_value());
  EXPECT_FALSE(table.Find(8, RT_DIALOG, 101).has_value());
  EXPECT_FALSE(table.Find(kProgramModule, RT_GROUP_ICON, 101).has_value());
}

TEST(ResourceTable, ReplacesAndRemoves) {
  ResourceTable table;
  table.Add(kProgramModule, RT_DIALOG, 5, {1});
  table.Add(kProgramModule, RT_DIALOG, 5, {2, 2});
  ASSERT_TRUE(table.Find(kProgramModule, RT_DIALOG, 5).has_value());
  EXPECT_EQ(table.Find(kProgramModule, RT_DIALOG, 5)->size(), 2u);
  table.Remove(kProgramModule, RT_DIALOG, 5);
  EXPECT_FALSE(table.Find(kProgramModule, RT_DIALOG, 5).has_value());
  table.Remove(kProgramModule, RT_DIALOG, 5);
}

}  // namespace
}  // namespace quorvane::dialog
