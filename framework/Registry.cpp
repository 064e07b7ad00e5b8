#include "framework/Registry.h"

#include <cstring>

#include "framework/Strings.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TRegistry, TObject)
KESTREL_IMPLEMENT_CLASS(ERegistryException, Exception)

TRegistry::TRegistry(pf::REGSAM access) : access_(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(pf::HKEY value) {
  if (value == rootKey_) return;
  CloseKey();
  rootKey_ = value;
}

void TRegistry::CloseKey() {
  if (currentKey_) pf::RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

void TRegistry::ChangeKey(pf::HKEY key, const String& path) {
  CloseKey();
  currentKey_ = key;
  currentPath_ = path;
}

pf::HKEY TRegistry::BaseFor(const String& key, String& relative) const {
  const bool absolute = !key.empty() && key[0] == u'\\';
  relative = absolute ? key.substr(1) : key;
  while (!relative.empty() && relative.back() == u'\\') relative.pop_back();
  return absolute || !currentKey_ ? rootKey_ : currentKey_;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
  String relative;
  pf::HKEY base = BaseFor(key, relative);
  const String path = (base == rootKey_ || currentPath_.empty()) ? relative : currentPath_ + u"\\" + relative;
  pf::HKEY result = nullptr;
  pf::LSTATUS status;
  if (canCreate && !relative.empty()) {
    status = pf::RegCreateKeyExW(base, relative.c_str(), 0, nullptr, pf::REG_OPTION_NON_VOLATILE, access_, nullptr,
                                 &result, nullptr);
  } else {
    status = pf::RegOpenKeyExW(base, relative.c_str(), 0, access_, &result);
  }
  if (status != pf::ERROR_SUCCESS) return false;
  ChangeKey(result, path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
  const pf::REGSAM saved = access_;
  access_ = pf::KEY_READ;
  const bool ok = OpenKey(key, false);
  access_ = saved;
  return ok;
}

bool TRegistry::CreateKey(const String& key) {
  String relative;
  pf::HKEY base = BaseFor(key, relative);
  pf::HKEY result = nullptr;
  if (pf::RegCreateKeyExW(base, relative.c_str(), 0, nullptr, pf::REG_OPTION_NON_VOLATILE, access_, nullptr, &result,
                          nullptr) != pf::ERROR_SUCCESS)
    throw ERegistryException(u"Failed to create key %s", {key});
  pf::RegCloseKey(result);
  return true;
}

bool TRegistry::DeleteKey(const String& key) {
  String relative;
  pf::HKEY base = BaseFor(key, relative);
  if (relative.empty()) return false;
  return pf::RegDeleteTreeW(base, relative.c_str()) == pf::ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& key) {
  String relative;
  pf::HKEY base = BaseFor(key, relative);
  pf::HKEY result = nullptr;
  if (pf::RegOpenKeyExW(base, relative.c_str(), 0, pf::KEY_READ, &result) != pf::ERROR_SUCCESS) return false;
  pf::RegCloseKey(result);
  return true;
}

bool TRegistry::HasSubKeys() {
  pf::DWORD subKeys = 0;
  return currentKey_ &&
         pf::RegQueryInfoKeyW(currentKey_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr) == pf::ERROR_SUCCESS &&
         subKeys > 0;
}

void TRegistry::GetKeyNames(TStrings& names) {
  names.Clear();
  if (!currentKey_) return;
  for (pf::DWORD i = 0;; ++i) {
    pf::WCHAR name[512];
    pf::DWORD length = 512;
    if (pf::RegEnumKeyExW(currentKey_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != pf::ERROR_SUCCESS)
      break;
    names.Add(String(name, length));
  }
}

void TRegistry::GetValueNames(TStrings& names) {
  names.Clear();
  if (!currentKey_) return;
  for (pf::DWORD i = 0;; ++i) {
    pf::WCHAR name[512];
    pf::DWORD length = 512;
    if (pf::RegEnumValueW(currentKey_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != pf::ERROR_SUCCESS)
      break;
    names.Add(String(name, length));
  }
}

bool TRegistry::Query(const String& name, pf::DWORD& type, std::vector<std::uint8_t>& data) {
  pf::HKEY key = currentKey_ ? currentKey_ : rootKey_;
  pf::DWORD size = 0;
  if (pf::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != pf::ERROR_SUCCESS) return false;
  data.resize(size);
  if (size == 0) return true;
  return pf::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) == pf::ERROR_SUCCESS &&
         (data.resize(size), true);
}

void TRegistry::Write(const String& name, pf::DWORD type, const void* data, pf::DWORD size) {
  pf::HKEY key = currentKey_ ? currentKey_ : rootKey_;
  if (pf::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const pf::BYTE*>(data), size) != pf::ERROR_SUCCESS)
    throw ERegistryException(u"Failed to set data for '%s'", {name});
}

bool TRegistry::ValueExists(const String& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const String& name) {
  return pf::RegDeleteValueW(currentKey_ ? currentKey_ : rootKey_, name.c_str()) == pf::ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const String& name, TRegDataInfo& info) {
  pf::DWORD type = 0, size = 0;
  info = {};
  if (pf::RegQueryValueExW(currentKey_ ? currentKey_ : rootKey_, name.c_str(), nullptr, &type, nullptr, &size) !=
      pf::ERROR_SUCCESS)
    return false;
  switch (type) {
    case pf::REG_SZ: info.RegData = rdString; break;
    case pf::REG_EXPAND_SZ: info.RegData = rdExpandString; break;
    case pf::REG_DWORD: info.RegData = rdInteger; break;
    case pf::REG_BINARY: info.RegData = rdBinary; break;
    default: info.RegData = rdUnknown; break;
  }
  info.DataSize = static_cast<int>(size);
  return true;
}

TRegDataType TRegistry::GetDataType(const String& name) {
  TRegDataInfo info;
  GetDataInfo(name, info);
  return info.RegData;
}

int TRegistry::GetDataSize(const String& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

void TRegistry::RenameValue(const String& oldName, const String& newName) {
  pf::DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (oldName == newName || ValueExists(newName) || !Query(oldName, type, data)) return;
  Write(newName, type, data.data(), static_cast<pf::DWORD>(data.size()));
  DeleteValue(oldName);
}

String TRegistry::ReadString(const String& name) {
  pf::DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!Query(name, type, data)) return String();
  if (type != pf::REG_SZ && type != pf::REG_EXPAND_SZ) throw ERegistryException(u"Invalid data type for '%s'", {name});
  String text(data.size() / 2, u'\0');
  std::memcpy(text.data(), data.data(), text.size() * 2);
  // Up to the first NUL: stored strings carry their terminator.
  if (auto nul = text.find(u'\0'); nul != String::npos) text.resize(nul);
  return text;
}

void TRegistry::WriteString(const String& name, const String& value) {
  Write(name, pf::REG_SZ, value.c_str(), static_cast<pf::DWORD>((value.size() + 1) * 2));
}

void TRegistry::WriteExpandString(const String& name, const String& value) {
  Write(name, pf::REG_EXPAND_SZ, value.c_str(), static_cast<pf::DWORD>((value.size() + 1) * 2));
}

int TRegistry::ReadInteger(const String& name) {
  pf::DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!Query(name, type, data)) throw ERegistryException(u"Failed to get data for '%s'", {name});
  if (type != pf::REG_DWORD || data.size() != 4) throw ERegistryException(u"Invalid data type for '%s'", {name});
  std::int32_t value = 0;
  std::memcpy(&value, data.data(), 4);
  return value;
}

void TRegistry::WriteInteger(const String& name, int value) {
  const auto v = static_cast<std::int32_t>(value);
  Write(name, pf::REG_DWORD, &v, 4);
}

double TRegistry::ReadFloat(const String& name) {
  const std::vector<std::uint8_t> data = ReadBinaryData(name);
  if (data.size() != sizeof(double)) throw ERegistryException(u"Invalid data type for '%s'", {name});
  double value = 0;
  std::memcpy(&value, data.data(), sizeof value);
  return value;
}

void TRegistry::WriteFloat(const String& name, double value) { Write(name, pf::REG_BINARY, &value, sizeof value); }

std::vector<std::uint8_t> TRegistry::ReadBinaryData(const String& name) {
  pf::DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!Query(name, type, data)) throw ERegistryException(u"Failed to get data for '%s'", {name});
  if (type != pf::REG_BINARY) throw ERegistryException(u"Invalid data type for '%s'", {name});
  return data;
}

void TRegistry::WriteBinaryData(const String& name, const void* data, int size) {
  if (size < 0) throw ERegistryException(u"Failed to set data for '%s'", {name});
  Write(name, pf::REG_BINARY, data, static_cast<pf::DWORD>(size));
}

}  // namespace kestrel
