#pragma once
// What the file services report about an inode: the Win32 attribute bits and FILETIME, with the
// conversion from POSIX times.

#include <cstdint>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// 100-nanosecond intervals since 1 January 1601 (UTC).
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

// Seconds and nanoseconds since 1970 as a FILETIME; times before 1601 become 0.
FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds);

}  // namespace kestrel::platform
