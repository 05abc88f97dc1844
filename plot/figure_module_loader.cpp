#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "plot/figure_module.h"
#include "plot/figure_writer.h"

namespace quorvane::plot {
namespace {

namespace fs = std::filesystem;

// Where the module lies, relative to the program's folder: in an installed
// tree, then in the build tree. The build fills both in.
constexpr const char* kModuleFolders[] = {QUORVANE_PLOT_MODULE_INSTALLED,
                                          QUORVANE_PLOT_MODULE_BUILT};
constexpr const char* kModuleFile = QUORVANE_PLOT_MODULE_FILE;
constexpr const char* kUnavailable = "PNG plots are not available: ";

struct LoadedModule {
  RenderPngEntry render = nullptr;
  std::string problem;  // why render is null
};

// The loader's message names the path, which may hold anything a folder's
// name can: the report stays one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return text;
}

LoadedModule Load() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) return {nullptr, std::string(kUnavailable) + "the program cannot find its own folder"};
  for (const char* folder : kModuleFolders) {
    const fs::path candidate = (program.parent_path() / folder / kModuleFile).lexically_normal();
    if (!fs::exists(candidate, error)) continue;
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return {nullptr, kUnavailable + OneLine(dlerror())};
    void* entry = dlsym(handle, kRenderPngEntryName);
    if (entry == nullptr) {
      return {nullptr, kUnavailable + OneLine(candidate.string()) + " is not the plotting module"};
    }
    return {reinterpret_cast<RenderPngEntry>(entry), {}};
  }
  return {nullptr, std::string(kUnavailable) + "the plotting module " + kModuleFile +
                       " is not installed with the program"};
}

// Loaded once and never closed: the module's Qt application lives until the
// process ends.
const LoadedModule& Module() {
  static const LoadedModule module = Load();
  return module;
}

}  // namespace

bool PngBuilt() {
  return true;
}

std::string RenderPng(const std::string& svg, std::string& png) {
  const LoadedModule& module = Module();
  if (module.render == nullptr) return module.problem;
  std::string problem;
  module.render(&svg, &png, &problem);
  return problem;
}

}  // namespace quorvane::plot
