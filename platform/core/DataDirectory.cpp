#include "platform/core/DataDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace kestrel::platform {

namespace {

namespace fs = std::filesystem;

constexpr int kLevelsAboveExecutable = 4;

bool HoldsData(const fs::path& folder) {
  std::error_code error;
  return !folder.empty() && fs::is_regular_file(folder / "fonts" / "fonts.conf", error);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

fs::path ExecutableFolder() {
  char target[4096];
  const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
  if (length <= 0) return {};
  return fs::path(std::string(target, static_cast<std::size_t>(length))).parent_path();
}

std::vector<fs::path> XdgDataFolders() {
  std::vector<fs::path> folders;
  std::string home = Environment("XDG_DATA_HOME");
  if (home.empty() && !Environment("HOME").empty()) home = Environment("HOME") + "/.local/share";
  if (!home.empty()) folders.emplace_back(home);
  std::string dirs = Environment("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  std::istringstream list(dirs);
  for (std::string entry; std::getline(list, entry, ':');)
    if (!entry.empty()) folders.emplace_back(entry);
  return folders;
}

}  // namespace

std::string FindDataDirectory() {
  if (fs::path configured = Environment("KESTREL_DATA_DIR"); HoldsData(configured)) return configured.string();
  fs::path folder = ExecutableFolder();
  for (int level = 0; level <= kLevelsAboveExecutable && !folder.empty(); ++level) {
    if (HoldsData(folder / "share" / "kestrel")) return (folder / "share" / "kestrel").string();
    if (folder == folder.parent_path()) break;
    folder = folder.parent_path();
  }
  for (const fs::path& data : XdgDataFolders())
    if (HoldsData(data / "kestrel")) return (data / "kestrel").string();
  return {};
}

const std::string& DataDirectory() {
  static const std::string folder = FindDataDirectory();
  return folder;
}

}  // namespace kestrel::platform
