#pragma once
// Named shared memory with the Win32 file-mapping calls, on POSIX shared memory. Windows frees a
// section with its last handle; POSIX objects outlive crashed processes, so each named section
// carries a lock file that every user holds shared: when nobody holds it, the name is free and a
// leftover object is replaced instead of being reported as existing.

#include <cstddef>

#include "platform/core/WinTypes.h"
#include "platform/os/KernelObject.h"

namespace kestrel::platform {

using SIZE_T = std::size_t;

constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD PAGE_WRITECOPY = 0x08;

constexpr DWORD FILE_MAP_COPY = 0x0001;
constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0xF001F;

constexpr DWORD ERROR_INVALID_ADDRESS = 487;

// Only page-file backing (file = INVALID_HANDLE_VALUE) exists here. When the name is already in
// use the existing section is returned (with its own size) and GetLastError() is
// ERROR_ALREADY_EXISTS; a new section sets ERROR_SUCCESS. Unnamed sections are private.
HANDLE CreateFileMappingW(HANDLE file, const void* securityAttributes, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, const WCHAR* name);
// ERROR_FILE_NOT_FOUND when no live section has that name.
HANDLE OpenFileMappingW(DWORD desiredAccess, BOOL inheritHandle, const WCHAR* name);

// Offsets must be multiples of 64 KiB; 0 bytes maps to the end of the section. A view keeps its
// section alive after the handle is closed.
void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
BOOL UnmapViewOfFile(const void* address);

}  // namespace kestrel::platform
