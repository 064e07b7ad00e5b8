#include "platform/os/CodePage.h"

#include <cstring>
#include <string>

#include "platform/core/Unicode.h"
#include "platform/os/OsErrors.h"

namespace kestrel::platform {

namespace {

// Windows-1252 0x80–0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

UINT Resolve(UINT codePage) {
  return (codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP) ? CP_UTF8 : codePage;
}

// Decodes UTF-8; returns false at the first malformed sequence when `strict`.
bool DecodeUtf8(const unsigned char* s, std::size_t n, bool strict, std::u16string& out) {
  std::size_t i = 0;
  while (i < n) {
    unsigned char c = s[i];
    char32_t cp;
    std::size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F;
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F;
      len = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      len = 4;
    } else {
      len = 0;
      cp = 0;
    }
    bool ok = len > 0 && i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (ok &&
        ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
      ok = false;
    if (!ok) {
      if (strict) return false;
      out += u'\xFFFD';
      ++i;  // one replacement per bad byte, then resynchronise
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += len;
  }
  return true;
}

bool EncodeUtf8(const char16_t* s, std::size_t n, bool strict, std::string& out) {
  for (std::size_t i = 0; i < n; ++i) {
    char32_t cp = s[i];
    if (IsHighSurrogate(s[i]) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(s[i]) || IsLowSurrogate(s[i])) {
      if (strict) return false;
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return true;
}

char16_t DecodeSingleByte(UINT codePage, unsigned char c) {
  if (codePage == CP_WINDOWS_1252 && c >= 0x80 && c <= 0x9F) {
    char16_t mapped = kCp1252High[c - 0x80];
    return mapped ? mapped : static_cast<char16_t>(c);  // unassigned bytes map to C1 controls
  }
  return c;
}

// The byte for `c` in a single-byte code page, or -1 when there is none.
int EncodeSingleByte(UINT codePage, char16_t c) {
  if (codePage == CP_WINDOWS_1252) {
    for (int k = 0; k < 32; ++k)
      if (kCp1252High[k] == c && c != 0) return 0x80 + k;
    if (c >= 0x80 && c <= 0x9F) return kCp1252High[c - 0x80] ? -1 : c;
  }
  return c <= 0xFF ? c : -1;
}

// Copies a converted result under the Win32 size protocol.
template <class Char>
int Deliver(const std::basic_string<Char>& result, Char* target, int targetCount) {
  if (targetCount == 0) return static_cast<int>(result.size());
  if (!target || static_cast<std::size_t>(targetCount) < result.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(target, result.data(), result.size() * sizeof(Char));
  return static_cast<int>(result.size());
}

}  // namespace

UINT GetACP() { return CP_UTF8; }
UINT GetOEMCP() { return CP_UTF8; }

BOOL IsValidCodePage(UINT codePage) {
  codePage = Resolve(codePage);
  return codePage == CP_UTF8 || codePage == CP_WINDOWS_1252 || codePage == CP_LATIN1;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int multiByteCount, WCHAR* wideChar,
                        int wideCharCount) {
  codePage = Resolve(codePage);
  if (!IsValidCodePage(codePage) || !multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCharCount < 0 ||
      (wideCharCount > 0 && !wideChar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t n = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(multiByteCount);
  const auto* bytes = reinterpret_cast<const unsigned char*>(multiByte);
  std::u16string result;
  if (codePage == CP_UTF8) {
    if (!DecodeUtf8(bytes, n, (flags & MB_ERR_INVALID_CHARS) != 0, result)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) result += DecodeSingleByte(codePage, bytes[i]);
  }
  return Deliver(result, wideChar, wideCharCount);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wideChar, int wideCharCount, char* multiByte,
                        int multiByteCount, const char* defaultChar, BOOL* usedDefaultChar) {
  codePage = Resolve(codePage);
  if (!IsValidCodePage(codePage) || !wideChar || wideCharCount == 0 || wideCharCount < -1 || multiByteCount < 0 ||
      (multiByteCount > 0 && !multiByte) || (codePage == CP_UTF8 && (defaultChar || usedDefaultChar))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t n =
      wideCharCount == -1 ? std::char_traits<char16_t>::length(wideChar) + 1 : static_cast<std::size_t>(wideCharCount);
  std::string result;
  if (codePage == CP_UTF8) {
    if (!EncodeUtf8(wideChar, n, (flags & WC_ERR_INVALID_CHARS) != 0, result)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    bool usedDefault = false;
    for (std::size_t i = 0; i < n; ++i) {
      int byte = EncodeSingleByte(codePage, wideChar[i]);
      if (byte < 0) {
        usedDefault = true;
        byte = static_cast<unsigned char>(defaultChar ? *defaultChar : '?');
        if (IsHighSurrogate(wideChar[i]) && i + 1 < n && IsLowSurrogate(wideChar[i + 1])) ++i;
      }
      result += static_cast<char>(byte);
    }
    if (usedDefaultChar) *usedDefaultChar = usedDefault ? TRUE : FALSE;
  }
  return Deliver(result, multiByte, multiByteCount);
}

}  // namespace kestrel::platform
