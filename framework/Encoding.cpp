#include "framework/Encoding.h"

#include <string_view>

namespace kestrel {

namespace {

class TUTF8Encoding : public TEncoding {
 public:
  explicit TUTF8Encoding(bool mark) : mark_(mark) {}
  std::vector<std::uint8_t> GetBytes(std::u16string_view text) const override {
    AnsiString utf8 = Utf16ToUtf8(text);
    return std::vector<std::uint8_t>(utf8.begin(), utf8.end());
  }
  String GetString(const std::uint8_t* bytes, std::size_t count) const override {
    return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes), count));
  }
  std::vector<std::uint8_t> GetPreamble() const override {
    if (!mark_) return {};
    return {0xEF, 0xBB, 0xBF};
  }
  const char16_t* EncodingName() const override { return u"UTF-8"; }

 private:
  bool mark_;
};

class TUTF16Encoding : public TEncoding {
 public:
  explicit TUTF16Encoding(bool bigEndian) : big_(bigEndian) {}
  std::vector<std::uint8_t> GetBytes(std::u16string_view text) const override {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
      auto hi = static_cast<std::uint8_t>(c >> 8);
      auto lo = static_cast<std::uint8_t>(c & 0xFF);
      out.push_back(big_ ? hi : lo);
      out.push_back(big_ ? lo : hi);
    }
    return out;
  }
  String GetString(const std::uint8_t* bytes, std::size_t count) const override {
    String out;
    out.reserve(count / 2 + 1);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
      out.push_back(big_ ? static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1])
                         : static_cast<char16_t>(bytes[i + 1] << 8 | bytes[i]));
    }
    if (count % 2) out.push_back(u'\uFFFD');  // a dangling half unit
    return out;
  }
  std::vector<std::uint8_t> GetPreamble() const override {
    if (big_) return {0xFE, 0xFF};
    return {0xFF, 0xFE};
  }
  const char16_t* EncodingName() const override { return big_ ? u"Unicode (Big-Endian)" : u"Unicode"; }

 private:
  bool big_;
};

bool StartsWith(const std::uint8_t* bytes, std::size_t count, const std::vector<std::uint8_t>& mark) {
  if (mark.empty() || count < mark.size()) return false;
  for (std::size_t i = 0; i < mark.size(); ++i)
    if (bytes[i] != mark[i]) return false;
  return true;
}

}  // namespace

const TEncoding& TEncoding::UTF8() {
  static const TUTF8Encoding encoding(true);
  return encoding;
}

const TEncoding& TEncoding::Default() {
  static const TUTF8Encoding encoding(false);
  return encoding;
}

const TEncoding& TEncoding::Unicode() {
  static const TUTF16Encoding encoding(false);
  return encoding;
}

const TEncoding& TEncoding::BigEndianUnicode() {
  static const TUTF16Encoding encoding(true);
  return encoding;
}

const TEncoding& TEncoding::Detect(const std::uint8_t* bytes, std::size_t count, const TEncoding& fallback,
                                   std::size_t& preambleSize) {
  for (const TEncoding* e : {&UTF8(), &Unicode(), &BigEndianUnicode()}) {
    auto mark = e->GetPreamble();
    if (StartsWith(bytes, count, mark)) {
      preambleSize = mark.size();
      return *e;
    }
  }
  preambleSize = 0;
  return fallback;
}

}  // namespace kestrel
