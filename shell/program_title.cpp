#include "shell/program_title.h"

#include <filesystem>
#include <system_error>

namespace quorvane::shell {

std::string TitleFromProgramPath(std::string_view path) {
  std::string stem = std::filesystem::path(path).stem().string();
  if (stem.empty()) return std::string(kDefaultTitle);
  return stem;
}

std::string ProgramTitle() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::string(kDefaultTitle);
  return TitleFromProgramPath(program.string());
}

}  // namespace quorvane::shell
