#pragma once
// The registry with the Win32 calls, on our own store (RegistryStore). Key and value names are
// case-insensitive; subkeys enumerate in name order, values in creation order. Key handles are
// entries of a checked handle table; the predefined roots are the Win32 values.

#include "platform/core/WinTypes.h"
#include "platform/os/FileSystem.h"

namespace kestrel::platform {

using LSTATUS = LONG;
using REGSAM = DWORD;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000003));
inline HKEY const HKEY_PERFORMANCE_DATA = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000004));
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000005));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Subkey paths use '\' between names; empty components are skipped. A null or empty subkey
// opens the given key again.
LSTATUS RegOpenKeyExW(HKEY key, const WCHAR* subKey, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegOpenKeyW(HKEY key, const WCHAR* subKey, HKEY* result);
LSTATUS RegCreateKeyExW(HKEY key, const WCHAR* subKey, DWORD reserved, WCHAR* keyClass, DWORD options, REGSAM access,
                        const void* securityAttributes, HKEY* result, DWORD* disposition);
LSTATUS RegCreateKeyW(HKEY key, const WCHAR* subKey, HKEY* result);
LSTATUS RegCloseKey(HKEY key);

// Value data in bytes. Null data with a size pointer asks for the size; a buffer too small
// gives ERROR_MORE_DATA and the size needed. A null or empty name is the key's default value.
LSTATUS RegQueryValueExW(HKEY key, const WCHAR* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
LSTATUS RegSetValueExW(HKEY key, const WCHAR* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LSTATUS RegDeleteValueW(HKEY key, const WCHAR* valueName);

// Deletes a subkey that has no subkeys of its own (ERROR_ACCESS_DENIED otherwise).
LSTATUS RegDeleteKeyW(HKEY key, const WCHAR* subKey);
// Deletes a subkey with everything below it; with a null subkey, empties the key itself.
LSTATUS RegDeleteTreeW(HKEY key, const WCHAR* subKey);

// `nameLength` holds the buffer's size in characters on entry and the name's length (without
// the NUL) on return; ERROR_MORE_DATA when it does not fit, ERROR_NO_MORE_ITEMS past the end.
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* reserved, WCHAR* keyClass,
                      DWORD* classLength, FILETIME* lastWriteTime);
LSTATUS RegEnumValueW(HKEY key, DWORD index, WCHAR* valueName, DWORD* valueNameLength, DWORD* reserved, DWORD* type,
                      BYTE* data, DWORD* dataSize);
LSTATUS RegQueryInfoKeyW(HKEY key, WCHAR* keyClass, DWORD* classLength, DWORD* reserved, DWORD* subKeys,
                         DWORD* maxSubKeyLength, DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength,
                         DWORD* maxValueLength, DWORD* securityDescriptor, FILETIME* lastWriteTime);
// Every change is already durable when its call returns.
LSTATUS RegFlushKey(HKEY key);

}  // namespace kestrel::platform
