#pragma once
// Bitmap backgrounds, centring and alpha blending.

#include <cstdint>

#include "controls/DrawingTypes.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// A rectangle of the inner size centred in the outer one, starting at (0, 0), never wider or
// higher than the outer size and never left of or above it.
TRect CenterRect(int innerWidth, int outerWidth, int innerHeight, int outerHeight);

// Paints the part `area` (DC coordinates; the background point area + origin) of a background
// that covers `reference` (background coordinates): a tiled, stretched, centred or top-left
// bitmap with `color` around it, or a colour fill. Gradient types paint nothing here. Parts
// outside the reference, and the whole area when the bitmap is missing or empty, get `color`.
void PaintBitmapBackground(platform::HDC dc, const TRect& area, const TRect& reference,
                           TVnBackgroundType backgroundType, platform::HBITMAP bitmap, TColor color,
                           platform::POINT origin = {0, 0});

// Blends `sourceRect` of `sourceDc` (stretched to the destination size when they differ) over
// `destRect`: alpha = `alpha` when `constantAlpha`, else the source pixel's own alpha byte;
// each channel becomes (source × a + destination × (256 − a)) >> 8 and the result is opaque.
void AlphaBlendRect(platform::HDC dc, const TRect& destRect, platform::HDC sourceDc, const TRect& sourceRect,
                    bool constantAlpha, std::uint8_t alpha);
// Blends `color` over `rect` with the constant `alpha` (0 leaves it, 255 almost replaces it).
void AlphaFillRect(platform::HDC dc, const TRect& rect, TColor color, std::uint8_t alpha);
void AlphaFillRect(TCanvas* canvas, const TRect& rect, TColor color, std::uint8_t alpha);

}  // namespace kestrel
