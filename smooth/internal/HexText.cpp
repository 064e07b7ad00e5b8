#include "smooth/internal/HexText.h"

#include "framework/Exceptions.h"

namespace kestrel {

namespace {

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') c = static_cast<char16_t>(c - u'a' + u'A');
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  throw EConvertError(u"No Hex-Number");
}

}  // namespace

String BytesToHex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char16_t digits[] = u"0123456789ABCDEF";
  String text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text.push_back(digits[b >> 4]);
    text.push_back(digits[b & 0x0F]);
  }
  return text;
}

std::vector<std::uint8_t> HexToBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes(text.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(DigitValue(text[2 * i]) * 16 + DigitValue(text[2 * i + 1]));
  return bytes;
}

}  // namespace kestrel
