#pragma once
// Shared pieces of the drawing-helper tests: a 32-bit memory canvas and distinct colours for the
// five border colours, so that every ring shows which colour reached it.

#include "controls/DrawingHelpers.h"
#include "platform/theme/UxTheme.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::testing {

using platform::testing::Canvas;

inline const TKsBorderColors kColors{
    static_cast<TColor>(0x0000C0),  // Face
    static_cast<TColor>(0x400000),  // DkShadow
    static_cast<TColor>(0x808000),  // Shadow
    static_cast<TColor>(0x80FF80),  // Highlight
    static_cast<TColor>(0xFFC0FF),  // Window
};
inline constexpr TColor kBack = 0x20A0A0;
inline constexpr TColor kLine = 0x0080FF;
inline constexpr platform::COLORREF kPaper = platform::RGB(250, 250, 250);

inline platform::COLORREF Rgb(TColor c) { return ColorToRGB(c); }

}  // namespace kestrel::testing
