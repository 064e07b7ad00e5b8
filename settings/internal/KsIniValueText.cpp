#include "settings/internal/KsIniValueText.h"

#include <cmath>

#include "framework/ColorIdentifiers.h"
#include "framework/SysUtils.h"
#include "platform/os/Locale.h"

namespace kestrel::ksini {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Up to eight hexadecimal digits as a 32-bit pattern.
bool ParseHex32(std::u16string_view digits, std::uint32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  std::uint32_t v = 0;
  for (char16_t c : digits) {
    const int d = HexValue(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  value = v;
  return true;
}

std::size_t SkipBlanks(std::u16string_view text, std::size_t pos) {
  while (pos < text.size() && text[pos] == u' ') ++pos;
  return pos;
}

bool IsCanonicalInt(const String& text, std::int32_t& value) {
  std::uint32_t bits = 0;
  if (text.size() > 2 && text[0] == u'0' && text[1] == u'x') {
    if (!ParseHex32(std::u16string_view(text).substr(2), bits)) return false;
    if (u"0x" + IntToHex(bits, 1) != text) return false;
  } else if (text.size() > 1 && text[0] == u'$') {
    if (!ParseHex32(std::u16string_view(text).substr(1), bits)) return false;
    if (u"$" + IntToHex(bits, 1) != text) return false;
  } else {
    int v = 0;
    if (!TryStrToInt(text, v) || IntToStr(v) != text) return false;
    bits = static_cast<std::uint32_t>(v);
  }
  value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace

String BinaryToText(const std::vector<std::uint8_t>& data) {
  String text = u"454C " + IntToHex(data.size(), 1) + u" ";
  text.reserve(text.size() + data.size() * 3);
  for (std::uint8_t b : data) {
    text += kHexDigits[b >> 4];
    text += kHexDigits[b & 0xF];
    text += u' ';
  }
  return text;
}

std::vector<std::uint8_t> TextToBinary(std::u16string_view text) {
  std::vector<std::uint8_t> data;
  if (text.substr(0, 4) != u"454C") return data;
  std::size_t pos = SkipBlanks(text, 4);
  const std::size_t start = pos;
  while (pos < text.size() && HexValue(text[pos]) >= 0) ++pos;
  std::uint32_t length = 0;
  if (!ParseHex32(text.substr(start, pos - start), length)) return data;
  // The declared length is only a limit: the bytes present decide what is allocated.
  data.reserve(std::min<std::size_t>(length, text.size() / 3 + 1));
  while (data.size() < length) {
    pos = SkipBlanks(text, pos);
    if (pos + 1 >= text.size()) break;
    const int hi = HexValue(text[pos]);
    const int lo = HexValue(text[pos + 1]);
    if (hi < 0 || lo < 0) break;
    data.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    pos += 2;
  }
  return data;
}

String FileText(const TKsValueData& value, bool simple) {
  switch (value.ValueType) {
    case evtBoolean:
      if (simple) return value.BoolValue ? u"1" : u"0";
      return value.BoolValue ? u"true" : u"false";
    case evtInt: return IntToStr(value.IntValue);
    case evtString: return value.StrValue;
    case evtBinary: return BinaryToText(value.DataValue);
    case evtDouble: return FloatToStr(value.DoubleValue);
    default: return String();
  }
}

TKsValueData DetectValue(const String& text) {
  TKsValueData value;
  if (SameText(text, u"TRUE") || SameText(text, u"FALSE")) {
    value.ValueType = evtBoolean;
    value.BoolValue = SameText(text, u"TRUE");
    return value;
  }
  if (IsCanonicalInt(text, value.IntValue)) {
    value.ValueType = evtInt;
    return value;
  }
  double d = 0;
  if (TryStrToFloat(text, d) && std::isfinite(d) && FloatToStr(d) == text) {
    value.ValueType = evtDouble;
    value.DoubleValue = d;
    return value;
  }
  if (text.compare(0, 4, u"454C") == 0) {
    value.ValueType = evtBinary;
    value.DataValue = TextToBinary(text);
    return value;
  }
  value.ValueType = evtString;
  value.StrValue = text;
  return value;
}

bool ParseInt32(std::u16string_view text, std::int32_t& value) {
  std::uint32_t bits = 0;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    if (!ParseHex32(text.substr(2), bits)) return false;
  } else if (!text.empty() && text[0] == u'$') {
    if (!ParseHex32(text.substr(1), bits)) return false;
  } else {
    int v = 0;
    if (!TryStrToInt(text, v) || (!text.empty() && (text[0] == u'x' || text[0] == u'X'))) return false;
    bits = static_cast<std::uint32_t>(v);
  }
  value = static_cast<std::int32_t>(bits);
  return true;
}

char16_t LocaleDecimalSeparator() {
  platform::WCHAR buffer[8] = {};
  if (platform::GetLocaleInfoW(platform::LOCALE_USER_DEFAULT, platform::LOCALE_SDECIMAL, buffer, 8) > 1) {
    return buffer[0];
  }
  return u'.';
}

bool ParseNumber(std::u16string_view text, double& value) {
  String normal(text);
  const char16_t sep = LocaleDecimalSeparator();
  if (sep != u'.') {
    for (char16_t& c : normal) {
      if (c == sep) c = u'.';
    }
  }
  return TryStrToFloat(normal, value);
}

String DisplayText(const TKsValueData& value) {
  switch (value.ValueType) {
    case evtMultiString: {
      String text;
      for (const String& line : value.MStrValue) text += line + u"\r\n";
      return text;
    }
    case evtDouble: {
      String text = FloatToStr(value.DoubleValue);
      const char16_t sep = LocaleDecimalSeparator();
      for (char16_t& c : text) {
        if (c == u'.') c = sep;
      }
      return text;
    }
    default: return FileText(value, false);
  }
}

bool DecodeUtf8(std::string_view bytes, String& text) {
  text.clear();
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<std::uint8_t>(bytes[i]);
    int extra = 0;
    std::uint32_t cp = 0;
    if (b0 < 0x80) {
      cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      extra = 1;
      cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2;
      cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<std::uint8_t>(bytes[i + static_cast<std::size_t>(k)]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (cp >> 10));
      text += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      text += static_cast<char16_t>(cp);
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

String ColorToText(std::int32_t color) {
  String ident;
  if (ColorToIdent(color, ident)) return ident;
  return u"$" + IntToHex(static_cast<std::uint32_t>(color), 8);
}

bool TextToColor(std::u16string_view text, std::int32_t& color) {
  if (text.find(u'.') != std::u16string_view::npos) {
    std::int32_t parts[3] = {};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
      std::size_t end = i < 2 ? text.find(u'.', start) : text.size();
      if (end == std::u16string_view::npos) return false;
      int v = 0;
      if (!TryStrToInt(text.substr(start, end - start), v)) return false;
      parts[i] = v;
      start = end + 1;
    }
    color =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(parts[0]) + static_cast<std::uint32_t>(parts[1]) * 256u +
                                  static_cast<std::uint32_t>(parts[2]) * 65536u);
    return true;
  }
  if (!text.empty() && text[0] == u'#') text.remove_prefix(1);
  if (IdentToColor(text, color)) return true;
  std::int32_t v = 0;
  if (!ParseInt32(text, v)) {
    throw EConvertError(u"'%s' is not a valid integer value", {String(text)});
  }
  color = v;
  return true;
}

}  // namespace kestrel::ksini
