#pragma once
// Code pages. The "ANSI" and OEM code pages of this platform are UTF-8, so narrow text is lossless
// and matches the file system. Windows-1252 and Latin-1 are there for callers that name them
// explicitly (clipboard CF_TEXT, legacy files).

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_THREAD_ACP = 3;
constexpr UINT CP_WINDOWS_1252 = 1252;
constexpr UINT CP_LATIN1 = 28591;
constexpr UINT CP_UTF8 = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;

UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT codePage);

// Win32 protocol: a source length of -1 includes the terminating NUL; a target size of 0 asks
// for the size needed; a target too small fails with ERROR_INSUFFICIENT_BUFFER. Invalid UTF-8
// becomes U+FFFD unless MB_ERR_INVALID_CHARS asks for ERROR_NO_UNICODE_TRANSLATION.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int multiByteCount, WCHAR* wideChar,
                        int wideCharCount);

// Unpaired surrogates become U+FFFD in UTF-8 (or fail with WC_ERR_INVALID_CHARS); characters a
// single-byte code page lacks become the default character ('?' unless given) and set
// *usedDefaultChar. For UTF-8 the default-character arguments must be null, as on Windows.
int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wideChar, int wideCharCount, char* multiByte,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar);

}  // namespace kestrel::platform
