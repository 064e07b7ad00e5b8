#pragma once
// Device contexts and their state: creation, object selection, saved states, origins, colours
// and modes.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// HGDI_ERROR, as SelectObject returns for a region it cannot select.
inline HGDIOBJ const HGDI_ERROR = reinterpret_cast<HGDIOBJ>(~std::uintptr_t{0});

HDC CreateCompatibleDC(HDC hdc);  // hdc may be null (the screen)
BOOL DeleteDC(HDC hdc);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int savedDC);

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int size, void* buffer);
inline int GetObjectW(HGDIOBJ object, int size, void* buffer) { return GetObject(object, size, buffer); }
DWORD GetObjectType(HGDIOBJ handle);  // OBJ_* (OBJ_DC/OBJ_MEMDC for device contexts), 0 if invalid
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetWindowOrgEx(HDC hdc, POINT* origin);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* previous);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC hdc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* previous);
// Mapping modes: MM_TEXT maps by the origins alone; MM_ISOTROPIC and MM_ANISOTROPIC also scale
// by viewport extent / window extent (isotropic keeps units equal on both axes by shrinking a
// viewport extent). The mapping applies to the coordinates of lines, figures, fills, pixels,
// clip rectangles, blits (a scaled blit stretches) and text positions (glyphs scale with it);
// frame drawing (DrawEdge, focus rectangles) and AlphaBlend/TransparentBlt/MaskBlt sources place
// by the mapped origin only, at one device pixel per logical unit, and pen widths do not scale.
int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);
BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* previous);
BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* previous);
BOOL LPtoDP(HDC hdc, POINT* points, int count);
BOOL DPtoLP(HDC hdc, POINT* points, int count);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int mode);
int GetROP2(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous);
BOOL GetBrushOrgEx(HDC hdc, POINT* origin);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);
COLORREF GetDCBrushColor(HDC hdc);
COLORREF SetDCPenColor(HDC hdc, COLORREF color);
COLORREF GetDCPenColor(HDC hdc);
// A 96-dpi, 32-bit screen.
int GetDeviceCaps(HDC hdc, int index);

}  // namespace kestrel::platform
