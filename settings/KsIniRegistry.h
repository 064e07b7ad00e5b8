#pragma once
// The registry accessor of the settings store: one open key below a root, opened by path
// ("A\B", no leading backslash), with raw typed values.

#include <cstdint>
#include <vector>

#include "platform/os/Registry.h"
#include "settings/KsIniTypes.h"

namespace kestrel {

struct TKsRegValue {
  platform::DWORD Type = platform::REG_NONE;
  std::vector<std::uint8_t> Data;
};

class TKsIniRegistry {
 public:
  explicit TKsIniRegistry(platform::HKEY root);
  ~TKsIniRegistry();
  TKsIniRegistry(const TKsIniRegistry&) = delete;
  TKsIniRegistry& operator=(const TKsIniRegistry&) = delete;

  platform::HKEY Root() const { return root_; }
  // Opens (or with `create` makes) the key; on failure the previous key stays open.
  bool OpenKey(const String& path, bool create);
  const String& CurrentPath() const { return path_; }
  bool KeyExists(const String& path) const;

  bool ReadValue(const String& name, TKsRegValue& value) const;
  bool WriteValue(const String& name, platform::DWORD type, const std::vector<std::uint8_t>& data);
  bool ValueExists(const String& name) const;
  bool DeleteValue(const String& name);
  // Deletes a key and everything below it.
  bool DeleteKey(const String& path);
  // Deletes everything below the current key.
  bool ClearCurrent();
  bool EnumKeys(std::vector<String>& names) const;
  bool EnumValues(std::vector<String>& names) const;
  bool RenameValue(const String& name, const String& newName);

 private:
  platform::HKEY root_;
  platform::HKEY current_ = nullptr;
  String path_;
};

}  // namespace kestrel
