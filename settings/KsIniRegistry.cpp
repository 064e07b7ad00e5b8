#include "settings/KsIniRegistry.h"

#include "framework/SysUtils.h"

namespace kestrel {

using namespace platform;

TKsIniRegistry::TKsIniRegistry(HKEY root) : root_(root) {}

TKsIniRegistry::~TKsIniRegistry() {
  if (current_) RegCloseKey(current_);
}

bool TKsIniRegistry::OpenKey(const String& path, bool create) {
  HKEY key = nullptr;
  LSTATUS status = create ? RegCreateKeyExW(root_, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                          : RegOpenKeyExW(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return false;
  if (current_) RegCloseKey(current_);
  current_ = key;
  path_ = path;
  return true;
}

bool TKsIniRegistry::KeyExists(const String& path) const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool TKsIniRegistry::ReadValue(const String& name, TKsRegValue& value) const {
  if (!current_) return false;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  value.Type = type;
  value.Data.assign(size, 0);
  if (size == 0) return true;
  if (RegQueryValueExW(current_, name.c_str(), nullptr, &type, value.Data.data(), &size) != ERROR_SUCCESS) return false;
  value.Type = type;
  value.Data.resize(size);
  return true;
}

bool TKsIniRegistry::WriteValue(const String& name, DWORD type, const std::vector<std::uint8_t>& data) {
  return current_ &&
         RegSetValueExW(current_, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool TKsIniRegistry::ValueExists(const String& name) const {
  return current_ && RegQueryValueExW(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TKsIniRegistry::DeleteValue(const String& name) {
  return current_ && RegDeleteValueW(current_, name.c_str()) == ERROR_SUCCESS;
}

bool TKsIniRegistry::DeleteKey(const String& path) {
  if (Trim(path).empty()) return false;  // never the root itself
  return RegDeleteTreeW(root_, path.c_str()) == ERROR_SUCCESS;
}

bool TKsIniRegistry::ClearCurrent() { return current_ && RegDeleteTreeW(current_, nullptr) == ERROR_SUCCESS; }

bool TKsIniRegistry::EnumKeys(std::vector<String>& names) const {
  if (!current_) return false;
  for (DWORD index = 0;; ++index) {
    WCHAR buffer[512];
    DWORD length = 512;
    LSTATUS status = RegEnumKeyExW(current_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return true;
    if (status != ERROR_SUCCESS) return false;
    names.emplace_back(buffer, length);
  }
}

bool TKsIniRegistry::EnumValues(std::vector<String>& names) const {
  if (!current_) return false;
  for (DWORD index = 0;; ++index) {
    std::vector<WCHAR> buffer(512);
    DWORD length = static_cast<DWORD>(buffer.size());
    LSTATUS status = RegEnumValueW(current_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(length + 1);
      length = static_cast<DWORD>(buffer.size());
      status = RegEnumValueW(current_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    }
    if (status == ERROR_NO_MORE_ITEMS) return true;
    if (status != ERROR_SUCCESS) return false;
    names.emplace_back(buffer.data(), length);
  }
}

bool TKsIniRegistry::RenameValue(const String& name, const String& newName) {
  TKsRegValue value;
  if (SameText(Trim(name), Trim(newName)) || ValueExists(newName) || !ReadValue(name, value)) return false;
  if (!WriteValue(newName, value.Type, value.Data)) return false;
  return DeleteValue(name);
}

}  // namespace kestrel
