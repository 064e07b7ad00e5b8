#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/os/FileSystem.h"
#include "platform/os/OsErrors.h"
#include "tests/support/TestEnvironment.h"

using namespace kestrel::platform;
namespace fs = std::filesystem;

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  std::u16string W(const std::string& name) const { return kestrel::Utf8ToUtf16((dir_ / name).string()); }
  void Write(const std::string& name, const std::string& contents) {
    std::ofstream(dir_ / name, std::ios::binary) << contents;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  DWORD Attributes(const std::string& name) { return GetFileAttributesW(W(name).c_str()); }

  std::vector<std::u16string> Find(const std::string& pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(W(pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
      return {u"<error " + kestrel::Utf8ToUtf16(std::to_string(GetLastError())) + u">"};
    do names.emplace_back(data.cFileName);
    while (FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
  }

  kestrel::testing::TempDir dir_;
};

TEST_F(FileSystemTest, AttributesDescribeKindPermissionsLinksAndDotFiles) {
  Write("file", "12345");
  Write(".hidden", "");
  Write("readonly", "x");
  fs::permissions(dir_ / "readonly", fs::perms::owner_read | fs::perms::group_read);
  fs::create_directory(dir_ / "dir");
  fs::create_directory_symlink(dir_ / "dir", dir_ / "dirlink");
  fs::create_symlink(dir_ / "file", dir_ / "filelink");
  fs::create_symlink(dir_ / "nowhere", dir_ / "dangling");

  EXPECT_EQ(Attributes("file"), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(Attributes(".hidden"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Attributes("readonly"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Attributes("dir"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Attributes("dir/."), FILE_ATTRIBUTE_DIRECTORY);  // "." is not a hidden name
  EXPECT_EQ(Attributes("dirlink"), FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(Attributes("filelink"), FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(Attributes("dangling"), FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(Attributes("missing"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Attributes("missing/child"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(W("file").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  // FILETIME counts 100 ns steps from 1601: compare with the clock to the minute.
  auto ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  auto unixSeconds = static_cast<std::int64_t>(ticks / 10000000) - 11644473600;
  auto now = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
  EXPECT_NEAR(static_cast<double>(unixSeconds), static_cast<double>(now.count()), 60.0);
}

TEST_F(FileSystemTest, SearchMatchesWindowsWildcardsInSortedOrder) {
  for (const char* name : {"b.txt", "A.TXT", "c.log", "noext", "ab.txt.bak"}) Write(name, "");
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(Find("*"),
            (std::vector<std::u16string>{u".", u"..", u"A.TXT", u"ab.txt.bak", u"b.txt", u"c.log", u"noext", u"sub"}));
  EXPECT_EQ(Find("*.*").size(), 8u);  // "*.*" means everything, names without a dot too
  EXPECT_EQ(Find("*.txt"), (std::vector<std::u16string>{u"A.TXT", u"b.txt"}));
  EXPECT_EQ(Find("?.log"), (std::vector<std::u16string>{u"c.log"}));
  EXPECT_EQ(Find("a*t*"), (std::vector<std::u16string>{u"A.TXT", u"ab.txt.bak"}));
  EXPECT_EQ(Find("sub"), (std::vector<std::u16string>{u"sub"}));
  EXPECT_EQ(Find("z*"), (std::vector<std::u16string>{u"<error 2>"}));
  EXPECT_EQ(Find("nodir/*"), (std::vector<std::u16string>{u"<error 3>"}));
  EXPECT_EQ(Find("B.TXT"), (std::vector<std::u16string>{u"<error 2>"}));  // literal names keep their case

  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(W("sub").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindNextFileW(search, &data));
}

TEST_F(FileSystemTest, WildcardCharactersInRealNamesFindOnlyThatName) {
  Write("a*b", "star");
  Write("aXb", "");
  Write("what?", "");
  EXPECT_EQ(Find("a*b"), (std::vector<std::u16string>{u"a*b"}));
  EXPECT_EQ(Find("what?"), (std::vector<std::u16string>{u"what?"}));
  EXPECT_EQ(Find("a?b"), (std::vector<std::u16string>{u"a*b", u"aXb"}));
}

TEST_F(FileSystemTest, DeleteAndRemoveDirectoryHandleLinksLikeWindows) {
  Write("file", "x");
  fs::create_directories(dir_ / "target/inner");
  fs::create_directory_symlink(dir_ / "target", dir_ / "link");
  fs::create_directory_symlink(dir_ / "target", dir_ / "link2");

  EXPECT_FALSE(DeleteFileW(W("target").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(RemoveDirectoryW(W("target").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(RemoveDirectoryW(W("file").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(DeleteFileW(W("missing").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // A link to a directory goes, its target and contents stay.
  ASSERT_TRUE(RemoveDirectoryW(W("link/").c_str()));
  ASSERT_TRUE(DeleteFileW(W("link2").c_str()));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "link")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "link2")));
  EXPECT_TRUE(fs::exists(dir_ / "target/inner"));

  ASSERT_TRUE(RemoveDirectoryW(W("target/inner").c_str()));
  fs::permissions(dir_ / "file", fs::perms::owner_read);
  EXPECT_FALSE(DeleteFileW(W("file").c_str()));  // read-only, as its attributes say
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  fs::permissions(dir_ / "file", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(DeleteFileW(W("file").c_str()));
  EXPECT_FALSE(fs::exists(dir_ / "file"));

  if (::geteuid() != 0) {  // root ignores directory permissions
    fs::create_directory(dir_ / "locked");
    Write("locked/kept", "");
    fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(DeleteFileW(W("locked/kept").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    fs::permissions(dir_ / "locked", fs::perms::owner_all);
  }
}

TEST_F(FileSystemTest, MoveAndCopyNeverClobberUnlessAsked) {
  Write("a", "alpha");
  Write("b", "bravo");
  EXPECT_FALSE(MoveFileExW(W("a").c_str(), W("b").c_str(), 0));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Read("a"), "alpha");
  EXPECT_EQ(Read("b"), "bravo");
  ASSERT_TRUE(MoveFileExW(W("a").c_str(), W("b").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(Read("b"), "alpha");
  EXPECT_FALSE(fs::exists(dir_ / "a"));
  EXPECT_FALSE(MoveFileW(W("a").c_str(), W("c").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  Write("c", "charlie");
  EXPECT_FALSE(CopyFileW(W("b").c_str(), W("c").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  EXPECT_FALSE(CopyFileW(W("b").c_str(), W("b").c_str(), FALSE));  // would truncate its own source
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Read("b"), "alpha");

  fs::permissions(dir_ / "b", fs::perms::owner_read | fs::perms::owner_exec);
  fs::last_write_time(dir_ / "b", fs::file_time_type::clock::now() - std::chrono::hours(48));
  ASSERT_TRUE(CopyFileW(W("b").c_str(), W("c").c_str(), FALSE));
  EXPECT_EQ(Read("c"), "alpha");
  EXPECT_EQ(fs::status(dir_ / "c").permissions(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(fs::last_write_time(dir_ / "c"), fs::last_write_time(dir_ / "b"));

  ASSERT_TRUE(CreateDirectoryW(W("newdir").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryW(W("newdir").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectoryW(W("no/such/parent").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
