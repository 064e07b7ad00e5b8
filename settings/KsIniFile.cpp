#include "settings/KsIniFile.h"

#include <algorithm>
#include <cstring>

#include "framework/Encoding.h"
#include "framework/Stream.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "platform/core/ScopeGuard.h"
#include "settings/KsIniRegistry.h"
#include "settings/internal/KsAtomicFile.h"
#include "settings/internal/KsIniBinaryFormat.h"
#include "settings/internal/KsIniByteWindow.h"
#include "settings/internal/KsIniFileText.h"
#include "settings/internal/KsIniKeyScope.h"
#include "settings/internal/KsIniTextFormat.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsIniFile, TComponent)

void TKsIniFile::PublishProperties(TClassBuilder<TKsIniFile>& b) {
  b.Property(u"Path", &TKsIniFile::Path, &TKsIniFile::SetPath).Kind(tkWString);
  b.Property(u"UseRegistry", &TKsIniFile::UseRegistry, &TKsIniFile::SetUseRegistry).Default(false);
  b.Property(u"RegRoot", &TKsIniFile::RegRootValue, &TKsIniFile::SetRegRootValue)
      .TypeName(u"TRegRootType")
      .Default(std::uint32_t{rrtHKEY_CURRENT_USER});
  b.Property(u"Delimiter", &TKsIniFile::Delimiter, &TKsIniFile::SetDelimiter).Default(u'\\');
  b.Property(u"DivChar", &TKsIniFile::DivChar, &TKsIniFile::SetDivChar).Default(u'=');
  b.Property(u"Comment", &TKsIniFile::Comment, &TKsIniFile::SetComment).Kind(tkWString).Default(u";");
  b.Property(u"WarningMessage", &TKsIniFile::WarningMessage, &TKsIniFile::SetWarningMessage)
      .Kind(tkWString)
      .Default(u"Automatically generated file. DO NOT MODIFY!!!");
  b.Property(u"LazyWrite", &TKsIniFile::LazyWrite, &TKsIniFile::SetLazyWrite).Default(true);
  b.Property(u"BinaryMode", &TKsIniFile::BinaryMode, &TKsIniFile::SetBinaryMode).Default(false);
  b.Property(u"Simple", &TKsIniFile::Simple, &TKsIniFile::SetSimple).Default(false);
  b.Property(u"TrimSpaces", &TKsIniFile::TrimSpaces, &TKsIniFile::SetTrimSpaces).Default(false);
  b.Event(u"OnBeforeLoad", &TKsIniFile::OnBeforeLoad, u"TNotifyEvent");
  b.Event(u"OnAfterLoad", &TKsIniFile::OnAfterLoad, u"TNotifyEvent");
  b.Event(u"OnBeforeSave", &TKsIniFile::OnBeforeSave, u"TNotifyEvent");
  b.Event(u"OnAfterSave", &TKsIniFile::OnAfterSave, u"TNotifyEvent");
}

TKsIniFile::TKsIniFile(TComponent* owner) : TComponent(owner) { ResetTree(); }

TKsIniFile::~TKsIniFile() {
  if (!reg_ && lazyWrite_ && modified_) {
    try {
      Save();
    } catch (...) {
      // Destruction must not throw; the last good file stays as it was.
    }
  }
}

void TKsIniFile::ResetTree() {
  root_ = std::make_unique<TKsIniEntry>(nullptr, String(), true);
  current_ = root_.get();
  currentKey_ = String(1, delimiter_);
  ++removals_;
}

void TKsIniFile::Loaded() {
  TComponent::Loaded();
  if (reg_) return;
  try {
    Load();
  } catch (...) {
    // A stored form must still come up when its settings file is damaged.
  }
}

void TKsIniFile::RequireTree(const char16_t* message) const {
  if (reg_) throw EKsIniError(String(message));
}

void TKsIniFile::Changed(bool saveNow) {
  modified_ = true;
  if (saveNow && !lazyWrite_ && !reg_) Save();
}

// ---- Properties --------------------------------------------------------------------------

namespace {

platform::HKEY RootKey(TRegRootType root) {
  return reinterpret_cast<platform::HKEY>(static_cast<platform::ULONG_PTR>(root));
}

String NormalRegPath(const String& value) {
  std::size_t begin = 0, end = value.size();
  while (begin < end && value[begin] == u'\\') ++begin;
  while (end > begin && value[end - 1] == u'\\') --end;
  return u"\\" + value.substr(begin, end - begin);
}

}  // namespace

void TKsIniFile::SetPath(const String& value) {
  if (!reg_) {
    path_ = value;
    return;
  }
  const String normal = NormalRegPath(value);
  String previous = path_;
  path_ = normal;
  if (!reg_->OpenKey(RegFullPath(u"\\"), true)) path_ = previous;
}

void TKsIniFile::SetUseRegistry(bool value) {
  if (value == UseRegistry()) return;
  if (!value) {
    reg_.reset();
    return;
  }
  const String key = currentKey_;
  reg_ = std::make_unique<TKsIniRegistry>(RootKey(regRoot_));
  path_ = NormalRegPath(path_.empty() ? String(u"\\SOFTWARE") : path_);
  if (delimiter_ != u'\\') delimiter_ = u'\\';
  reg_->OpenKey(RegFullPath(key), true);
}

void TKsIniFile::SetRegRoot(TRegRootType value) {
  switch (value) {
    case rrtUnknown: return;
    case rrtHKEY_CLASSES_ROOT:
    case rrtHKEY_CURRENT_USER:
    case rrtHKEY_LOCAL_MACHINE:
    case rrtHKEY_USERS:
    case rrtHKEY_CURRENT_CONFIG: break;
    default: value = rrtHKEY_CURRENT_USER;
  }
  if (value == regRoot_) return;
  regRoot_ = value;
  if (reg_) {
    const String key = CurrentKey();
    reg_ = std::make_unique<TKsIniRegistry>(RootKey(regRoot_));
    reg_->OpenKey(RegFullPath(key), true);
  }
}

void TKsIniFile::SetDelimiter(char16_t value) {
  if (value == delimiter_) return;
  if (reg_) throw EKsIniError(u"Changing delimiter is not available when using registry.");
  for (char16_t& c : currentKey_) {
    if (c == delimiter_) c = value;
  }
  delimiter_ = value;
  if (current_ == root_.get() && !lazyWrite_) Save();
}

void TKsIniFile::SetSimple(bool value) {
  if (value == simple_) return;
  if (reg_) {
    simple_ = value;
    return;
  }
  SwitchSimple(value);
}

// The tree goes through its own format once, so that flat and nested section names are
// re-read the way the new mode takes them. Done in memory: nothing can be left behind in the
// temporary folder.
bool TKsIniFile::SwitchSimple(bool value) {
  const std::vector<std::uint8_t> bytes = Serialize(&TEncoding::ANSI(), true);
  simple_ = value;
  TKsIniByteWindow in(bytes.data(), bytes.size());
  AdoptTree(ParseBytes(in, &TEncoding::ANSI(), true));
  modified_ = true;
  return true;
}

String TKsIniFile::CurrentKey() const {
  if (!reg_) return currentKey_;
  const String& path = reg_->CurrentPath();
  const String base = path_.size() > 1 ? path_.substr(1) : String();
  String rest = path.size() > base.size() ? path.substr(base.size()) : String();
  if (rest.empty() || rest[0] != u'\\') rest.insert(rest.begin(), u'\\');
  return rest;
}

void TKsIniFile::SetCurrentKey(const String& value) {
  if (CompareText(FullKey(value), CurrentKey()) != 0) OpenKey(value, true);
}

// ---- Navigation ----------------------------------------------------------------------------

String TKsIniFile::FullKey(const String& Key) const {
  const char16_t d = delimiter_;
  String key = Key;
  if (key.empty()) return CurrentKey();
  if (key.size() > 1 && key.back() == d) key.pop_back();
  if (key[0] == d) return key;
  const String current = CurrentKey();
  return current.size() == 1 && current[0] == d ? d + key : current + d + key;
}

String TKsIniFile::OwnKey(const String& Key) const {
  const String full = FullKey(Key);
  const std::size_t pos = full.rfind(delimiter_);
  return pos == String::npos ? full : full.substr(pos + 1);
}

String TKsIniFile::ParentKey(const String& Key) const {
  const String full = FullKey(Key);
  const std::size_t pos = full.rfind(delimiter_);
  if (pos == String::npos || pos == 0) return String(1, delimiter_);
  return full.substr(0, pos);
}

String TKsIniFile::RegFullPath(const String& Key) const {
  String path = path_ == u"\\" ? String() : path_;
  const String full = FullKey(Key);
  if (full != u"\\") path += full;
  std::size_t begin = 0;
  while (begin < path.size() && path[begin] == u'\\') ++begin;
  return path.substr(begin);
}

// A key of that name is preferred to a value of that name, so a key and a value that share a
// name stay apart. Without a key, a value is turned into one when creating (its data stays) -
// except while a file is read: there the value keeps its place and a key joins it, since the
// writer puts both into the file.
TKsIniEntry* TKsIniFile::Enter(TKsIniEntry* parent, std::u16string_view name, bool create, bool convertValues) {
  if (TKsIniEntry* key = parent->FindKey(name)) return key;
  if (!create) return nullptr;
  TKsIniEntry* value = convertValues ? parent->FindValue(name) : nullptr;
  if (value) {
    value->SetIsKey(true);
  } else {
    value = parent->Add(String(name), true);
  }
  modified_ = true;
  return value;
}

bool TKsIniFile::OpenIn(TKsIniEntry* from, String& key, std::u16string_view path, bool create, TKsIniEntry*& entry,
                        bool convertValues) {
  const char16_t d = delimiter_;
  entry = from;
  if (simple_) {
    if (!path.empty() && path[0] == d) path.remove_prefix(1);
    // Names compare trimmed, so a name of blanks alone is no name: the root.
    if (Trim(path).empty()) return true;
    TKsIniEntry* section = Enter(from, path, create, convertValues);
    if (!section) return false;
    entry = section;
    key = d + String(path);
    return true;
  }
  if (!path.empty() && path[0] == d) path.remove_prefix(1);
  if (!path.empty() && path.back() == d) path.remove_suffix(1);
  while (!path.empty()) {
    const std::size_t cut = path.find(d);
    const std::u16string_view name = path.substr(0, cut);
    path = cut == std::u16string_view::npos ? std::u16string_view() : path.substr(cut + 1);
    // Names compare trimmed: a component of blanks alone is as empty as none.
    if (Trim(name).empty()) return false;
    TKsIniEntry* child = Enter(entry, name, create, convertValues);
    if (!child) return false;
    entry = child;
    // Appended in place: building a deep path must stay linear in its length.
    if (key.size() != 1 || key[0] != d) key += d;
    key += name;
    if (cut == std::u16string_view::npos) break;
  }
  return true;
}

bool TKsIniFile::OpenTreeKey(const String& Key, bool CanCreate) {
  if (Key.empty()) return true;
  const char16_t d = delimiter_;
  const String full = simple_ ? (Key[0] == d ? Key : d + Key) : FullKey(Key);
  if (CompareText(full, currentKey_) == 0) return true;
  const bool absolute = Key[0] == d || simple_;
  TKsIniEntry* from = absolute ? root_.get() : current_;
  String key = absolute ? String(1, d) : currentKey_;
  TKsIniEntry* entry = from;
  const bool ok = OpenIn(from, key, Key, CanCreate, entry);
  current_ = entry;
  currentKey_ = key;
  return ok;
}

bool TKsIniFile::OpenRegKey(const String& Key, bool CanCreate) { return reg_->OpenKey(RegFullPath(Key), CanCreate); }

bool TKsIniFile::OpenKey(const String& Key, bool CanCreate) {
  return reg_ ? OpenRegKey(Key, CanCreate) : OpenTreeKey(Key, CanCreate);
}

bool TKsIniFile::KeyExists(const String& Key) {
  if (reg_) return reg_->KeyExists(RegFullPath(Key));
  TKeyScope scope(*this);
  return OpenKey(Key, false);
}

namespace {

void FillStrings(TStrings& strings, const std::vector<String>& names) {
  strings.BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { strings.EndUpdate(); });
  strings.Clear();
  for (const String& name : names) strings.Add(name);
}

}  // namespace

// Listing opens without creation: asking what is below a key never makes it.
bool TKsIniFile::EnumSubKeys(const String& Key, TStrings& Strings) {
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  std::vector<String> names;
  if (reg_) {
    if (!reg_->EnumKeys(names)) return false;
  } else {
    for (int i = 0; i < current_->SubCount(); ++i) {
      if (current_->Children(i)->IsKey()) names.push_back(current_->Children(i)->ValueName());
    }
  }
  FillStrings(Strings, names);
  return true;
}

bool TKsIniFile::EnumValues(const String& Key, TStrings& Strings) {
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  std::vector<String> names;
  if (reg_) {
    std::vector<String> keys, values;
    if (!reg_->EnumValues(values) || !reg_->EnumKeys(keys)) return false;
    for (const String& name : values) {
      bool isKey = false;
      for (const String& k : keys) isKey = isKey || SameText(k, name);
      if (!isKey) names.push_back(name);
    }
  } else {
    for (int i = 0; i < current_->SubCount(); ++i) {
      if (!current_->Children(i)->IsKey()) names.push_back(current_->Children(i)->ValueName());
    }
  }
  FillStrings(Strings, names);
  return true;
}

namespace {

// Counts through a list that is only filled, never shown.
class TNameCounter : public TStrings {
 public:
  int Add(const String&) override { return count_++; }
  void Insert(int, const String&) override { ++count_; }
  void Delete(int) override { --count_; }
  void Clear() override { count_ = 0; }

 protected:
  String Get(int) const override { return String(); }
  int GetCount() const override { return count_; }

 private:
  int count_ = 0;
};

}  // namespace

int TKsIniFile::SubKeysCount(const String& Key) {
  TNameCounter counter;
  return EnumSubKeys(Key, counter) ? counter.Count() : -1;
}

int TKsIniFile::ValuesCount(const String& Key) {
  TNameCounter counter;
  return EnumValues(Key, counter) ? counter.Count() : -1;
}

// ---- Renaming, moving, deleting --------------------------------------------------------------

// Gives `entry` a new name unless it is the root, the name holds the delimiter, or a sibling
// (of the same kind, with `keysOnly`) already has it.
bool TKsIniFile::RenameEntry(TKsIniEntry* entry, const String& NewName, bool keysOnly) {
  if (!entry || entry == root_.get() || NewName.find(delimiter_) != String::npos) return false;
  TKsIniEntry* other = keysOnly ? entry->Parent()->FindKey(NewName) : entry->Parent()->Find(NewName);
  if (other && other != entry) return false;
  entry->SetValueName(NewName);
  ++renames_;
  Changed();
  return true;
}

bool TKsIniFile::RenameKey(const String& Key, const String& NewName) {
  RequireTree(u"Key can not be renamed when using registry.");
  TKeyScope scope(*this);
  if (!OpenKey(Key, false) || Trim(NewName).empty()) return false;
  return RenameEntry(current_, NewName, true);
}

bool TKsIniFile::RenameValue(const String& Key, const String& ValueName, const String& NewName) {
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  if (reg_) {
    try {
      return reg_->RenameValue(ValueName, NewName);
    } catch (const std::exception&) {
      return false;
    }
  }
  return RenameEntry(ValueName.empty() ? current_ : current_->Find(ValueName), NewName, false);
}

bool TKsIniFile::MoveEntry(const String& Key, const String& ValueName, const String& NewKey) {
  RequireTree(u"MoveEntry method is not available when using registry.");
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  TKsIniEntry* entry = current_->Find(ValueName);
  if (!entry) return false;
  if (!OpenKey(NewKey, false)) return false;
  TKsIniEntry* dest = current_;
  // A key cannot move into its own subtree.
  if (dest == root_.get() || entry->IsAncestorOf(dest)) return false;
  dest->Adopt(entry);
  ++renames_;
  Changed();
  return true;
}

bool TKsIniFile::CopyValue(const String& Key, const String& ValueName, const String& DestKey) {
  TKsValueData data;
  {
    TKeyScope scope(*this);
    if (!LookupValue(Key, ValueName, data)) return false;
  }
  return WriteValue(DestKey, ValueName, std::move(data));
}

bool TKsIniFile::Delete(const String& Key, const String& ValueName) {
  TKeyScope scope(*this);
  if (reg_) {
    if (!ValueName.empty()) return OpenKey(Key, false) && reg_->DeleteValue(ValueName);
    // Only the key (never the base key itself): a value of the same name in the parent is a
    // different thing and stays.
    if (FullKey(Key) == u"\\") return false;
    return reg_->DeleteKey(RegFullPath(Key));
  }
  if (!OpenKey(Key, false)) return false;
  TKsIniEntry* target = ValueName.empty() ? current_ : current_->FindValue(ValueName);
  if (!target || target == root_.get()) return false;
  if (target->IsAncestorOf(current_)) {
    current_ = target->Parent();
    currentKey_ = TKeyScope::PathOf(current_, delimiter_);
  }
  target->Parent()->Remove(target);
  ++removals_;
  Changed();
  return true;
}

bool TKsIniFile::ClearKey(const String& Key) {
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  if (reg_) return reg_->ClearCurrent();
  current_->Clear();
  ++removals_;
  Changed();
  return true;
}

bool TKsIniFile::Clear() {
  RequireTree(u"Clearing the whole registry is not allowed. Use ClearKey instead.");
  ResetTree();
  Changed();
  return true;
}

TKsIniEntry* TKsIniFile::GetValueEntry(const String& Key, const String& ValueName) {
  RequireTree(u"GetValueEntry method is not available when using registry.");
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return nullptr;
  if (ValueName.empty()) return current_ == root_.get() ? nullptr : current_;
  return current_->Find(ValueName);
}

TKsIniEntry* TKsIniFile::CreateValue(const String& Key, const String& ValueName) {
  RequireTree(u"CreateValue method is not available when using registry.");
  TKeyScope scope(*this);
  if (!OpenKey(Key, true)) return nullptr;
  TKsIniEntry* entry = current_->FindValue(ValueName);
  if (entry) {
    entry->Invalidate();
  } else {
    entry = current_->Add(ValueName, false);
  }
  modified_ = true;
  return entry;
}

void TKsIniFile::SetValueType(const String& Key, const String& ValueName, TKsValueType NewType) {
  RequireTree(u"SetValueType method is not available when using registry.");
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return;
  TKsIniEntry* entry = current_->FindValue(ValueName);
  if (!entry) return;
  entry->Invalidate();
  entry->ValueData().ValueType = NewType;
  Changed();
}

// ---- Persistence -----------------------------------------------------------------------------

namespace {

// Whether `path` goes on below `previous` (a path that ends in a delimiter or carries an empty
// component right after it does not count: those are read from the root, as they always were).
bool ContinuesPath(std::u16string_view path, std::u16string_view previous, char16_t delimiter) {
  return !previous.empty() && previous.back() != delimiter && path.size() > previous.size() + 1 &&
         path.compare(0, previous.size(), previous) == 0 && path[previous.size()] == delimiter &&
         path[previous.size() + 1] != delimiter;
}

bool IsUtf8(const TEncoding& encoding) { return &encoding == &TEncoding::UTF8() || &encoding == &TEncoding::Default(); }

// The bytes held in the window that belong to the text (in a file, those before a NUL).
std::size_t TextLength(const TKsIniByteWindow& in, bool fromFile) {
  const std::size_t held = in.Available();
  if (!fromFile || held == 0) return held;
  const void* nul = std::memchr(in.Data(), 0, held);
  return nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - in.Data()) : held;
}

}  // namespace

std::unique_ptr<TKsIniEntry> TKsIniFile::ParseBytes(TKsIniByteWindow& in, const TEncoding* encoding, bool fromFile) {
  auto root = std::make_unique<TKsIniEntry>(nullptr, String(), true);
  const bool modified = modified_;
  // Files list their keys depth first, so a section usually continues the one before it
  // ([A], [A\B], [A\B\C] ...); it is then opened from there rather than from the root, which
  // keeps reading a deep path linear in the size of the file.
  String previousPath;
  TKsIniEntry* previous = nullptr;
  auto open = [&](const String& path) -> TKsIniEntry* {
    String key(1, delimiter_);
    TKsIniEntry* from = root.get();
    std::u16string_view rest = path;
    if (previous && !simple_ && ContinuesPath(path, previousPath, delimiter_)) {
      from = previous;
      rest.remove_prefix(previousPath.size() + 1);
    }
    TKsIniEntry* entry = nullptr;
    previous = OpenIn(from, key, rest, true, entry, false) ? entry : nullptr;
    if (previous) previousPath = path;
    return previous;
  };
  if (binaryMode_) {
    TKsIniBinaryFormat::Read(in, delimiter_, open);
  } else {
    ReadText(in, *root, encoding, fromFile, open);
  }
  modified_ = modified;
  return root;
}

// A file's text ends at its first NUL byte. UTF-8 is decoded a piece at a time as it is read;
// other encodings (chosen by a byte order mark) are decoded whole.
void TKsIniFile::ReadText(TKsIniByteWindow& in, TKsIniEntry& root, const TEncoding* encoding, bool fromFile,
                          const TKsIniTextFormat::TOpenSection& open) const {
  in.Fill(std::min<std::size_t>(4, in.Remaining()));
  std::size_t preamble = 0;
  const TEncoding& enc =
      TEncoding::Detect(in.Data(), TextLength(in, fromFile), encoding ? *encoding : TEncoding::UTF8(), preamble);
  const TKsIniTextOptions options{delimiter_, divChar_, comment_, String(), trimSpaces_, simple_};
  if (!IsUtf8(enc)) {
    in.FillAll();
    const String text = enc.GetString(in.Data() + preamble, TextLength(in, fromFile) - preamble);
    TKsIniTextFormat::Read(text, root, options, open);
    return;
  }
  in.Consume(preamble);
  String decoded;
  auto next = [&](std::u16string_view& piece) {
    if (!ksini::NextFileTextPiece(in, fromFile, decoded)) return false;
    piece = decoded;
    return true;
  };
  TKsIniTextFormat::Read(next, root, options, open);
}

void TKsIniFile::AdoptTree(std::unique_ptr<TKsIniEntry> root) {
  root_ = std::move(root);
  current_ = root_.get();
  currentKey_ = String(1, delimiter_);
  ++removals_;
}

TKsIniTextOptions TKsIniFile::TextOptions() const {
  return {delimiter_, divChar_, comment_, warningMessage_, trimSpaces_, simple_};
}

std::vector<std::uint8_t> TKsIniFile::Serialize(const TEncoding* encoding, bool fromFile) const {
  std::vector<std::uint8_t> bytes;
  if (binaryMode_) {
    TKsIniBinaryFormat::Write(*root_, delimiter_, bytes);
    return bytes;
  }
  const TEncoding& enc = encoding ? *encoding : TEncoding::UTF8();
  if (!fromFile) bytes = enc.GetPreamble();
  const std::vector<std::uint8_t> text = enc.GetBytes(TKsIniTextFormat::Write(*root_, TextOptions()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// A damaged file leaves the tree as it was and raises EKsIniError (after OnAfterLoad); a file
// that cannot be read (at all, or to its end) makes Load return false.
bool TKsIniFile::Load() {
  if (onBeforeLoad_) onBeforeLoad_(this);
  if (reg_ || path_.empty()) return false;
  TKsIniByteWindow in;
  if (!in.Open(path_, true)) {
    if (onAfterLoad_) onAfterLoad_(this);
    return false;
  }
  return ReadTree(in, &TEncoding::ANSI(), true);
}

void TKsIniFile::LoadFromStream(TStream& Stream, const TEncoding* Encoding) {
  if (onBeforeLoad_) onBeforeLoad_(this);
  if (reg_) return;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (std::size_t n; (n = Stream.Read(buffer, sizeof buffer)) > 0;) {
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  TKsIniByteWindow in(bytes.data(), bytes.size());
  ReadTree(in, Encoding, false);
}

// The new tree replaces the old one only when it was read whole; OnAfterLoad comes either way.
bool TKsIniFile::ReadTree(TKsIniByteWindow& in, const TEncoding* encoding, bool fromFile) {
  std::unique_ptr<TKsIniEntry> root;
  try {
    root = ParseBytes(in, encoding, fromFile);
  } catch (...) {
    if (onAfterLoad_) onAfterLoad_(this);
    // What could not be read is not damaged, only missing.
    if (in.Failed()) return false;
    throw;
  }
  const bool whole = !in.Failed();
  if (whole) {
    AdoptTree(std::move(root));
    modified_ = false;
  }
  if (onAfterLoad_) onAfterLoad_(this);
  return whole;
}

// Saving replaces the file atomically; when that fails the old file is untouched, Modified
// stays set and the result is false.
bool TKsIniFile::Save() {
  if (onBeforeSave_) onBeforeSave_(this);
  if (reg_ || path_.empty()) {
    if (onAfterSave_) onAfterSave_(this);
    return false;
  }
  // A binary file goes out in pieces: a large tree never has its whole file in memory.
  auto writeBinary = [this](const ksini::TPieceWriter& write) {
    return TKsIniBinaryFormat::Write(*root_, delimiter_, write);
  };
  // So does a text file, converted a piece at a time (pieces end between lines).
  auto writeText = [this](const ksini::TPieceWriter& write) {
    const TKsIniTextOptions options = TextOptions();
    return TKsIniTextFormat::Write(*root_, options, [&write](std::u16string_view piece) {
      const std::vector<std::uint8_t> bytes = TEncoding::ANSI().GetBytes(piece);
      return write(bytes.data(), bytes.size());
    });
  };
  const bool ok =
      ksini::ReplaceFileContents(path_, binaryMode_ ? std::function<bool(const ksini::TPieceWriter&)>(writeBinary)
                                                    : std::function<bool(const ksini::TPieceWriter&)>(writeText));
  if (ok) modified_ = false;
  if (onAfterSave_) onAfterSave_(this);
  return ok;
}

void TKsIniFile::SaveToStream(TStream& Stream, const TEncoding* Encoding) {
  if (reg_) return;
  const std::vector<std::uint8_t> bytes = Serialize(Encoding, false);
  Stream.WriteBuffer(bytes.data(), bytes.size());
}

}  // namespace kestrel
