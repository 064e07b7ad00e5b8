#include "settings/KsIniFileText.h"

#include <string_view>

#include "settings/KsIniValueText.h"

namespace kestrel::ksini {

char16_t Windows1252Char(std::uint8_t byte) {
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
  };
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

String DecodeFileText(const std::uint8_t* bytes, std::size_t count) {
  const std::string_view all(reinterpret_cast<const char*>(bytes), count);
  String text;
  text.reserve(count);
  String line;
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view raw = all.substr(pos, end - pos);
    if (DecodeUtf8(raw, line)) {
      text += line;
    } else {
      for (char c : raw) text += Windows1252Char(static_cast<std::uint8_t>(c));
    }
    // The line break itself is ASCII in both code pages.
    for (pos = end; pos < all.size() && (all[pos] == '\r' || all[pos] == '\n'); ++pos) {
      text += static_cast<char16_t>(all[pos]);
    }
  }
  return text;
}

}  // namespace kestrel::ksini
