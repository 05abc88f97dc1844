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

// Opening a FIFO or a device for reading can block for ever: only regular
// files (or links to them) are read.
bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The *.json files of the folder that are regular files, sorted.
std::vector<fs::path> ScaleFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  if (folder.empty()) return files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() == kExtension && IsRegularFile(it->path())) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
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
  if (!IsRegularFile(path)) {
    std::error_code error;
    throw ScaleError(fs::exists(path, error) ? shown + " is not a regular file"
                                             : "cannot open the scale file " + shown);
  }
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

ScaleFolder ShippedVolumeScales(const fs::path& folder) {
  ScaleFolder result;
  for (const fs::path& file : ScaleFiles(folder)) {
    try {
      result.scales.push_back(ReadScaleFile(file));
    } catch (const ScaleError& error) {
      result.problems.push_back(error.what());
    }
  }
  return result;
}

std::string KnownScaleNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const FluorescenceScale& scale : FluorescenceScales()) names.push_back(scale.info.name);
  for (const fs::path& file : ScaleFiles(folder)) names.push_back(file.stem().string());
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "none" : text;
}

Scale FindScale(const std::string& nameOrPath, const fs::path& folder) {
  if (IsPath(nameOrPath)) return ReadScaleFile(fs::path(nameOrPath));
  if (const FluorescenceScale* gauge = FindFluorescenceScale(nameOrPath)) return gauge;
  const fs::path file = folder / (nameOrPath + kExtension);
  if (folder.empty() || nameOrPath.empty() || !IsRegularFile(file)) {
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
