#include "platform/os/Registry.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/HandleTable.h"
#include "platform/os/OsErrors.h"
#include "platform/os/internal/RegistryStore.h"
#include "platform/os/internal/TextBuffer.h"

namespace kestrel::platform {

namespace {

struct OpenKey {
  RegistryKeyId id = 0;
  REGSAM access = 0;
  std::uint64_t generation = 0;
};

HandleTable<OpenKey>& Handles() {
  // Never destroyed: keys may still be closed by other objects' destructors at exit.
  static auto* table = new HandleTable<OpenKey>(static_cast<std::uint8_t>(HandleTag::RegistryKey));
  return *table;
}

constexpr ULONG_PTR kFirstRoot = 0x80000000;
constexpr ULONG_PTR kLastRoot = 0x80000005;

bool IsPredefined(HKEY key) {
  auto value = reinterpret_cast<ULONG_PTR>(key);
  return value >= kFirstRoot && value <= kLastRoot;
}

constexpr REGSAM kSpecificRights = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS;

// The store key behind a handle, checking that it is live and opened with `needed` rights.
LONG Resolve(HKEY key, REGSAM needed, RegistryKeyId& id) {
  RegistryStore& store = RegistryStore::Instance();
  if (IsPredefined(key)) {
    id = RegistryStore::RootId(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(key) - kFirstRoot));
    std::uint64_t generation;
    return store.Generation(generation);
  }
  auto open = key ? Handles().Lookup(reinterpret_cast<std::uintptr_t>(key)) : nullptr;
  if (!open) return ERROR_INVALID_HANDLE;
  std::uint64_t generation;
  if (LONG result = store.Generation(generation); result != ERROR_SUCCESS) return result;
  if (generation != open->generation) return ERROR_INVALID_HANDLE;  // opened in another database
  if ((needed & ~open->access & kSpecificRights) != 0) return ERROR_ACCESS_DENIED;
  id = open->id;
  return store.KeyExists(id);
}

std::vector<std::u16string> SplitPath(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

LONG NewHandle(RegistryKeyId id, REGSAM access, HKEY* result) {
  std::uint64_t generation;
  if (LONG error = RegistryStore::Instance().Generation(generation); error != ERROR_SUCCESS) return error;
  auto open = std::make_shared<OpenKey>(OpenKey{id, access, generation});
  std::uintptr_t handle = Handles().Insert(open);
  if (!handle) return ERROR_NOT_ENOUGH_MEMORY;
  *result = reinterpret_cast<HKEY>(handle);
  return ERROR_SUCCESS;
}

LONG FindSubKey(HKEY key, const WCHAR* subKey, RegistryKeyId& target) {
  RegistryKeyId base;
  if (LONG result = Resolve(key, 0, base); result != ERROR_SUCCESS) return result;
  bool created;
  return RegistryStore::Instance().OpenPath(base, SplitPath(WideArg(subKey)), false, target, created);
}

// Hands value data out under the Win32 protocol (size query, ERROR_MORE_DATA).
LONG DeliverData(const RegistryValue& value, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (type) *type = value.type;
  if (!dataSize) return ERROR_SUCCESS;
  auto needed = static_cast<DWORD>(value.data.size());
  if (data && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data && needed) std::memcpy(data, value.data.data(), needed);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer of *length characters; the size needed (with the NUL)
// comes back in *length when it does not fit.
LONG DeliverName(const std::u16string& text, WCHAR* buffer, DWORD* length) {
  if (*length <= text.size()) {
    *length = static_cast<DWORD>(text.size() + 1);
    return ERROR_MORE_DATA;
  }
  *length = CopyWithNeededSize(text, buffer, *length);
  return ERROR_SUCCESS;
}

FILETIME FileTimeFromTicks(std::int64_t ticks) {
  auto value = static_cast<std::uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
}

void EmptyClass(WCHAR* keyClass, DWORD* classLength) {
  if (!classLength) return;
  if (keyClass && *classLength > 0) keyClass[0] = u'\0';
  *classLength = 0;
}

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, const WCHAR* subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  RegistryKeyId target;
  if (LONG error = FindSubKey(key, subKey, target); error != ERROR_SUCCESS) return error;
  return NewHandle(target, access, result);
}

LSTATUS RegOpenKeyW(HKEY key, const WCHAR* subKey, HKEY* result) {
  return RegOpenKeyExW(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LSTATUS RegCreateKeyExW(HKEY key, const WCHAR* subKey, DWORD reserved, WCHAR* /*keyClass*/, DWORD /*options*/,
                        REGSAM access, const void* /*securityAttributes*/, HKEY* result, DWORD* disposition) {
  if (!result || reserved != 0) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  RegistryKeyId base;
  if (LONG error = Resolve(key, 0, base); error != ERROR_SUCCESS) return error;
  RegistryKeyId target;
  bool created = false;
  if (LONG error = RegistryStore::Instance().OpenPath(base, SplitPath(WideArg(subKey)), true, target, created);
      error != ERROR_SUCCESS)
    return error;
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return NewHandle(target, access, result);
}

LSTATUS RegCreateKeyW(HKEY key, const WCHAR* subKey, HKEY* result) {
  return RegCreateKeyExW(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LSTATUS RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  if (!key || !Handles().Remove(reinterpret_cast<std::uintptr_t>(key))) return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY key, const WCHAR* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (reserved || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_QUERY_VALUE, id); error != ERROR_SUCCESS) return error;
  RegistryValue value;
  if (LONG error = RegistryStore::Instance().GetValue(id, WideArg(valueName), value); error != ERROR_SUCCESS)
    return error;
  return DeliverData(value, type, data, dataSize);
}

LSTATUS RegSetValueExW(HKEY key, const WCHAR* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize) {
  if (reserved != 0) return ERROR_INVALID_PARAMETER;
  if (!data && dataSize > 0) return ERROR_NOACCESS;
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_SET_VALUE, id); error != ERROR_SUCCESS) return error;
  return RegistryStore::Instance().SetValue(id, WideArg(valueName), type, data, dataSize);
}

LSTATUS RegDeleteValueW(HKEY key, const WCHAR* valueName) {
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_SET_VALUE, id); error != ERROR_SUCCESS) return error;
  return RegistryStore::Instance().DeleteValue(id, WideArg(valueName));
}

LSTATUS RegDeleteKeyW(HKEY key, const WCHAR* subKey) {
  if (!subKey) return ERROR_INVALID_PARAMETER;
  RegistryKeyId target;
  if (LONG error = FindSubKey(key, subKey, target); error != ERROR_SUCCESS) return error;
  return RegistryStore::Instance().DeleteKey(target, false);
}

LSTATUS RegDeleteTreeW(HKEY key, const WCHAR* subKey) {
  RegistryKeyId target;
  if (LONG error = FindSubKey(key, subKey, target); error != ERROR_SUCCESS) return error;
  if (SplitPath(WideArg(subKey)).empty()) return RegistryStore::Instance().DeleteContents(target);
  return RegistryStore::Instance().DeleteKey(target, true);
}

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* /*reserved*/, WCHAR* keyClass,
                      DWORD* classLength, FILETIME* lastWriteTime) {
  if (!name || !nameLength) return ERROR_INVALID_PARAMETER;
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_ENUMERATE_SUB_KEYS, id); error != ERROR_SUCCESS) return error;
  std::u16string subKey;
  std::int64_t written = 0;
  if (LONG error = RegistryStore::Instance().EnumKey(id, index, subKey, written); error != ERROR_SUCCESS) return error;
  if (LONG error = DeliverName(subKey, name, nameLength); error != ERROR_SUCCESS) return error;
  EmptyClass(keyClass, classLength);
  if (lastWriteTime) *lastWriteTime = FileTimeFromTicks(written);
  return ERROR_SUCCESS;
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, WCHAR* valueName, DWORD* valueNameLength, DWORD* /*reserved*/, DWORD* type,
                      BYTE* data, DWORD* dataSize) {
  if (!valueName || !valueNameLength || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_QUERY_VALUE, id); error != ERROR_SUCCESS) return error;
  RegistryValue value;
  if (LONG error = RegistryStore::Instance().EnumValue(id, index, value); error != ERROR_SUCCESS) return error;
  LONG nameResult = DeliverName(value.name, valueName, valueNameLength);
  LONG dataResult = DeliverData(value, type, data, dataSize);
  return nameResult != ERROR_SUCCESS ? nameResult : dataResult;
}

LSTATUS RegQueryInfoKeyW(HKEY key, WCHAR* keyClass, DWORD* classLength, DWORD* /*reserved*/, DWORD* subKeys,
                         DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                         DWORD* maxValueLength, DWORD* securityDescriptor, FILETIME* lastWriteTime) {
  RegistryKeyId id;
  if (LONG error = Resolve(key, KEY_QUERY_VALUE, id); error != ERROR_SUCCESS) return error;
  RegistryKeyInfo info;
  if (LONG error = RegistryStore::Instance().QueryInfo(id, info); error != ERROR_SUCCESS) return error;
  EmptyClass(keyClass, classLength);
  if (subKeys) *subKeys = info.subKeys;
  if (maxSubKeyLength) *maxSubKeyLength = info.maxSubKeyLength;
  if (maxClassLength) *maxClassLength = 0;
  if (values) *values = info.values;
  if (maxValueNameLength) *maxValueNameLength = info.maxValueNameLength;
  if (maxValueLength) *maxValueLength = info.maxValueLength;
  if (securityDescriptor) *securityDescriptor = 0;
  if (lastWriteTime) *lastWriteTime = FileTimeFromTicks(info.written);
  return ERROR_SUCCESS;
}

LSTATUS RegFlushKey(HKEY key) {
  RegistryKeyId id;
  return Resolve(key, 0, id);
}

}  // namespace kestrel::platform
