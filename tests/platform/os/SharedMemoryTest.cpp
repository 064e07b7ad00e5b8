#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/core/Unicode.h"
#include "platform/os/InstanceLock.h"
#include "platform/os/OsErrors.h"
#include "platform/os/SharedMemory.h"
#include "tests/platform/os/ChildProcess.h"
#include "tests/support/TestEnvironment.h"

using namespace kestrel::platform;
using kestrel::testing::ChildProcess;

namespace {

// A name no other test run uses at the same time.
std::string UniqueName(const char* base) { return std::string(base) + "-" + std::to_string(::getpid()); }

HANDLE Create(const std::u16string& name, DWORD size = 16) {
  return CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
}

TEST(SharedMemoryTest, ASecondCreateFindsTheFirstSectionAndItsData) {
  std::u16string name = kestrel::Utf8ToUtf16(UniqueName("KESTREL.EXE"));
  SetLastError(ERROR_ALREADY_EXISTS);  // a stale value must not survive a fresh creation
  HANDLE first = Create(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  auto* view = static_cast<std::uint32_t*>(MapViewOfFile(first, FILE_MAP_WRITE, 0, 0, 16));
  ASSERT_NE(view, nullptr);
  view[1] = 0x12345678;
  ASSERT_TRUE(UnmapViewOfFile(view));

  HANDLE second = Create(name, 4096);  // the existing size wins
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  auto* again = static_cast<std::uint32_t*>(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again[1], 0x12345678u);
  EXPECT_EQ(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 17), nullptr);  // past the 16 bytes
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(MapViewOfFile(second, FILE_MAP_READ, 0, 4096, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MAPPED_ALIGNMENT);
  EXPECT_TRUE(UnmapViewOfFile(again));
  EXPECT_FALSE(UnmapViewOfFile(again));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_ADDRESS);

  EXPECT_TRUE(CloseHandle(first));
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_FALSE(CloseHandle(second));
  // The last handle gone, the name is free again.
  HANDLE opened = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  HANDLE fresh = Create(name);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(fresh);
}

TEST(SharedMemoryTest, AViewKeepsTheSectionAliveAfterItsHandleCloses) {
  std::u16string name = kestrel::Utf8ToUtf16(UniqueName("view-outlives-handle"));
  HANDLE mapping = Create(name);
  auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(CloseHandle(mapping));
  std::strcpy(view, "still here");
  HANDLE other = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
  ASSERT_NE(other, nullptr);
  auto* read = static_cast<const char*>(MapViewOfFile(other, FILE_MAP_READ, 0, 0, 0));
  EXPECT_STREQ(read, "still here");
  UnmapViewOfFile(read);
  CloseHandle(other);
  UnmapViewOfFile(view);

  HANDLE unnamed = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 100, nullptr);
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(MapViewOfFile(unnamed, FILE_MAP_WRITE, 0, 0, 0), nullptr);  // read-only section
  EXPECT_EQ(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  CloseHandle(unnamed);
}

TEST(SharedMemoryTest, ALiveProcessOwnsTheNameAndACrashedOneDoesNot) {
  std::string name = UniqueName("previous-instance");
  std::u16string wide = kestrel::Utf8ToUtf16(name);
  {
    ChildProcess child("hold-mapping", {name});
    ASSERT_EQ(child.ReadLine(), "created");
    HANDLE mapping = Create(wide);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    auto* view = static_cast<std::uint32_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 16));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[1], 0xC0FFEEu);  // what the first instance wrote at bytes 4–7
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    child.Kill();  // SIGKILL: no clean-up code of the child runs
  }
  // The dead owner's object is still in /dev/shm, but the name counts as free.
  HANDLE mapping = Create(wide);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  auto* view = static_cast<std::uint32_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 16));
  EXPECT_EQ(view[1], 0u);  // a fresh, zeroed section
  UnmapViewOfFile(view);
  CloseHandle(mapping);
}

// A forked child shares its parent's lock files; closing its copy of the handle must leave the
// parent's claim on the name as it was (not take it over, remove the name, or block others).
TEST(SharedMemoryTest, AForkedChildClosingItsCopyLeavesTheParentsName) {
  std::string name = UniqueName("forked-copy");
  std::u16string wide = kestrel::Utf8ToUtf16(name);
  HANDLE mapping = Create(wide);
  ASSERT_NE(mapping, nullptr);
  const pid_t child = ::fork();
  if (child == 0) ::_exit(CloseHandle(mapping) ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ChildProcess other("hold-mapping", {name});
  EXPECT_EQ(other.ReadLine(), "existed");
  other.Kill();
  CloseHandle(mapping);
}

TEST(SharedMemoryTest, SessionsWithDifferentRuntimeFoldersDoNotShareASection) {
  // Each session guards its sections with lock files in its own runtime folder, so the section
  // itself must belong to that folder too: otherwise a second session would overwrite it.
  kestrel::testing::TempDir first, second;
  const std::string saved = ::getenv("XDG_RUNTIME_DIR") ? ::getenv("XDG_RUNTIME_DIR") : "";
  const std::u16string name = kestrel::Utf8ToUtf16(UniqueName("SESSION"));
  ::setenv("XDG_RUNTIME_DIR", first.Path().c_str(), 1);
  HANDLE a = Create(name);
  ASSERT_NE(a, nullptr);
  ::setenv("XDG_RUNTIME_DIR", second.Path().c_str(), 1);
  HANDLE b = Create(name);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);  // a new section, not the first session's
  auto* viewA = static_cast<std::uint32_t*>(MapViewOfFile(a, FILE_MAP_WRITE, 0, 0, 16));
  auto* viewB = static_cast<std::uint32_t*>(MapViewOfFile(b, FILE_MAP_WRITE, 0, 0, 16));
  ASSERT_TRUE(viewA && viewB);
  viewA[0] = 1;
  viewB[0] = 2;
  // Back in the first session the name still leads to the first section.
  ::setenv("XDG_RUNTIME_DIR", first.Path().c_str(), 1);
  HANDLE again = Create(name);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  auto* viewAgain = static_cast<std::uint32_t*>(MapViewOfFile(again, FILE_MAP_READ, 0, 0, 16));
  ASSERT_NE(viewAgain, nullptr);
  EXPECT_EQ(viewAgain[0], 1u);
  UnmapViewOfFile(viewAgain);
  UnmapViewOfFile(viewA);
  UnmapViewOfFile(viewB);
  CloseHandle(again);
  CloseHandle(a);
  CloseHandle(b);
  ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(InstanceLockTest, AKilledHolderReleasesTheLock) {
  std::string name = UniqueName("kestrel-instance");
  std::u16string wide = kestrel::Utf8ToUtf16(name);
  ChildProcess child("hold-lock", {name});
  ASSERT_EQ(child.ReadLine(), "locked");

  InstanceLock lock(wide);
  EXPECT_FALSE(lock.TryAcquire());
  EXPECT_FALSE(lock.Held());
  EXPECT_EQ(lock.ReadData(), (std::vector<std::uint8_t>{0x4B, 0x53}));

  child.Kill();
  EXPECT_TRUE(lock.TryAcquire());
  EXPECT_TRUE(lock.Held());
  InstanceLock sameProcess(wide);
  EXPECT_FALSE(sameProcess.TryAcquire());
  ASSERT_TRUE(lock.WriteData({1}));
  EXPECT_EQ(sameProcess.ReadData(), (std::vector<std::uint8_t>{1}));
  lock.Release();
  EXPECT_TRUE(sameProcess.TryAcquire());
}

TEST(InstanceLockTest, ARuntimeFolderPlantedAsALinkIsNotUsed) {
  kestrel::testing::TempDir runtime, elsewhere;
  std::string saved = ::getenv("XDG_RUNTIME_DIR") ? ::getenv("XDG_RUNTIME_DIR") : "";
  std::filesystem::create_directory_symlink(elsewhere.Path(), runtime / "kestrel");
  ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  std::string directory = RuntimeDirectory();
  EXPECT_EQ(directory, "/tmp/kestrel-" + std::to_string(::getuid()));
  InstanceLock lock(kestrel::Utf8ToUtf16(UniqueName("planted")));
  EXPECT_EQ(lock.Acquire(), InstanceLock::Outcome::Acquired);
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
  lock.Release();
  ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
