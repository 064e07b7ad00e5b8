#pragma once
// Drawing primitives with GDI's pixel coverage (right and bottom edges exclusive).

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// `brush` may also be a system colour index plus one, as on Windows ((HBRUSH)(COLOR_WINDOW+1)).
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);  // the colour set, or -1
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);  // CLR_INVALID outside the clip

}  // namespace kestrel::platform

namespace kestrel::platform {

// Lines with the selected pen and ROP2 mode; LineTo leaves out its end point.
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetCurrentPositionEx(HDC hdc, POINT* position);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);
BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines);

// Closed figures: filled with the selected brush, outlined with the selected pen (a one-pixel
// outline lies on the figure's outermost pixels; wider pens are centred on that outline except
// PS_INSIDEFRAME, which stays inside). With the null pen the figure is one pixel narrower and
// shorter, as on Windows.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL Polygon(HDC hdc, const POINT* points, int count);

// Elliptical arcs of the ellipse Ellipse would draw in the box, from where the line from its
// centre towards (xStart, yStart) meets it to where the line towards (xEnd, yEnd) does, in the
// DC's arc direction (counter-clockwise on screen by default); equal radials make a whole
// ellipse. Arc only outlines; ArcTo also draws a line from the current position to the arc's
// start and moves the current position to its end; Pie closes the arc with two radii and Chord
// with a straight line, both filled with the brush.
int SetArcDirection(HDC hdc, int direction);  // the previous direction, 0 on failure
int GetArcDirection(HDC hdc);
BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL ArcTo(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
// A line from the current position to the start of a circular arc, then the arc: angles in
// degrees counter-clockwise from the x axis, a positive sweep counter-clockwise (the arc
// direction plays no part). The current position moves to the arc's end.
BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startAngle, FLOAT sweepAngle);
BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons);

// One-pixel frame painted with a brush; inverting; the dotted XOR focus frame (drawing it twice
// removes it).
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rect);
BOOL DrawFocusRect(HDC hdc, const RECT* rect);

}  // namespace kestrel::platform
