#pragma once
// Files and directories with the Win32 calls, on the POSIX file system. Paths are UTF-16 with '/'
// as the delimiter. Attributes are derived from the inode: directories, symbolic links as reparse
// points, read-only from the write permission bits, hidden for dot files.

#include "platform/core/WinTypes.h"
#include "platform/os/FileAttributes.h"
#include "platform/os/KernelObject.h"

namespace kestrel::platform {

constexpr DWORD MAX_PATH = 260;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x2;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  DWORD dwReserved0 = 0;
  DWORD dwReserved1 = 0;
  WCHAR cFileName[MAX_PATH] = {};
  WCHAR cAlternateFileName[14] = {};  // no 8.3 names here: always empty
};

struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
};

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };

// Searches a directory for names matching the last path component. '*' and '?' match as on
// Windows (ignoring case; "*.*" is everything), but a name that exists literally — both are legal
// in Linux names — is found as itself and nothing else. Entries come sorted, "." and ".." first.
HANDLE FindFirstFileW(const WCHAR* fileName, WIN32_FIND_DATAW* findData);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* findData);
BOOL FindClose(HANDLE search);

DWORD GetFileAttributesW(const WCHAR* fileName);
BOOL GetFileAttributesExW(const WCHAR* fileName, GET_FILEEX_INFO_LEVELS level, void* information);

// Deletes a file or a symbolic link (to anything); directories and read-only files (no write
// permission bit) are refused with ERROR_ACCESS_DENIED.
BOOL DeleteFileW(const WCHAR* fileName);
// Removes an empty directory, or a symbolic link to a directory (the link, not its target).
BOOL RemoveDirectoryW(const WCHAR* pathName);
BOOL CreateDirectoryW(const WCHAR* pathName, void* securityAttributes);
BOOL MoveFileExW(const WCHAR* existingFileName, const WCHAR* newFileName, DWORD flags);
BOOL MoveFileW(const WCHAR* existingFileName, const WCHAR* newFileName);
// Copies contents, permissions and modification time. Copying a file onto itself is refused
// (ERROR_SHARING_VIOLATION) instead of truncating it.
BOOL CopyFileW(const WCHAR* existingFileName, const WCHAR* newFileName, BOOL failIfExists);

}  // namespace kestrel::platform
