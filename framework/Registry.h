#pragma once
// TRegistry: keys and values of the registry stand-in through one open "current key".
// Paths starting with '\' are taken from the root key, others from the current key.

#include <cstdint>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/Object.h"
#include "platform/os/Registry.h"

namespace kestrel {

class TStrings;

KESTREL_EXCEPTION(ERegistryException, Exception)

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

class TRegistry : public TObject {
  KESTREL_CLASS(TRegistry)
  explicit TRegistry(platform::REGSAM access = platform::KEY_ALL_ACCESS);
  ~TRegistry() override;

  platform::HKEY RootKey() const { return rootKey_; }
  // Closes the current key.
  void SetRootKey(platform::HKEY value);
  platform::HKEY CurrentKey() const { return currentKey_; }
  const String& CurrentPath() const { return currentPath_; }
  platform::REGSAM Access() const { return access_; }
  void SetAccess(platform::REGSAM value) { access_ = value; }

  bool OpenKey(const String& key, bool canCreate);
  bool OpenKeyReadOnly(const String& key);
  void CloseKey();
  bool CreateKey(const String& key);
  bool DeleteKey(const String& key);
  bool KeyExists(const String& key);
  bool HasSubKeys();
  void GetKeyNames(TStrings& names);
  void GetValueNames(TStrings& names);

  bool ValueExists(const String& name);
  bool DeleteValue(const String& name);
  bool GetDataInfo(const String& name, TRegDataInfo& info);
  TRegDataType GetDataType(const String& name);
  // -1 when the value does not exist.
  int GetDataSize(const String& name);
  void RenameValue(const String& oldName, const String& newName);

  // Reads raise ERegistryException "Invalid data type for '%s'" for a value of another type
  // and "Failed to get data for '%s'" when it cannot be read; writes "Failed to set data for
  // '%s'". ReadString of a missing value gives "".
  String ReadString(const String& name);
  void WriteString(const String& name, const String& value);
  void WriteExpandString(const String& name, const String& value);
  int ReadInteger(const String& name);
  void WriteInteger(const String& name, int value);
  bool ReadBool(const String& name) { return ReadInteger(name) != 0; }
  void WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }
  double ReadFloat(const String& name);
  void WriteFloat(const String& name, double value);
  std::vector<std::uint8_t> ReadBinaryData(const String& name);
  void WriteBinaryData(const String& name, const void* data, int size);

 private:
  platform::HKEY BaseFor(const String& key, String& relative) const;
  bool Query(const String& name, platform::DWORD& type, std::vector<std::uint8_t>& data);
  void Write(const String& name, platform::DWORD type, const void* data, platform::DWORD size);
  void ChangeKey(platform::HKEY key, const String& path);

  platform::HKEY rootKey_ = platform::HKEY_CURRENT_USER;
  platform::HKEY currentKey_ = nullptr;
  String currentPath_;
  platform::REGSAM access_;
};

}  // namespace kestrel
