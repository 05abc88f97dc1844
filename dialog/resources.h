#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

// Resources by module, type and id: the stand-in for a module's resource section.
namespace quorvane::dialog {

// 0 names the program's own module.
using ModuleHandle = std::intptr_t;
inline constexpr ModuleHandle kProgramModule = 0;

inline constexpr std::int32_t RT_ICON = 3;
inline constexpr std::int32_t RT_DIALOG = 5;
inline constexpr std::int32_t RT_GROUP_ICON = 14;
inline constexpr std::int32_t RT_DLGINIT = 240;

class ResourceTable {
 public:
  void Add(ModuleHandle module, std::int32_t type, std::int32_t id,
           std::vector<std::uint8_t> bytes);
  void Remove(ModuleHandle module, std::int32_t type, std::int32_t id);
  std::optional<std::span<const std::uint8_t>> Find(ModuleHandle module, std::int32_t type,
                                                    std::int32_t id) const;

 private:
  std::map<std::tuple<ModuleHandle, std::int32_t, std::int32_t>, std::vector<std::uint8_t>>
      entries_;
};

// The resources of every module of this process.
ResourceTable& ProcessResources();

}  // namespace quorvane::dialog
