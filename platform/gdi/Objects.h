#pragma once
// Creating pens and brushes.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// Width 0 is a one-pixel cosmetic pen; unknown styles fail.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* logPen);
// Cosmetic pens (width 1) with any style including PS_ALTERNATE and PS_USERSTYLE (run lengths
// in `styles`), and geometric pens of any width drawn with a solid brush's colour.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// Copies the bitmap: it may be deleted while the brush lives. A monochrome bitmap paints in the
// DC's text (0) and background (1) colours.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
// BS_SOLID, BS_NULL, BS_HATCHED and BS_PATTERN (lbHatch = HBITMAP).
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);
// A packed DIB (BITMAPINFO followed by its bits) as pattern.
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);

}  // namespace kestrel::platform
