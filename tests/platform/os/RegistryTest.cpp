#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/os/OsErrors.h"
#include "platform/os/Registry.h"
#include "tests/platform/os/ChildProcess.h"
#include "tests/support/TestEnvironment.h"

using namespace kestrel::platform;

namespace {

// Every test gets a database of its own in a fresh folder.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("KESTREL_REGISTRY", (dir_ / "registry.db").c_str(), 1); }
  void TearDown() override {
    for (HKEY key : open_) RegCloseKey(key);
    ::unsetenv("KESTREL_REGISTRY");
  }

  HKEY Create(HKEY parent, const char16_t* path, DWORD* disposition = nullptr, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(parent, path, 0, nullptr, 0, access, nullptr, &key, disposition), ERROR_SUCCESS);
    open_.push_back(key);
    return key;
  }

  template <class T>
  void Set(HKEY key, const char16_t* name, DWORD type, const T* data, std::size_t bytes) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
  }

  std::vector<std::uint8_t> Query(HKEY key, const char16_t* name, DWORD& type) {
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    std::vector<std::uint8_t> data(size);
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, &type, data.data(), &size), ERROR_SUCCESS);
    return data;
  }

  // Names from an enumeration call, index by index until ERROR_NO_MORE_ITEMS.
  template <class Enumerate>
  std::vector<std::u16string> Names(Enumerate enumerate) {
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
      WCHAR name[256];
      DWORD length = 256;
      LONG result = enumerate(i, name, &length);
      if (result == ERROR_NO_MORE_ITEMS) break;
      EXPECT_EQ(result, ERROR_SUCCESS);
      if (result != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
  std::vector<std::u16string> SubKeys(HKEY key) {
    return Names([key](DWORD i, WCHAR* name, DWORD* length) {
      return RegEnumKeyExW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
  }
  std::vector<std::u16string> ValueNames(HKEY key) {
    return Names([key](DWORD i, WCHAR* name, DWORD* length) {
      return RegEnumValueW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  kestrel::testing::TempDir dir_;
  std::vector<HKEY> open_;
};

TEST_F(RegistryTest, EveryValueTypeRoundTripsByteForByte) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Kestrel\\Types");
  const char16_t text[] = u"Grüße";  // with its terminating zero, as callers store REG_SZ
  const char16_t expand[] = u"%TEMP%\\x";
  const char16_t multi[] = u"one\0two\0\0";
  DWORD dword = 0xDEADBEEF;
  ULONGLONG qword = 0x0123456789ABCDEFull;
  const std::uint8_t binary[] = {0, 1, 2, 0, 255};
  Set(key, u"sz", REG_SZ, text, sizeof text);
  Set(key, u"expand", REG_EXPAND_SZ, expand, sizeof expand);
  Set(key, u"multi", REG_MULTI_SZ, multi, sizeof multi);
  Set(key, u"dword", REG_DWORD, &dword, 4);
  Set(key, u"qword", REG_QWORD, &qword, 8);
  Set(key, u"binary", REG_BINARY, binary, sizeof binary);
  Set<std::uint8_t>(key, u"none", REG_NONE, nullptr, 0);

  struct Expected {
    const char16_t* name;
    DWORD type;
    const void* data;
    std::size_t size;
  } expected[] = {{u"sz", REG_SZ, text, sizeof text},
                  {u"expand", REG_EXPAND_SZ, expand, sizeof expand},
                  {u"multi", REG_MULTI_SZ, multi, sizeof multi},
                  {u"dword", REG_DWORD, &dword, 4},
                  {u"qword", REG_QWORD, &qword, 8},
                  {u"binary", REG_BINARY, binary, sizeof binary},
                  {u"none", REG_NONE, nullptr, 0}};
  for (const auto& e : expected) {
    DWORD type = 0xFF;
    auto data = Query(key, e.name, type);
    EXPECT_EQ(type, e.type);
    ASSERT_EQ(data.size(), e.size);
    if (e.size) {
      EXPECT_EQ(std::memcmp(data.data(), e.data, e.size), 0);
    }
  }
}

TEST_F(RegistryTest, ValuesPersistInTheDatabaseAcrossReopening) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Persist");
  DWORD value = 77;
  Set(key, u"Count", REG_DWORD, &value, 4);
  RegCloseKey(key);
  open_.clear();

  kestrel::testing::TempDir other;
  ::setenv("KESTREL_REGISTRY", (other / "other.db").c_str(), 1);
  HKEY missing = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Persist", 0, KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(missing, nullptr);

  ::setenv("KESTREL_REGISTRY", (dir_ / "registry.db").c_str(), 1);
  HKEY reopened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\persist", 0, KEY_READ, &reopened), ERROR_SUCCESS);
  open_.push_back(reopened);
  DWORD type;
  auto data = Query(reopened, u"count", type);
  ASSERT_EQ(data.size(), 4u);
  EXPECT_EQ(*reinterpret_cast<DWORD*>(data.data()), 77u);
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveBeyondAscii) {
  DWORD disposition = 0;
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\ÄPFEL\\Ĳssel", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  Create(HKEY_CURRENT_USER, u"software\\äpfel\\ĳSSEL", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));

  DWORD one = 1, two = 2;
  Set(key, u"Größe", REG_DWORD, &one, 4);
  Set(key, u"GRÖSSE", REG_DWORD, &two, 4);  // ß has no single upper-case letter: another name
  Set(key, u"gRÖße", REG_DWORD, &two, 4);   // same name as the first: replaces it
  EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"Größe", u"GRÖSSE"}));
  DWORD type;
  auto data = Query(key, u"GRÖßE", type);
  EXPECT_EQ(*reinterpret_cast<DWORD*>(data.data()), 2u);
}

TEST_F(RegistryTest, SubkeysEnumerateByNameAndValuesInCreationOrder) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Order");
  for (const char16_t* name : {u"delta", u"Alpha", u"charlie", u"Bravo"}) Create(key, name);
  EXPECT_EQ(SubKeys(key), (std::vector<std::u16string>{u"Alpha", u"Bravo", u"charlie", u"delta"}));

  DWORD v = 0;
  for (const char16_t* name : {u"zeta", u"alpha", u"Mid"}) Set(key, name, REG_DWORD, &v, 4);
  Set(key, u"ALPHA", REG_DWORD, &v, 4);  // rewriting keeps place and spelling
  EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"zeta", u"alpha", u"Mid"}));
  ASSERT_EQ(RegDeleteValueW(key, u"Alpha"), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(key), (std::vector<std::u16string>{u"zeta", u"Mid"}));
  EXPECT_EQ(RegDeleteValueW(key, u"alpha"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, BuffersTooSmallReportTheNeededSize) {
  HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Sizes");
  const char16_t text[] = u"twelve chars";
  Set(key, u"text", REG_SZ, text, sizeof text);
  Create(key, u"AVeryLongSubkeyName");

  BYTE small[4] = {1, 2, 3, 4};
  DWORD size = sizeof small, type = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"text", nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof text);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(RegQueryValueExW(key, u"text", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(key, u"absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

  WCHAR name[8];
  DWORD length = 8;
  EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(length, 20u);  // 19 characters and the NUL
  length = 4;
  BYTE data[64];
  DWORD dataSize = sizeof data;
  EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, nullptr, data, &dataSize), ERROR_MORE_DATA);
  EXPECT_EQ(RegEnumValueW(key, 1, name, &length, nullptr, nullptr, data, &dataSize), ERROR_NO_MORE_ITEMS);
  length = 8;
  dataSize = 2;
  EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, nullptr, data, &dataSize), ERROR_MORE_DATA);
  EXPECT_EQ(dataSize, sizeof text);
  EXPECT_EQ(std::u16string(name, length), u"text");

  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValueName,
                             &maxValue, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 1u);
  EXPECT_EQ(maxSubKey, 19u);
  EXPECT_EQ(values, 1u);
  EXPECT_EQ(maxValueName, 4u);
  EXPECT_EQ(maxValue, sizeof text);
}

TEST_F(RegistryTest, DeletingKeysFollowsWindowsRules) {
  HKEY parent = Create(HKEY_CURRENT_USER, u"Software\\Tree\\Parent\\Child");
  HKEY tree = Create(HKEY_CURRENT_USER, u"Software\\Tree");
  DWORD v = 5;
  Set(parent, u"deep", REG_DWORD, &v, 4);
  Set(tree, u"top", REG_DWORD, &v, 4);

  EXPECT_EQ(RegDeleteKeyW(tree, u"Parent"), ERROR_ACCESS_DENIED);  // it has a subkey
  EXPECT_EQ(RegDeleteKeyW(tree, u"Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);  // a root stays
  ASSERT_EQ(RegDeleteKeyW(tree, u"parent\\child"), ERROR_SUCCESS);
  // The handle to the deleted key now fails instead of reaching whatever took its place.
  EXPECT_EQ(RegSetValueExW(parent, u"x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4), ERROR_KEY_DELETED);

  Create(tree, u"Parent\\Again\\Deeper");
  ASSERT_EQ(RegDeleteTreeW(tree, nullptr), ERROR_SUCCESS);  // empties the key, keeps it
  EXPECT_TRUE(SubKeys(tree).empty());
  EXPECT_TRUE(ValueNames(tree).empty());
  HKEY check = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tree", 0, KEY_READ, &check), ERROR_SUCCESS);
  RegCloseKey(check);

  Create(tree, u"A\\B\\C");
  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Tree"), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tree\\A", 0, KEY_READ, &check), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HandlesAreCheckedForLifeAndAccess) {
  HKEY writable = Create(HKEY_CURRENT_USER, u"Software\\Access");
  HKEY readOnly = nullptr;
  ASSERT_EQ(RegOpenKeyExW(writable, nullptr, 0, KEY_READ, &readOnly), ERROR_SUCCESS);
  open_.push_back(readOnly);
  DWORD v = 1;
  EXPECT_EQ(RegSetValueExW(readOnly, u"v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegSetValueExW(writable, u"v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(writable, u"v", 0, REG_DWORD, nullptr, 4), ERROR_NOACCESS);
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(readOnly, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size), ERROR_SUCCESS);

  HKEY closed = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Access", 0, KEY_ALL_ACCESS, &closed), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExW(closed, u"v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExW(nullptr, u"v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ADamagedDatabaseIsReportedAndLeftAlone) {
  kestrel::testing::TempDir other;
  std::string path = (other / "damaged.db").string();
  std::string garbage(4096, 'x');
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(garbage.data(), 1, garbage.size(), file);
  std::fclose(file);
  ::setenv("KESTREL_REGISTRY", path.c_str(), 1);

  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_BADDB);
  EXPECT_EQ(key, nullptr);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(HKEY_CURRENT_USER, u"x", nullptr, nullptr, nullptr, &size), ERROR_BADDB);
  file = std::fopen(path.c_str(), "rb");
  std::string after(4096, '\0');
  ASSERT_EQ(std::fread(after.data(), 1, after.size(), file), after.size());
  std::fclose(file);
  EXPECT_EQ(after, garbage);  // not overwritten
}

TEST_F(RegistryTest, ConcurrentProcessesLoseNoWrites) {
  constexpr int kWriters = 4, kValues = 40;
  std::vector<std::unique_ptr<kestrel::testing::ChildProcess>> writers;
  for (int i = 0; i < kWriters; ++i)
    writers.push_back(std::make_unique<kestrel::testing::ChildProcess>(
        "registry-writer", std::vector<std::string>{std::to_string(i), std::to_string(kValues)}));
  for (auto& writer : writers) EXPECT_EQ(writer->Wait(), 0);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Concurrent", 0, KEY_READ, &key), ERROR_SUCCESS);
  open_.push_back(key);
  auto names = ValueNames(key);
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kWriters * kValues));
  EXPECT_EQ(std::set<std::u16string>(names.begin(), names.end()).size(), names.size());
  EXPECT_EQ(SubKeys(key), (std::vector<std::u16string>{u"child0", u"child1", u"child2", u"child3"}));
}

}  // namespace
