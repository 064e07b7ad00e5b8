#pragma once
// A whole file's bytes, for checking what was written ("" when it cannot be read).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrel::testing {

inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kestrel::testing
