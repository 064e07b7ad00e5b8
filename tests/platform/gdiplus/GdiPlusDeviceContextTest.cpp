// Graphics on a device context: the DC's origin and clip apply, and a deleted DC fails.

#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "platform/gdiplus/TGPGraphics.h"

namespace kestrel::platform {
namespace {

// A memory DC on a 32-bit top-down DIB section, white.
struct DibCanvas {
  DibCanvas(int w, int h) : width(w) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~DibCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // The RGB of device pixel (x, y) as 0xRRGGBB.
  std::uint32_t Rgb(int x, int y) const { return static_cast<const std::uint32_t*>(bits)[y * width + x] & 0xFFFFFF; }

  int width;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  void* bits = nullptr;
};

TEST(GdiPlusOnDeviceContext, HonoursTheWindowOriginAndTheClipRegion) {
  DibCanvas c(20, 20);
  SetWindowOrgEx(c.dc, 5, 5, nullptr);
  HRGN right = CreateRectRgn(10, 0, 20, 20);  // device pixels
  SelectClipRgn(c.dc, right);
  DeleteObject(right);
  {
    TGPGraphics g(c.dc);
    ASSERT_EQ(Ok, g.GetLastStatus());
    TGPSolidBrush red(MakeColor(255, 0, 0));
    ASSERT_EQ(Ok, g.FillRectangle(&red, 5, 5, 20, 2));  // logical (5, 5) is device (0, 0)
    g.SetClip(TGPRectF{5, 10, 20, 2});                  // and the graphics' own clip on top
    ASSERT_EQ(Ok, g.FillRectangle(&red, 0, 0, 40, 40));
  }
  EXPECT_EQ(0xFFFFFFu, c.Rgb(9, 0));  // left of the DC's clip
  EXPECT_EQ(0xFF0000u, c.Rgb(10, 0));
  EXPECT_EQ(0xFF0000u, c.Rgb(19, 1));
  EXPECT_EQ(0xFFFFFFu, c.Rgb(12, 2));
  EXPECT_EQ(0xFF0000u, c.Rgb(12, 5));
  EXPECT_EQ(0xFFFFFFu, c.Rgb(12, 7));
}

TEST(GdiPlusOnDeviceContext, SystemColoursAndDeletedOrInvalidDCs) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(MakeColor(200, GetRValue(face), GetGValue(face), GetBValue(face)),
            MakeColor(200, static_cast<std::int32_t>(0xFF00000F)));
  EXPECT_EQ(0x80123456u, MakeColor(0x80, 0x00563412));

  TGPGraphics invalid(static_cast<HDC>(nullptr));
  EXPECT_EQ(InvalidParameter, invalid.GetLastStatus());
  HDC dc = CreateCompatibleDC(nullptr);
  TGPGraphics g(dc);
  TGPSolidBrush red(MakeColor(255, 0, 0));
  EXPECT_EQ(Ok, g.FillRectangle(&red, 0, 0, 1, 1));  // the stock 1×1 bitmap
  DeleteDC(dc);
  EXPECT_EQ(WrongState, g.FillRectangle(&red, 0, 0, 1, 1));
}

TEST(GdiPlusOnDeviceContext, WorldTransformComesAfterTheWindowOrigin) {
  DibCanvas c(20, 20);
  SetWindowOrgEx(c.dc, 2, 0, nullptr);
  {
    TGPGraphics g(c.dc);
    g.ScaleTransform(2, 2);
    TGPSolidBrush red(MakeColor(255, 0, 0));
    ASSERT_EQ(Ok, g.FillRectangle(&red, 2, 1, 3, 2));  // logical (4, 2)–(10, 6), device x 2–8
  }
  EXPECT_EQ(0xFFFFFFu, c.Rgb(1, 3));
  EXPECT_EQ(0xFF0000u, c.Rgb(2, 2));
  EXPECT_EQ(0xFF0000u, c.Rgb(7, 5));
  EXPECT_EQ(0xFFFFFFu, c.Rgb(8, 5));
  EXPECT_EQ(0xFFFFFFu, c.Rgb(7, 6));
}

}  // namespace
}  // namespace kestrel::platform
