#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/core/Unicode.h"
#include "platform/os/FileSystem.h"
#include "platform/os/OsErrors.h"
#include "platform/os/Paths.h"
#include "tests/support/TestEnvironment.h"

using namespace kestrel::platform;
namespace fs = std::filesystem;

namespace {

std::u16string FullPath(const char16_t* path) {
  WCHAR buffer[1024];
  DWORD length = GetFullPathNameW(path, 1024, buffer, nullptr);
  return length ? std::u16string(buffer, length) : u"<failed>";
}

std::u16string TempPath() {
  WCHAR buffer[1024];
  DWORD length = GetTempPathW(1024, buffer);
  return std::u16string(buffer, length);
}

// Restores the variables the temp folder reads from.
class TempVariables {
 public:
  TempVariables() {
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
      const char* value = ::getenv(name);
      saved_.push_back({name, value ? value : "", value != nullptr});
      ::unsetenv(name);
    }
  }
  ~TempVariables() {
    for (const auto& s : saved_) {
      if (s.set) ::setenv(s.name, s.value.c_str(), 1);
      else ::unsetenv(s.name);
    }
  }

 private:
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved_;
};

TEST(PathsTest, FullPathResolvesDotsLexicallyAgainstTheCurrentDirectory) {
  std::u16string cwd = kestrel::Utf8ToUtf16(fs::current_path().string());
  EXPECT_EQ(FullPath(u"a/./b/../c"), cwd + u"/a/c");
  EXPECT_EQ(FullPath(u"/x/../../y//z/"), u"/y/z/");
  EXPECT_EQ(FullPath(u"/.."), u"/");

  WCHAR buffer[64];
  WCHAR* filePart = nullptr;
  ASSERT_EQ(GetFullPathNameW(u"/usr/lib/libz.so", 64, buffer, &filePart), 16u);
  EXPECT_EQ(std::u16string(filePart), u"libz.so");
  GetFullPathNameW(u"/usr/lib/", 64, buffer, &filePart);
  EXPECT_EQ(filePart, nullptr);
  EXPECT_EQ(GetFullPathNameW(u"/usr/lib/libz.so", 16, buffer, nullptr), 17u);  // needs room for the NUL
  EXPECT_EQ(GetFullPathNameW(u"", 64, buffer, nullptr), 0u);
}

TEST(PathsTest, LongPathConfirmsEveryComponentExists) {
  kestrel::testing::TempDir dir;
  fs::create_directories(dir / "Mixed Case/Sub");
  std::u16string existing = kestrel::Utf8ToUtf16((dir / "Mixed Case/Sub").string());
  WCHAR buffer[1024];
  ASSERT_EQ(GetLongPathNameW(existing.c_str(), buffer, 1024), existing.size());
  EXPECT_EQ(std::u16string(buffer), existing);

  std::copy(existing.begin(), existing.end(), buffer);  // converting in place is allowed
  buffer[existing.size()] = 0;
  EXPECT_EQ(GetLongPathNameW(buffer, buffer, 1024), existing.size());
  EXPECT_EQ(std::u16string(buffer), existing);
  EXPECT_EQ(GetLongPathNameW(existing.c_str(), buffer, 4), existing.size() + 1);

  std::u16string missing = kestrel::Utf8ToUtf16((dir / "Mixed Case/Gone/Sub").string());
  EXPECT_EQ(GetLongPathNameW(missing.c_str(), buffer, 1024), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  std::u16string wrongCase = kestrel::Utf8ToUtf16((dir / "mixed case").string());
  EXPECT_EQ(GetLongPathNameW(wrongCase.c_str(), buffer, 1024), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(PathsTest, TempPathPrefersTmpThenTempThenTmpdirAndEndsWithTheDelimiter) {
  TempVariables restore;
  EXPECT_EQ(TempPath(), u"/tmp/");
  ::setenv("TMPDIR", "/var/tmp//", 1);
  EXPECT_EQ(TempPath(), u"/var/tmp/");
  ::setenv("TEMP", "/from/temp", 1);
  EXPECT_EQ(TempPath(), u"/from/temp/");
  ::setenv("TMP", "relative", 1);
  EXPECT_EQ(TempPath(), kestrel::Utf8ToUtf16(fs::current_path().string()) + u"/relative/");
  WCHAR small[4];
  EXPECT_EQ(GetTempPathW(4, small), TempPath().size() + 1);
}

TEST(PathsTest, TempFileNamesAreUniqueAndCreatedOnlyWhenChosen) {
  kestrel::testing::TempDir dir;
  std::u16string folder = kestrel::Utf8ToUtf16(dir.Path().string());
  std::set<std::u16string> names;
  for (int i = 0; i < 20; ++i) {
    WCHAR name[MAX_PATH];
    UINT number = GetTempFileNameW(folder.c_str(), u"kestrel", 0, name);
    ASSERT_NE(number, 0u);
    std::u16string path(name);
    EXPECT_TRUE(path.starts_with(folder + u"/kes")) << kestrel::Utf16ToUtf8(path);
    EXPECT_TRUE(path.ends_with(u".TMP"));
    EXPECT_TRUE(fs::exists(kestrel::Utf16ToUtf8(path)));
    names.insert(path);
  }
  EXPECT_EQ(names.size(), 20u);

  WCHAR name[MAX_PATH];
  EXPECT_EQ(GetTempFileNameW(folder.c_str(), u"ab", 0x1ABCD, name), 0xABCDu);
  EXPECT_EQ(std::u16string(name), folder + u"/abABCD.TMP");
  EXPECT_FALSE(fs::exists(kestrel::Utf16ToUtf8(name)));
  std::u16string missing = folder + u"/missing";
  EXPECT_EQ(GetTempFileNameW(missing.c_str(), u"x", 0, name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}

TEST(PathsTest, ModuleFileNameIsTheExecutableAndTruncatesLikeWindows) {
  WCHAR buffer[1024];
  DWORD length = GetModuleFileNameW(nullptr, buffer, 1024);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(fs::path(kestrel::Utf16ToUtf8(std::u16string(buffer, length))), fs::canonical("/proc/self/exe"));
  EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 5), 5u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer).size(), 4u);
  EXPECT_EQ(GetModuleHandleW(u"other.dll"), nullptr);

  WCHAR directory[16];
  EXPECT_EQ(GetWindowsDirectoryW(directory, 16), 4u);
  EXPECT_EQ(std::u16string(directory), u"/etc");
  EXPECT_EQ(GetSystemDirectoryW(directory, 8), 9u);

  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::u16string cwd(needed, u'\0');
  EXPECT_EQ(GetCurrentDirectoryW(needed, cwd.data()), needed - 1);
  EXPECT_EQ(kestrel::Utf16ToUtf8(cwd.substr(0, needed - 1)), fs::current_path().string());
}

}  // namespace
