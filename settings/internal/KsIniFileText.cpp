#include "settings/internal/KsIniFileText.h"

#include <cstring>
#include <string_view>

#include "settings/internal/KsIniValueText.h"

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

void DecodeFileText(const std::uint8_t* bytes, std::size_t count, String& text) {
  const std::string_view all(reinterpret_cast<const char*>(bytes), count);
  text.clear();
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
}

namespace {

// Where the last complete line of `count` bytes ends (0: none does yet). A CR as the last byte
// may still be followed by its LF, so it does not end a line here.
std::size_t LinesEnd(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = count; i > 0; --i) {
    const std::uint8_t c = bytes[i - 1];
    if (c == '\n' || (c == '\r' && i < count)) return i;
  }
  return 0;
}

}  // namespace

bool NextFileTextPiece(TKsIniByteWindow& in, bool stopAtNul, String& piece) {
  for (;;) {
    const std::uint8_t* data = in.Data();
    std::size_t limit = in.Available();
    bool last = in.Exhausted();
    if (stopAtNul && limit > 0) {
      if (const void* nul = std::memchr(data, 0, limit)) {
        limit = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data);
        last = true;
      }
    }
    const std::size_t cut = last ? limit : LinesEnd(data, limit);
    if (cut > 0) {
      DecodeFileText(data, cut, piece);
      in.Consume(cut);
      return true;
    }
    if (last) return false;
    in.More();  // at the end of the file it leaves the window exhausted
  }
}

}  // namespace kestrel::ksini
