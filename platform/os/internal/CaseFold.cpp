#include "platform/os/internal/CaseFold.h"

namespace kestrel::platform {

namespace {

// Latin Extended-A mostly pairs upper case at even and lower case at odd code points; the
// stretches 0x139–0x148 and 0x179–0x17E pair the other way round, and a few are caseless.
char16_t FoldLatinExtendedA(char16_t c) {
  if (c == 0x131 || c == 0x138 || c == 0x149) return c;  // dotless i, kra, 'n: no upper pair here
  if (c == 0x17F) return u'S';                           // long s
  bool oddIsLower = !((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E));
  if (oddIsLower) return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  return (c & 1) ? c : static_cast<char16_t>(c - 1);
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c == 0xB5) return 0x39C;  // micro sign folds like Greek mu
  if (c >= 0x100 && c <= 0x17F) return FoldLatinExtendedA(c);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = FoldCase(c);
  return out;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

}  // namespace kestrel::platform
