#pragma once
// Solid and gradient fills.

#include <cstdint>
#include <vector>

#include "controls/DrawingTypes.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

using TGradientColors = std::vector<platform::COLORREF>;

// Fills `rect` in the DC's background colour slot (opaque empty text), without a brush.
void FillSolid(platform::HDC dc, const TRect& rect, platform::COLORREF rgb);

// Appends `steps` colours from start to end to `list` (nothing for a null list or 0 steps).
// Without `clearFirst` the start colour is left out, so that consecutive segments join without
// repeating their shared colour.
void MakeGradientColors(TColor startColor, TColor endColor, std::uint16_t steps, TGradientColors* list,
                        bool clearFirst);

// Paints gradient shape 0..9 (background type minus bgtHorzGradient) into `rect`. `steps` is
// limited to 0..65535; 0 or an empty rectangle paints nothing. Options: kGradientClip clips to
// the rectangle (moved by the low/high words of `clipOffset` when that is not 0),
// kGradientBuffered paints through a temporary bitmap, kGradientPalette selects a palette built
// from the colours.
void PaintGradient(platform::HDC dc, const TRect& rect, TColor startColor, TColor endColor, int steps, int shape,
                   unsigned options = 0, std::uint32_t clipOffset = 0);
void PaintGradient(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, int steps, int shape,
                   unsigned options = 0, std::uint32_t clipOffset = 0);

}  // namespace kestrel
