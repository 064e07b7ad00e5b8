#pragma once
// Helpers shared by the settings store tests.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <cctype>
#include <filesystem>

#include "framework/Encoding.h"
#include "framework/MemoryStream.h"
#include "settings/KsIniFile.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel::test {

inline std::unique_ptr<TKsIniFile> MakeIni(const std::filesystem::path& file = {}) {
  auto ini = std::make_unique<TKsIniFile>(nullptr);
  if (!file.empty()) ini->SetPath(Utf8ToUtf16(file.string()));
  return ini;
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& data) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

inline std::filesystem::path Fixture(const std::string& name) {
  return std::filesystem::path(KESTREL_TEST_SOURCE_DIR) / "settings" / "fixtures" / name;
}

// A fixture written as hexadecimal bytes; '#' starts a comment that runs to the end of the line.
// `lineEnds` receives the byte offset after each line that holds bytes.
inline std::vector<std::uint8_t> HexFixture(const std::string& name, std::vector<std::size_t>* lineEnds = nullptr) {
  std::ifstream in(Fixture(name));
  std::vector<std::uint8_t> out;
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::string digits;
    for (char c : line) {
      if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
      out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    if (lineEnds && !digits.empty()) lineEnds->push_back(out.size());
  }
  return out;
}

inline std::vector<std::uint8_t> SaveBytes(TKsIniFile& ini) {
  TMemoryStream stream;
  ini.SaveToStream(stream, &TEncoding::Default());
  return stream.Bytes();
}

inline void LoadBytes(TKsIniFile& ini, const std::vector<std::uint8_t>& bytes) {
  TMemoryStream stream;
  stream.Write(bytes.data(), bytes.size());
  stream.SetPosition(0);
  ini.LoadFromStream(stream, &TEncoding::Default());
}

}  // namespace kestrel::test
