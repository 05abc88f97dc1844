#include "shell/display_platform.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "shell/display_server.h"
#include "shell/run_application.h"

namespace quorvane::shell {
namespace {

constexpr std::string_view kX11Platform = "xcb";
constexpr std::string_view kWaylandPrefix = "wayland";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// Where the toolkit looks for platform plugins, in its own order.
QStringList PluginDirectories() {
  QStringList directories;
  const QString platformPath = QString::fromStdString(Environment("QT_QPA_PLATFORM_PLUGIN_PATH"));
  if (!platformPath.isEmpty()) directories << platformPath;
  const QString pluginPath = QString::fromStdString(Environment("QT_PLUGIN_PATH"));
  for (const QString& path : pluginPath.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    directories << path + QStringLiteral("/platforms");
  }
  directories << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
  return directories;
}

// A plugin's names come from its embedded metadata, read without loading it.
void AddPluginKeys(const QString& file, std::vector<std::string>& keys) {
  const QJsonObject metaData =
      QPluginLoader(file).metaData().value(QStringLiteral("MetaData")).toObject();
  for (const QJsonValue key : metaData.value(QStringLiteral("Keys")).toArray()) {
    keys.push_back(key.toString().toLower().toStdString());
  }
}

std::string PluginName(std::string_view platform) {
  std::string name(platform.substr(0, platform.find(':')));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

// Why one platform cannot start; a display that does not answer is the one
// case a virtual display mends.
struct Problem {
  std::string text;
  bool displayMissing = false;
};

// Messages grow by appending to one string: GCC 12 at -O2 warns falsely
// (-Wrestrict) on the inlined insert of `"literal" + std::string`.
std::string Concatenated(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (const std::string_view part : parts) joined += part;
  return joined;
}

std::string Quoted(std::string_view text) {
  return Concatenated({"\"", text, "\""});
}

std::string Joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += separator;
    joined += part;
  }
  return joined;
}

Problem PlatformProblem(std::string_view platform, const std::vector<std::string>& installed) {
  const std::string name = PluginName(platform);
  if (std::find(installed.begin(), installed.end(), name) == installed.end()) {
    return {Concatenated({"there is no platform ", Quoted(name),
                          " (installed: ", Joined(installed, ", "), ")"}),
            false};
  }
  if (name == kX11Platform) return {XDisplayProblem(), true};
  if (name.rfind(kWaylandPrefix, 0) == 0) return {WaylandDisplayProblem(), true};
  return {};
}

std::string RequestedPlatform(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return argv[i + 1];
    }
  }
  return Environment("QT_QPA_PLATFORM");
}

// With no platform asked for, the displays the environment names, the
// session's own kind first.
std::vector<std::string> DisplaysInEnvironment() {
  std::vector<std::string> platforms;
  if (!Environment("DISPLAY").empty()) platforms.emplace_back(kX11Platform);
  if (!Environment("WAYLAND_DISPLAY").empty()) {
    const bool waylandSession = Environment("XDG_SESSION_TYPE") == kWaylandPrefix;
    platforms.insert(waylandSession ? platforms.begin() : platforms.end(),
                     std::string(kWaylandPrefix));
  }
  return platforms;
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> parts;
  for (const QString& part :
       QString::fromStdString(list).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    parts.push_back(part.trimmed().toStdString());
  }
  return parts;
}

}  // namespace

std::vector<std::string> InstalledPlatforms() {
  std::vector<std::string> keys;
  for (const QString& directory : PluginDirectories()) {
    const QDir dir(directory);
    for (const QString& file : dir.entryList(QDir::Files)) AddPluginKeys(dir.filePath(file), keys);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

PlatformChoice ChooseDisplayPlatform(int argc, char** argv, std::string_view program) {
  const std::string requested = RequestedPlatform(argc, argv);
  if (requested.empty() && !DisplayAvailable())
    return {.platform = {}, .problem = NoDisplayMessage(program)};
  const std::vector<std::string> candidates =
      requested.empty() ? DisplaysInEnvironment() : SplitList(requested);
  const std::vector<std::string> installed = InstalledPlatforms();
  std::vector<std::string> problems;
  bool displayMissing = false;
  for (const std::string& candidate : candidates) {
    Problem problem = PlatformProblem(candidate, installed);
    if (problem.text.empty()) return {.platform = candidate, .problem = {}};
    problems.push_back(std::move(problem.text));
    displayMissing = displayMissing || problem.displayMissing;
  }
  std::string message = Concatenated({"No display found: ", Joined(problems, "; ")});
  if (displayMissing) {
    message += "; run it under a virtual one with  xvfb-run -a ";
    message += program;
  }
  return {.platform = {}, .problem = message};
}

}  // namespace quorvane::shell
