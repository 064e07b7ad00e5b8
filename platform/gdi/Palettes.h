#pragma once
// Logical palettes, as far as indexed DIBs need them. Surfaces are 32-bit, so selecting and
// realising a palette changes nothing on screen.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

HPALETTE CreatePalette(const LOGPALETTE* palette);
// A fixed 256-entry table: a 6×6×6 colour cube followed by 40 greys.
HPALETTE CreateHalftonePalette(HDC hdc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
BOOL ResizePalette(HPALETTE palette, UINT count);
// The entry nearest `color` by squared RGB distance; CLR_INVALID for a bad or empty palette.
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC hdc);

}  // namespace kestrel::platform
