#pragma once
// The names in a folder, sorted, for checking what a test left there (hidden ones included).

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kestrel::testing {

inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kestrel::testing
