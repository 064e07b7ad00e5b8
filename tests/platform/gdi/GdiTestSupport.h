#pragma once
// A memory DC drawing on a 32-bit top-down DIB section, for pixel assertions.

#include <cstdint>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/internal/DeviceContext.h"

namespace kestrel::platform::testing {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kTeal = RGB(0, 128, 128);

class Canvas {
 public:
  Canvas(int width, int height, COLORREF background = RGB(255, 255, 255), int bitCount = 32) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[256];
    } info{};
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    for (int i = 0; i < 256; ++i) {
      BYTE v = bitCount == 1 ? static_cast<BYTE>(i * 255) : static_cast<BYTE>(i);
      info.colors[i] = RGBQUAD{v, v, v, 0};
    }
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
    Clear(background);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Clear(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    BITMAP bm{};
    GetObject(bitmap, sizeof bm, &bm);
    RECT all{0, 0, bm.bmWidth, bm.bmHeight};
    POINT org;
    SetWindowOrgEx(dc, 0, 0, &org);
    FillRect(dc, &all, brush);
    SetWindowOrgEx(dc, org.x, org.y, nullptr);
    DeleteObject(brush);
  }

  // The pixel at surface (x, y) as COLORREF, read from the bits (32-bit canvases only).
  COLORREF At(int x, int y) const {
    BITMAP bm{};
    GetObject(bitmap, sizeof bm, &bm);
    auto* row = static_cast<const std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(y) * bm.bmWidthBytes;
    return RGB(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
  }

  // Rows of '#' (colour `ink`) and '.' (anything else) for the rectangle, one string per row
  // joined by '|' — readable expectations for coverage rules.
  std::string Mask(const RECT& r, COLORREF ink) const {
    std::string out;
    for (int y = r.top; y < r.bottom; ++y) {
      if (y > r.top) out += '|';
      for (int x = r.left; x < r.right; ++x) out += At(x, y) == ink ? '#' : '.';
    }
    return out;
  }

  // Number of pixels of colour `color` in the whole canvas.
  int Count(COLORREF color) const {
    BITMAP bm{};
    GetObject(bitmap, sizeof bm, &bm);
    int n = 0;
    for (int y = 0; y < bm.bmHeight; ++y)
      for (int x = 0; x < bm.bmWidth; ++x) n += At(x, y) == color;
    return n;
  }

  cairo_surface_t* Surface() const { return LookupDeviceContext(dc)->Surface(); }

  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;

 private:
  HGDIOBJ old = nullptr;
};

// Selects a pen and brush for the lifetime of the object.
struct Tools {
  Tools(HDC dc, HPEN pen, HBRUSH brush) : dc(dc), pen(pen), brush(brush) {
    oldPen = SelectObject(dc, pen);
    oldBrush = SelectObject(dc, brush);
  }
  ~Tools() {
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
  }
  HDC dc;
  HPEN pen;
  HBRUSH brush;
  HGDIOBJ oldPen, oldBrush;
};

}  // namespace kestrel::platform::testing
