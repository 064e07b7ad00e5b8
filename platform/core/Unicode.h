#pragma once
// Text encodings at the edges. Inside, text is UTF-16 (`String`, positions in code units); the
// "ANSI" side of the platform is UTF-8 (`AnsiString`). Conversions never fail: malformed input
// becomes U+FFFD, so nothing read from outside can break them.

#include <string>
#include <string_view>

namespace kestrel {

using String = std::u16string;
using AnsiString = std::string;

String Utf8ToUtf16(std::string_view utf8);
AnsiString Utf16ToUtf8(std::u16string_view utf16);
// Appends one code point (at most U+10FFFF, not a surrogate) in UTF-8.
void AppendUtf8(AnsiString& out, char32_t codePoint);

// True for the first and second halves of a surrogate pair.
constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace kestrel
