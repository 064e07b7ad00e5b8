#include "edit/KsTextMeasure.h"

#include <algorithm>

namespace kestrel {

int SnapToCharStart(std::u16string_view s, int i) {
  if (i > 0 && i < static_cast<int>(s.size()) && IsHighSurrogate(s[i - 1]) && IsLowSurrogate(s[i])) return i - 1;
  return i;
}

int TKsTextMeasure::TabSpaces() const { return std::max(1, host_.TabSpaces()); }

platform::SIZE TKsTextMeasure::TextSize(std::u16string_view s) const {
  if (!host_.HasWindow()) return {};
  return host_.TextExtent(s);
}

String TKsTextMeasure::ExpandTabs(std::u16string_view s) const {
  if (s.find(u'\t') == std::u16string_view::npos) return String(s);
  String out;
  out.reserve(s.size());
  const String tab(static_cast<size_t>(TabSpaces()), u' ');
  for (char16_t c : s) {
    if (c == u'\t') out += tab;
    else out += c;
  }
  return out;
}

String TKsTextMeasure::MaskText(std::u16string_view s) const {
  const char16_t mask = host_.PasswordChar();
  String out(s);
  if (mask == 0) return out;
  for (char16_t& c : out)
    if (c != u'\r' && c != u'\n') c = mask;
  return out;
}

namespace {

// Characters of R (tabs weighing TabSpaces) whose whole weight fits into F expanded characters.
int MapExpandedCount(std::u16string_view r, int f, int tabSpaces) {
  int used = 0;
  int count = 0;
  for (char16_t c : r) {
    const int weight = c == u'\t' ? tabSpaces : 1;
    if (used + weight > f) break;
    used += weight;
    ++count;
  }
  return count;
}

}  // namespace

int TKsTextMeasure::FitPrefix(std::u16string_view r, int aWidth, bool mask) const {
  if (r.empty() || aWidth <= 0 || !host_.HasWindow()) return 0;
  size_t chunk = std::min<size_t>(r.size(), 256);
  for (;;) {
    // A chunk never ends between the halves of a pair.
    if (chunk < r.size() && IsHighSurrogate(r[chunk - 1])) ++chunk;
    const std::u16string_view part = r.substr(0, chunk);
    int count = 0;
    bool whole = false;
    if ((!mask || host_.PasswordChar() == 0) && part.find(u'\t') == std::u16string_view::npos) {
      // Shown as it stands: no copies needed.
      count = host_.TextFit(part, aWidth);
      whole = count >= static_cast<int>(part.size());
    } else {
      const String shown = mask ? MaskText(part) : String(part);
      const String expanded = ExpandTabs(shown);
      const int f = host_.TextFit(expanded, aWidth);
      count = MapExpandedCount(shown, f, TabSpaces());
      whole = f >= static_cast<int>(expanded.size());
    }
    if (!whole || chunk == r.size()) return SnapToCharStart(r, count);
    chunk = std::min(r.size(), chunk * 2);
  }
}

bool TKsTextMeasure::ShownAsItStands(std::u16string_view s) const {
  return host_.HasWindow() && host_.PasswordChar() == 0 && s.find(u'\t') == std::u16string_view::npos;
}

bool TKsTextMeasure::ShownRunExtents(std::u16string_view s, std::vector<int>& extents) const {
  return ShownAsItStands(s) && host_.RunExtents(s, extents) && extents.size() == s.size();
}

int TKsTextMeasure::PrintableAsciiAdvance() const {
  if (!host_.HasWindow() || host_.PasswordChar() != 0) return 0;
  return std::max(0, host_.PrintableAsciiAdvance());
}

bool TKsTextMeasure::IsPrintableAscii(std::u16string_view s) {
  // The library's search is unrolled; below U+0020 wraps around to above U+005E.
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return static_cast<char16_t>(c - 0x20) <= 0x5E; });
}

int TKsTextMeasure::CharsFitRight(int aWidth, std::u16string_view s, int startPos) const {
  startPos = std::clamp(startPos, 0, static_cast<int>(s.size()));
  return FitPrefix(s.substr(static_cast<size_t>(startPos)), aWidth, false);
}

int TKsTextMeasure::FitRight(int aWidth, std::u16string_view s, int startPos) const {
  startPos = std::clamp(startPos, 0, static_cast<int>(s.size()));
  return FitPrefix(s.substr(static_cast<size_t>(startPos)), aWidth, true);
}

int TKsTextMeasure::FitLeftImpl(int aWidth, std::u16string_view s, int startPos, bool mask) const {
  startPos = std::clamp(startPos, 0, static_cast<int>(s.size()));
  if (startPos == 0) return 0;
  // Reverse by characters, so that a pair keeps its order and still measures as one character.
  String reversed;
  reversed.reserve(static_cast<size_t>(startPos));
  for (int i = startPos; i > 0;) {
    if (i >= 2 && IsLowSurrogate(s[i - 1]) && IsHighSurrogate(s[i - 2])) {
      reversed += s[i - 2];
      reversed += s[i - 1];
      i -= 2;
    } else {
      reversed += s[--i];
    }
  }
  return FitPrefix(reversed, aWidth, mask);
}

int TKsTextMeasure::CharsFitLeft(int aWidth, std::u16string_view s, int startPos) const {
  return FitLeftImpl(aWidth, s, startPos, false);
}

int TKsTextMeasure::FitLeft(int aWidth, std::u16string_view s, int startPos) const {
  return FitLeftImpl(aWidth, s, startPos, true);
}

}  // namespace kestrel
