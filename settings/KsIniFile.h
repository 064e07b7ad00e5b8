#pragma once
// TKsIniFile: typed settings under a tree of keys addressed by paths such as \Window\Main, kept
// in a file of its own (readable text with nested sections, or compact binary records) or in
// the registry under a root key and a base path.
//
// Every operation that takes a Key opens it (empty: the current key), works there and returns
// to the key that was current before; writes open with creation, reads and queries without.
// In file mode the tree lives in memory and is written by Save, after each change (LazyWrite
// off) or when the component goes (LazyWrite on).

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/Component.h"
#include "framework/PropInfo.h"
#include "platform/core/WinTypes.h"
#include "settings/KsIniEntry.h"
#include "settings/KsIniTypes.h"

namespace kestrel {

class TEncoding;
class TStream;
class TStrings;
class TKsIniRegistry;
class TKsIniByteWindow;
struct TKsIniTextOptions;

class TKsIniFile : public TComponent {
  KESTREL_CLASS(TKsIniFile)
  explicit TKsIniFile(TComponent* owner);
  ~TKsIniFile() override;

  // ---- Published properties.
  const String& Path() const { return path_; }
  void SetPath(const String& value);
  bool UseRegistry() const { return reg_ != nullptr; }
  void SetUseRegistry(bool value);
  TRegRootType RegRoot() const { return regRoot_; }
  void SetRegRoot(TRegRootType value);
  // RegRoot as a plain number, for the published-property system.
  std::uint32_t RegRootValue() const { return regRoot_; }
  void SetRegRootValue(std::uint32_t value) { SetRegRoot(static_cast<TRegRootType>(value)); }
  char16_t Delimiter() const { return delimiter_; }
  void SetDelimiter(char16_t value);
  char16_t DivChar() const { return divChar_; }
  void SetDivChar(char16_t value) { divChar_ = value; }
  const String& Comment() const { return comment_; }
  void SetComment(const String& value) { comment_ = value; }
  const String& WarningMessage() const { return warningMessage_; }
  void SetWarningMessage(const String& value) { warningMessage_ = value; }
  bool LazyWrite() const { return lazyWrite_; }
  void SetLazyWrite(bool value) { lazyWrite_ = value; }
  bool BinaryMode() const { return binaryMode_; }
  void SetBinaryMode(bool value) { binaryMode_ = value; }
  bool Simple() const { return simple_; }
  void SetSimple(bool value);
  bool TrimSpaces() const { return trimSpaces_; }
  void SetTrimSpaces(bool value) { trimSpaces_ = value; }
  const TNotifyEvent& OnBeforeLoad() const { return onBeforeLoad_; }
  void SetOnBeforeLoad(TNotifyEvent value) { onBeforeLoad_ = std::move(value); }
  const TNotifyEvent& OnAfterLoad() const { return onAfterLoad_; }
  void SetOnAfterLoad(TNotifyEvent value) { onAfterLoad_ = std::move(value); }
  const TNotifyEvent& OnBeforeSave() const { return onBeforeSave_; }
  void SetOnBeforeSave(TNotifyEvent value) { onBeforeSave_ = std::move(value); }
  const TNotifyEvent& OnAfterSave() const { return onAfterSave_; }
  void SetOnAfterSave(TNotifyEvent value) { onAfterSave_ = std::move(value); }

  // ---- Public state.
  String CurrentKey() const;
  void SetCurrentKey(const String& value);
  bool Modified() const { return modified_; }

  // ---- Keys and navigation.
  bool OpenKey(const String& Key, bool CanCreate);
  bool KeyExists(const String& Key);
  String FullKey(const String& Key) const;
  String OwnKey(const String& Key) const;
  String ParentKey(const String& Key) const;
  bool EnumSubKeys(const String& Key, TStrings& Strings);
  bool EnumValues(const String& Key, TStrings& Strings);
  int SubKeysCount(const String& Key);
  int ValuesCount(const String& Key);
  bool RenameKey(const String& Key, const String& NewName);
  bool RenameValue(const String& Key, const String& ValueName, const String& NewName);
  bool MoveEntry(const String& Key, const String& ValueName, const String& NewKey);
  bool CopyValue(const String& Key, const String& ValueName, const String& DestKey);
  bool Delete(const String& Key, const String& ValueName);
  virtual bool ClearKey(const String& Key);
  bool Clear();
  virtual TKsIniEntry* GetValueEntry(const String& Key, const String& ValueName);
  TKsIniEntry* CreateValue(const String& Key, const String& ValueName);
  TKsValueType GetValueType(const String& Key, const String& ValueName);
  virtual void SetValueType(const String& Key, const String& ValueName, TKsValueType NewType);
  bool ValueExists(const String& Key, const String& ValueName);

  // ---- Values.
  bool WriteBool(const String& Key, const String& ValueName, bool Value);
  bool ReadBool(const String& Key, const String& ValueName, bool DefValue, bool& Value);
  bool WriteInteger(const String& Key, const String& ValueName, std::int32_t Value);
  bool ReadInteger(const String& Key, const String& ValueName, std::int32_t DefValue, std::int32_t& Value);
  bool WriteDouble(const String& Key, const String& ValueName, double Value);
  bool ReadDouble(const String& Key, const String& ValueName, double DefValue, double& Value);
  bool WriteString(const String& Key, const String& ValueName, const String& Value);
  bool ReadString(const String& Key, const String& ValueName, const String& DefValue, String& Value);
  bool WriteMultiString(const String& Key, const String& ValueName, const TStrings& Strings);
  bool ReadMultiString(const String& Key, const String& ValueName, TStrings& Strings);
  bool WriteBinary(const String& Key, const String& ValueName, const void* Buffer, std::int32_t BufferLen);
  bool ReadBinary(const String& Key, const String& ValueName, void* Buffer, std::int32_t& BufferLen);
  bool WriteColor(const String& Key, const String& ValueName, std::int32_t Value);
  bool ReadColor(const String& Key, const String& ValueName, std::int32_t DefValue, std::int32_t& Value);
  bool WriteRect(const String& Key, const String& ValueName, const platform::RECT& Value);
  bool ReadRect(const String& Key, const String& ValueName, const platform::RECT& DefValue, platform::RECT& Value);
  bool WriteWideString(const String& Key, const String& ValueName, const String& Value);
  bool ReadWideString(const String& Key, const String& ValueName, const String& DefValue, String& Value);
  bool WriteObject(const String& Key, TObject* AnObject);
  bool ReadObject(const String& Key, TObject* AnObject);

  // ---- Persistence. A damaged binary file raises EKsIniError.
  bool Load();
  bool Save();
  void LoadFromStream(TStream& Stream, const TEncoding* Encoding = nullptr);
  void SaveToStream(TStream& Stream, const TEncoding* Encoding = nullptr);

 protected:
  void Loaded() override;

 private:
  class TKeyScope;
  friend class TKeyScope;

  // Navigation in the tree from `from`; `key` receives the key string that follows.
  bool OpenIn(TKsIniEntry* from, String& key, std::u16string_view path, bool create, TKsIniEntry*& entry,
              bool convertValues = true);
  TKsIniEntry* Enter(TKsIniEntry* parent, std::u16string_view name, bool create, bool convertValues);
  bool OpenTreeKey(const String& Key, bool CanCreate);
  bool OpenRegKey(const String& Key, bool CanCreate);
  String RegFullPath(const String& Key) const;
  // Stores a value (file mode: in the tree; registry mode: converted).
  bool WriteValue(const String& Key, const String& ValueName, TKsValueData&& data);
  bool WriteRegValue(const String& Key, const String& ValueName, const TKsValueData& data);
  // A registry value read as tree data; false when missing.
  bool ReadRegValue(const String& Key, const String& ValueName, TKsValueData& data);
  // A copy of the value in file or registry mode; false when it is missing.
  bool LookupValue(const String& Key, const String& ValueName, TKsValueData& data);
  void Changed(bool saveNow = true);
  bool RenameEntry(TKsIniEntry* entry, const String& NewName, bool keysOnly);
  void RequireTree(const char16_t* message) const;
  void ResetTree();
  std::unique_ptr<TKsIniEntry> ParseBytes(TKsIniByteWindow& in, const TEncoding* encoding, bool fromFile);
  void ReadText(TKsIniByteWindow& in, TKsIniEntry& root, const TEncoding* encoding, bool fromFile,
                const std::function<TKsIniEntry*(const String&)>& open) const;
  void AdoptTree(std::unique_ptr<TKsIniEntry> root);
  // False (the tree kept) when the bytes could not all be read.
  bool ReadTree(TKsIniByteWindow& in, const TEncoding* encoding, bool fromFile);
  TKsIniTextOptions TextOptions() const;
  std::vector<std::uint8_t> Serialize(const TEncoding* encoding, bool fromFile) const;
  // Objects at the current key; `active` holds the objects being written or read further up,
  // so links that lead back to them are not followed again.
  void WriteObjectHere(TObject* object, std::vector<const TObject*>& active);
  void ReadObjectHere(TObject* object, std::vector<const TObject*>& active);
  void WriteObjectProperty(TObject* object, const TPropInfo& prop, std::vector<const TObject*>& active);
  void ReadObjectProperty(TObject* object, const TPropInfo& prop, std::vector<const TObject*>& active);
  void WriteChildObject(const String& key, TObject* child, std::vector<const TObject*>& active);
  void ReadChildObject(const String& key, TObject* child, std::vector<const TObject*>& active);
  bool SwitchSimple(bool value);

  String path_;
  TRegRootType regRoot_ = rrtHKEY_CURRENT_USER;
  char16_t delimiter_ = u'\\';
  char16_t divChar_ = u'=';
  String comment_ = u";";
  String warningMessage_ = u"Automatically generated file. DO NOT MODIFY!!!";
  bool lazyWrite_ = true;
  bool binaryMode_ = false;
  bool simple_ = false;
  bool trimSpaces_ = false;
  bool modified_ = false;
  TNotifyEvent onBeforeLoad_, onAfterLoad_, onBeforeSave_, onAfterSave_;

  std::unique_ptr<TKsIniEntry> root_;
  TKsIniEntry* current_ = nullptr;
  String currentKey_;
  // Bumped whenever entries are freed, so a remembered entry is only reused while it lives.
  std::uint64_t removals_ = 0;
  // Bumped whenever paths change (renames, moves).
  std::uint64_t renames_ = 0;
  std::unique_ptr<TKsIniRegistry> reg_;
};

}  // namespace kestrel
