#include "platform/text/internal/TextContext.h"

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/internal/FontObject.h"

namespace kestrel::platform {

std::optional<TextContext> TextContextOf(HDC hdc) {
  std::shared_ptr<DeviceContext> dc = hdc ? LookupDeviceContext(hdc) : nullptr;
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return std::nullopt;
  }
  return TextContext{dc, FontInstanceOf(dc->State().font)};
}

namespace {

// The character extra goes once per character: on the first unit of a surrogate pair.
void AddCharExtra(std::u16string_view text, int charExtra, std::vector<int>& advances) {
  if (charExtra == 0) return;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!IsLowSurrogate(text[i]) || i == 0 || !IsHighSurrogate(text[i - 1])) advances[i] += charExtra;
}

}  // namespace

std::vector<int> RunAdvances(const FontInstance& font, std::u16string_view text, int charExtra) {
  std::vector<int> advances;
  RunAdvancesInto(font, text, charExtra, advances);
  return advances;
}

void RunAdvancesInto(const FontInstance& font, std::u16string_view text, int charExtra, std::vector<int>& advances) {
  font.UnitAdvancesInto(text, advances);
  AddCharExtra(text, charExtra, advances);
}

std::vector<int> RunAdvances(const std::vector<PlacedGlyph>& glyphs, std::u16string_view text, int charExtra) {
  std::vector<int> advances;
  RunAdvancesInto(glyphs, text, charExtra, advances);
  return advances;
}

void RunAdvancesInto(const std::vector<PlacedGlyph>& glyphs, std::u16string_view text, int charExtra,
                     std::vector<int>& advances) {
  advances.assign(text.size(), 0);
  for (const PlacedGlyph& glyph : glyphs) advances[glyph.unit] = glyph.advance;
  AddCharExtra(text, charExtra, advances);
}

int TerminatedLength(const WCHAR* text) {
  int length = 0;
  while (text[length]) ++length;
  return length;
}

}  // namespace kestrel::platform
