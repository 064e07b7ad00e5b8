#pragma once
// Path names: full and long forms, the temporary folder, temporary file names, the current
// directory and the executable's own path. The delimiter is '/'; the Windows drive root used as a
// last resort becomes /tmp/.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Where Windows code falls back to the drive root "C:\".
inline constexpr char16_t kFallbackRootPath[] = u"/tmp/";

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;

// Absolute form with "." and ".." resolved lexically (symbolic links are not followed); a
// trailing delimiter stays. `filePart`, when given, points at the last component inside the
// buffer (null when the path ends with the delimiter).
DWORD GetFullPathNameW(const WCHAR* fileName, DWORD bufferLength, WCHAR* buffer, WCHAR** filePart);

// Every component spelled as its directory lists it. Linux has no short names and compares
// names exactly, so this confirms that the path exists and returns it unchanged; a missing
// component fails with ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND. Source and target may be the
// same buffer.
DWORD GetLongPathNameW(const WCHAR* shortPath, WCHAR* longPath, DWORD bufferLength);

// TMP, then TEMP (both fall back to $TMPDIR and /tmp), made absolute, ending in '/'.
DWORD GetTempPathW(DWORD bufferLength, WCHAR* buffer);

// "<path>/<up to 3 prefix chars><hex number>.TMP". With unique 0 a free number is chosen and
// the empty file created; otherwise the name is only formed. `tempFileName` holds MAX_PATH
// characters. Returns the number used, 0 on failure.
UINT GetTempFileNameW(const WCHAR* pathName, const WCHAR* prefix, UINT unique, WCHAR* tempFileName);

// Where Windows keeps its own configuration and its libraries; on Linux /etc and /usr/lib (no
// trailing delimiter). Length without the NUL, or the size needed with it.
UINT GetWindowsDirectoryW(WCHAR* buffer, UINT size);
UINT GetSystemDirectoryW(WCHAR* buffer, UINT size);

DWORD GetCurrentDirectoryW(DWORD bufferLength, WCHAR* buffer);
BOOL SetCurrentDirectoryW(const WCHAR* pathName);

// The executable's module handle (module null) and its full path (/proc/self/exe). A buffer
// too small gets the truncated path, the result is `size` and the error
// ERROR_INSUFFICIENT_BUFFER. "user32" (or "user32.dll") names the platform's built-in
// user-interface resources (its standard menus, see framework/MenuHandle.h); it has no file.
HMODULE GetModuleHandleW(const WCHAR* moduleName);
DWORD GetModuleFileNameW(HMODULE module, WCHAR* fileName, DWORD size);

}  // namespace kestrel::platform
