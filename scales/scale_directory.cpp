#include "scales/scale_directory.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "params/parameter_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvane::scales {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderVariable = "QUORVANE_SCALES_DIR";
constexpr const char* kExtension = ".json";

fs::path ProgramPath() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return {};
  return fs::path(std::wstring(buffer, length));
#else
  std::error_code error;
  const fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : path;
#endif
}

// A name or path as an error line shows it: control bytes as \xNN.
std::string Shown(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string shown = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 0xF];
  }
  return shown + "\"";
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::string FileText(const fs::path& path, const std::string& shown) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ScaleError("cannot open the scale file " + shown);
  std::string text(params::kMaxParameterFileBytes + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) throw ScaleError("cannot read the scale file " + shown);
  const auto count = static_cast<std::size_t>(file.gcount());
  if (count > params::kMaxParameterFileBytes) {
    throw ScaleError(shown + " is too large for a scale file");
  }
  text.resize(count);
  return text;
}

VolumeScale ReadScaleFile(const fs::path& path) {
  const std::string shown = Shown(path.generic_string());
  return ReadVolumeScale(FileText(path, shown), shown, path.stem().generic_string());
}

bool IsPath(const std::string& text) {
  const bool json = text.size() > 5 && text.ends_with(kExtension);
  return json || text.find('/') != std::string::npos || text.find('\\') != std::string::npos;
}

}  // namespace

fs::path ShippedScalesFolder() {
  if (const char* folder = std::getenv(kFolderVariable); folder && *folder) return folder;
  const fs::path program = ProgramPath();
  if (program.empty()) return {};
  const fs::path beside = program.parent_path() / "scales";
  if (IsFolder(beside)) return beside;
  const fs::path installed = program.parent_path().parent_path() / "share" / "quorvane" / "scales";
  return IsFolder(installed) ? installed : fs::path();
}

std::vector<VolumeScale> ShippedVolumeScales(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  if (folder.empty()) return {};
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() == kExtension) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  std::vector<VolumeScale> scales;
  for (const fs::path& file : files) scales.push_back(ReadScaleFile(file));
  return scales;
}

std::string KnownScaleNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const FluorescenceScale& scale : FluorescenceScales()) names.push_back(scale.info.name);
  std::error_code error;
  if (!folder.empty()) {
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (it->path().extension() == kExtension) names.push_back(it->path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "none" : text;
}

Scale FindScale(const std::string& nameOrPath, const fs::path& folder) {
  if (IsPath(nameOrPath)) return ReadScaleFile(fs::path(nameOrPath));
  if (const FluorescenceScale* gauge = FindFluorescenceScale(nameOrPath)) return gauge;
  const fs::path file = folder / (nameOrPath + kExtension);
  std::error_code error;
  if (folder.empty() || nameOrPath.empty() || !fs::is_regular_file(file, error)) {
    throw ScaleError("no scale is named " + Shown(nameOrPath) +
                     "; known: " + KnownScaleNames(folder));
  }
  return ReadScaleFile(file);
}

const ScaleInfo& InfoOf(const Scale& scale) {
  if (const auto* volume = std::get_if<VolumeScale>(&scale)) return volume->info;
  return std::get<const FluorescenceScale*>(scale)->info;
}

}  // namespace quorvane::scales
