#pragma once
// Values as text: the forms the text format writes and recognises, and the conversions the
// readers apply between types.

#include <cstdint>
#include <string_view>
#include <vector>

#include "settings/KsIniTypes.h"

namespace kestrel::ksini {

// "454C " + length in hexadecimal + " " + each byte as two hexadecimal digits and a space.
String BinaryToText(const std::vector<std::uint8_t>& data);
// The inverse; a malformed form yields the bytes that could be read. Never allocates more than
// the text can hold.
std::vector<std::uint8_t> TextToBinary(std::u16string_view text);

// The text of a value as the text format writes it (`simple` writes Booleans as 1/0).
String FileText(const TKsValueData& value, bool simple);
// The value a text stands for: Boolean, integer, double or binary when the text is exactly in
// that type's canonical form, otherwise a string.
TKsValueData DetectValue(const String& text);

// A 32-bit integer: decimal, or up to eight hexadecimal digits after "$" or "0x".
bool ParseInt32(std::u16string_view text, std::int32_t& value);
// A number with '.' or the locale's decimal separator.
bool ParseNumber(std::u16string_view text, double& value);
// The locale's decimal separator.
char16_t LocaleDecimalSeparator();
// What ReadString delivers for a value of any type.
String DisplayText(const TKsValueData& value);

// Strict UTF-8 (no overlongs, surrogates or values past U+10FFFF); false when invalid.
bool DecodeUtf8(std::string_view bytes, String& text);

// Colours: the identifier when there is one, otherwise "$" + eight hexadecimal digits.
String ColorToText(std::int32_t color);
// "r.g.b" in decimal, or an identifier or integer with an optional leading '#'. Returns false
// for a bad "r.g.b"; a text that is neither identifier nor integer raises EConvertError.
bool TextToColor(std::u16string_view text, std::int32_t& color);

}  // namespace kestrel::ksini
