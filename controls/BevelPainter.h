#pragma once
// The classic bevels and grab-handle strips of a panel: what a panel paints for each
// TVnBevelStyle and for a grab handle's BevelKind when it does not follow the platform theme.

#include "controls/DrawingTypes.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// The top-left and bottom-right colours of a classic bevel: `spaceColor` for both with bvSpace,
// shadow over highlight with bvLowered, highlight over shadow for every other style.
struct TBevelColors {
  TColor TopLeft;
  TColor BottomRight;
};
TBevelColors BevelColors(TVnBevelStyle style, TColor spaceColor);

// Paints a bevel `width` rings thick on `rect` (nothing for bvNone) and returns the rectangle
// left inside it: `rect` moved in by `width`, or `rect` itself for bvNone.
TRect PaintBevel(platform::HDC dc, const TRect& rect, TVnBevelStyle style, int width, TColor spaceColor);
// An outer and then an inner bevel of the same width, as a panel paints them.
TRect PaintBevels(platform::HDC dc, const TRect& rect, TVnBevelStyle outer, TVnBevelStyle inner, int width,
                  TColor spaceColor);

// The strip `size` pixels thick along `side` of `area`.
TRect GrabHandleStrip(const TRect& area, TVnBorderSide side, int size);

// A grab handle of `bevelKind` along `side` of `area`: takes the strip `size` pixels thick,
// fills it with `color` and draws the two grip lines along its middle; `area` loses the strip.
// Returns the strip. bvNone, and a size of 0 or less, take and paint nothing (an empty result).
TRect PaintGrabHandle(platform::HDC dc, TRect& area, TVnBorderSide side, int size, TVnBevelStyle bevelKind,
                      TColor color);

}  // namespace kestrel
