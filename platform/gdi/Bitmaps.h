#pragma once
// Bitmaps and DIB sections: creation, bits in and out, colour tables.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// Device-dependent bitmaps. `bitsPerPixel` 1 makes a monochrome bitmap, anything else a colour
// one (held at 32 bits). Initial `bits` (WORD-aligned rows, top-down) are read for 1, 24 and
// 32 bits per pixel.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// Compatible with the bitmap selected into a memory DC (so a fresh memory DC gives monochrome
// bitmaps, as on Windows), colour for window DCs and the screen (hdc null). A zero width or
// height gives the stock 1×1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// 1/4/8/16/24/32 bits per pixel, top-down (negative height) or bottom-up, DIB_RGB_COLORS.
// `bits` receives the pixel memory, which stays valid until the bitmap is deleted.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
// A colour bitmap initialised from DIB bits when `init` has CBM_INIT.
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage);

// Scan lines [start, start+lines) of the bitmap in the format `info` describes. With null
// `bits`: biBitCount 0 fills in the header; otherwise fills biSizeImage and the colour table.
// Indexed formats receive their colour table in info->bmiColors. Returns the lines copied.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

// The colour table of the DIB section selected into `hdc`; entries beyond the table are ignored.
UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors);
UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors);

// The colour the DC's surface would store for `color`.
COLORREF GetNearestColor(HDC hdc, COLORREF color);

}  // namespace kestrel::platform
