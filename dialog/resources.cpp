#include "dialog/resources.h"

namespace quorvane::dialog {

void ResourceTable::Add(ModuleHandle module, std::int32_t type, std::int32_t id,
                        std::vector<std::uint8_t> bytes) {
  entries_[{module, type, id}] = std::move(bytes);
}

void ResourceTable::Remove(ModuleHandle module, std::int32_t type, std::int32_t id) {
  entries_.erase({module, type, id});
}

std::optional<std::span<const std::uint8_t>> ResourceTable::Find(ModuleHandle module,
                                                                 std::int32_t type,
                                                                 std::int32_t id) const {
  const auto found = entries_.find({module, type, id});
  if (found == entries_.end()) return std::nullopt;
  return std::span<const std::uint8_t>(found->second);
}

ResourceTable& ProcessResources() {
  static ResourceTable table;
  return table;
}

}  // namespace quorvane::dialog
