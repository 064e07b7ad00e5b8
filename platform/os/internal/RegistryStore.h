#pragma once
// The registry's storage: one SQLite database per user holding keys (a tree, names compared
// case-insensitively) and typed values. Several processes may use it at once: the database runs
// in WAL mode, waits for locks, and every change is one transaction. The database lives at
// $KESTREL_REGISTRY, else $XDG_CONFIG_HOME/kestrel/registry.db (~/.config when unset); when that
// setting changes, the next call opens the new place.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

struct sqlite3;

namespace kestrel::platform {

using RegistryKeyId = std::int64_t;

struct RegistryKeyInfo {
  DWORD subKeys = 0;
  DWORD maxSubKeyLength = 0;  // characters, without the NUL
  DWORD values = 0;
  DWORD maxValueNameLength = 0;
  DWORD maxValueLength = 0;  // bytes
  std::int64_t written = 0;  // FILETIME ticks
};

struct RegistryValue {
  std::u16string name;
  DWORD type = 0;
  std::vector<std::uint8_t> data;
};

class RegistryStore {
 public:
  static RegistryStore& Instance();

  // Ids of the predefined roots (HKEY_CLASSES_ROOT … HKEY_CURRENT_CONFIG) are fixed.
  static RegistryKeyId RootId(unsigned rootIndex) { return static_cast<RegistryKeyId>(rootIndex) + 1; }

  // Every call returns a Win32 error code. `generation` changes whenever another database is
  // opened, so handles into the previous one can be told apart.
  LONG Generation(std::uint64_t& generation);
  LONG KeyExists(RegistryKeyId key);
  // Walks (and with `create`, makes) the path below `base`; `created` tells whether the last
  // component was new.
  LONG OpenPath(RegistryKeyId base, const std::vector<std::u16string>& parts, bool create, RegistryKeyId& key,
                bool& created);
  LONG GetValue(RegistryKeyId key, std::u16string_view name, RegistryValue& value);
  LONG SetValue(RegistryKeyId key, std::u16string_view name, DWORD type, const std::uint8_t* data, DWORD size);
  LONG DeleteValue(RegistryKeyId key, std::u16string_view name);
  // Deletes the key (roots refused); unless `recursive`, only when it has no subkeys.
  LONG DeleteKey(RegistryKeyId key, bool recursive);
  // Deletes every subkey and value of the key, keeping the key.
  LONG DeleteContents(RegistryKeyId key);
  LONG EnumKey(RegistryKeyId key, DWORD index, std::u16string& name, std::int64_t& written);
  LONG EnumValue(RegistryKeyId key, DWORD index, RegistryValue& value);
  LONG QueryInfo(RegistryKeyId key, RegistryKeyInfo& info);

  ~RegistryStore();

 private:
  RegistryStore() = default;
  LONG EnsureOpen();
  LONG OpenDatabase(const std::string& path);
  void CloseDatabase();
  LONG Touch(RegistryKeyId key);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  std::string path_;
  long pid_ = 0;
  std::uint64_t generation_ = 0;
};

}  // namespace kestrel::platform
