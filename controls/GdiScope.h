#pragma once
// Small building blocks of the drawing helpers: the platform's MulDiv, a rectangle's size and a
// one-pixel line.

#include <cstdint>

#include "platform/gdi/Gdi.h"

namespace kestrel {

// a × b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result does not fit,
// as the platform's MulDiv answers.
int MulDiv(int a, int b, int c);

// Width and height of `r`; false when it is empty or its size does not fit an int.
bool RectSize(const platform::RECT& r, int& width, int& height);

// A one-pixel line from (x0, y0) towards (x1, y1), end point excluded, in a pen of its own.
void DrawLine(platform::HDC dc, platform::COLORREF rgb, int x0, int y0, int x1, int y1);

}  // namespace kestrel
