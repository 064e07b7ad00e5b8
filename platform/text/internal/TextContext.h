#pragma once
// What every text call starts from: the DC behind a handle and the font it draws with.

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/internal/FontInstance.h"

namespace kestrel::platform {

struct TextContext {
  std::shared_ptr<DeviceContext> dc;
  std::shared_ptr<FontInstance> font;
  DeviceContextState& State() const { return dc->State(); }
};

// The DC and its font; nullopt (last error ERROR_INVALID_HANDLE) for an invalid handle.
std::optional<TextContext> TextContextOf(HDC hdc);

// Advances of each UTF-16 unit as drawn: glyph advances plus the character extra once per
// character (on the first unit of a surrogate pair).
std::vector<int> RunAdvances(const FontInstance& font, std::u16string_view text, int charExtra);
void RunAdvancesInto(const FontInstance& font, std::u16string_view text, int charExtra, std::vector<int>& advances);
// The same from the string's glyphs, already looked up.
std::vector<int> RunAdvances(const std::vector<PlacedGlyph>& glyphs, std::u16string_view text, int charExtra);
// The same into `advances`, reusing its storage.
void RunAdvancesInto(const std::vector<PlacedGlyph>& glyphs, std::u16string_view text, int charExtra,
                     std::vector<int>& advances);

// Length of a NUL-terminated string (for count -1).
int TerminatedLength(const WCHAR* text);

}  // namespace kestrel::platform
