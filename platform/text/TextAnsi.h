#pragma once
// The A-suffixed text calls: the "ANSI" code page is UTF-8, so each converts its text (counts in
// bytes) and calls the wide version. DrawTextA never writes back (no DT_MODIFYSTRING).

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count);
BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size);
int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format);

}  // namespace kestrel::platform
