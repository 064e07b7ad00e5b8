#pragma once
// Sizes, content margins and colours of the parts the theme draws.

#include <optional>

#include "platform/core/WinTypes.h"
#include "platform/theme/ThemeClass.h"

namespace kestrel::platform {

// The size a part wants: its fixed glyph size, or (for parts that stretch) the smallest size
// its drawing needs. TS_DRAW of a stretching part is the rectangle given.
std::optional<SIZE> PartSize(ThemeClass themeClass, int part, int state, int sizeKind, const RECT* rect);
// How far the part's content lies inside its background, per side (left, top, right, bottom).
RECT ContentMargins(ThemeClass themeClass, int part);
// TMT_* colours of a part; nothing for a property the part does not have.
std::optional<COLORREF> PartColor(ThemeClass themeClass, int part, int state, int propId);
// Text colour of a part's text (DrawThemeText).
COLORREF PartTextColor(ThemeClass themeClass, int part, int state);
// Rounded or glyph-sized parts leave pixels of their rectangle unpainted.
bool PartiallyTransparent(ThemeClass themeClass, int part, int state);

}  // namespace kestrel::platform
