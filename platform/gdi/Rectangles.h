#pragma once
// Rectangle helpers with the Windows rules: right and bottom are exclusive, a rectangle with
// right <= left or bottom <= top is empty, and results that would be empty are all zero.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL CopyRect(RECT* dest, const RECT* source);
BOOL InflateRect(RECT* rect, int dx, int dy);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
// FALSE and an all-zero result when the rectangles do not overlap.
BOOL IntersectRect(RECT* dest, const RECT* a, const RECT* b);
// Empty inputs are ignored; FALSE when both are empty.
BOOL UnionRect(RECT* dest, const RECT* a, const RECT* b);
// a minus b when that leaves a rectangle; otherwise a itself (FALSE when a is empty).
BOOL SubtractRect(RECT* dest, const RECT* a, const RECT* b);

}  // namespace kestrel::platform
