#pragma once
// Block transfers: every ternary raster operation, computed generically from its truth table.
//
// Colour conversion between depths follows GDI: a monochrome source paints its 0 pixels in the
// destination's text colour and its 1 pixels in its background colour; a colour source written
// to a monochrome destination gives 1 where it equals the source DC's background colour.
// SRCCOPY moves pixels as they are (alpha byte included); other operations produce opaque
// pixels. Source pixels outside the source surface leave the destination untouched.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
// Nearest-pixel scaling (src = trunc(dst × sw / dw)); negative extents mirror. A shrinking
// copy merges the source pixels each destination pixel covers by the stretch mode: HALFTONE
// averages them, BLACKONWHITE (the default) ANDs and WHITEONBLACK ORs them, COLORONCOLOR
// takes the nearest one.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop);
// Two raster operations chosen per pixel by a monochrome mask (1: the foreground operation in
// bits 16..23 of `rop`, 0: the background one in bits 24..31, as MAKEROP4 builds them). Without
// a mask this is BitBlt with the foreground operation.
BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, HBITMAP mask,
             int maskX, int maskY, DWORD rop);
constexpr DWORD MAKEROP4(DWORD fore, DWORD back) { return ((back << 8) & 0xFF000000u) | fore; }

// Raster operations that do not read a source, with the selected brush as pattern.
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);

// Blends the source over the destination: per-pixel alpha (premultiplied, AC_SRC_ALPHA) and a
// constant alpha. Sizes must not be negative and the source rectangle must lie inside the
// source surface, as on Windows.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, BLENDFUNCTION blend);
// Copies (stretching) all source pixels except those of colour `transparent`.
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, UINT transparent);
// DIB bits straight to a DC. Source coordinates of bottom-up DIBs count from the bottom-left
// corner, as on Windows. Return the number of scan lines, 0 on failure.
int StretchDIBits(HDC hdc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

// The truth-table result of ROP3 index `rop` (bits 16..23 of a raster code) for pattern,
// source and destination words.
std::uint32_t TernaryRop(unsigned rop, std::uint32_t pattern, std::uint32_t source, std::uint32_t destination);

}  // namespace kestrel::platform
