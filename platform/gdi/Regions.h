#pragma once
// Regions and clipping.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// Coordinates are swapped into order; an empty rectangle gives an empty region.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// dest = a <mode> b (b unused for RGN_COPY); returns the result's complexity or ERROR.
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, RECT* box);
BOOL EqualRgn(HRGN a, HRGN b);
// The region's rectangles (banded, top to bottom). With a null or too small buffer returns the
// size needed; otherwise the bytes written, 0 on failure.
DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data);
// A region from rectangles (the transform must be null).
HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data);

// Painting regions (logical coordinates).
BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush);
BOOL PaintRgn(HDC hdc, HRGN region);
BOOL InvertRgn(HDC hdc, HRGN region);
BOOL FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height);

// The DC's clip region, in device coordinates. A null region removes it.
int SelectClipRgn(HDC hdc, HRGN region);
int ExtSelectClipRgn(HDC hdc, HRGN region, int mode);
// Rectangles in logical coordinates.
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC hdc, int dx, int dy);
// The bounding box of the visible, clipped area in logical coordinates.
int GetClipBox(HDC hdc, RECT* box);
// 1 and a copy of the DC's own clip region, 0 when it has none, -1 on error.
int GetClipRgn(HDC hdc, HRGN region);
BOOL RectVisible(HDC hdc, const RECT* rect);
BOOL PtVisible(HDC hdc, int x, int y);

}  // namespace kestrel::platform
