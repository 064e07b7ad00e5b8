#pragma once
// Small helpers for the Win32 text-buffer conventions shared by the OS services: reading
// NUL-terminated wide arguments and writing results under the "return the needed size when the
// buffer is too small" protocol.

#include <algorithm>
#include <string_view>

#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// The NUL-terminated text at `text` (empty for a null pointer).
inline std::u16string_view WideArg(const WCHAR* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

// UTF-8 form of a wide argument, as file-system calls take it.
inline std::string NarrowArg(const WCHAR* text) { return Utf16ToUtf8(WideArg(text)); }

// Copies `value` and a terminating NUL into `buffer` when `size` (in characters) can hold both,
// returning the length without the NUL; otherwise leaves the buffer alone and returns the size
// needed including the NUL. This is the protocol of GetEnvironmentVariable, GetTempPath,
// GetFullPathName, GetCurrentDirectory and friends.
inline DWORD CopyWithNeededSize(std::u16string_view value, WCHAR* buffer, DWORD size) {
  if (!buffer || size <= value.size()) return static_cast<DWORD>(value.size() + 1);
  std::copy(value.begin(), value.end(), buffer);
  buffer[value.size()] = u'\0';
  return static_cast<DWORD>(value.size());
}

// Copies as much of `value` as fits with a terminating NUL (nothing when size is 0); returns
// true when all of it fitted.
inline bool CopyTruncated(std::u16string_view value, WCHAR* buffer, DWORD size) {
  if (!buffer || size == 0) return false;
  std::size_t n = std::min<std::size_t>(value.size(), size - 1);
  std::copy_n(value.begin(), n, buffer);
  buffer[n] = u'\0';
  return n == value.size();
}

}  // namespace kestrel::platform
