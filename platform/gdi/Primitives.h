#pragma once
// Drawing primitives with GDI's pixel coverage (right and bottom edges exclusive).

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// `brush` may also be a system colour index plus one, as on Windows ((HBRUSH)(COLOR_WINDOW+1)).
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);  // the colour set, or -1
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);                   // CLR_INVALID outside the clip

}  // namespace kestrel::platform
