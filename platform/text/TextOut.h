#pragma once
// Text output and the DC's text attributes: alignment and character extra; TextOutW and
// ExtTextOutW. Text and background colours and the background mode are DC state of the GDI piece
// (SetTextColor, SetBkColor, SetBkMode in DcState.h).

#include "platform/core/WinTypes.h"
#include "platform/gdi/DcState.h"
#include "platform/text/TextTypes.h"

namespace kestrel::platform {

UINT SetTextAlign(HDC hdc, UINT align);  // previous alignment, GDI_ERROR on failure
UINT GetTextAlign(HDC hdc);
int SetTextCharacterExtra(HDC hdc, int extra);  // previous extra, 0x80000000 on failure
int GetTextCharacterExtra(HDC hdc);

// Draws `count` UTF-16 units at (x, y) as the DC's text alignment places them.
BOOL TextOutW(HDC hdc, int x, int y, const WCHAR* text, int count);
// As TextOutW, with ETO_OPAQUE (fill `rect` with the background colour, also with no text),
// ETO_CLIPPED (clip to `rect`) and `dx` (distance to the next character's origin, per unit;
// with ETO_PDY pairs of x and y distances, of which y is ignored). ETO_GLYPH_INDEX is refused.
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count, const INT* dx);

}  // namespace kestrel::platform
