#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/internal/DeviceContext.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;

TEST(DeviceContext, FillRectCoversLeftTopInclusiveRightBottomExclusiveThroughOrigins) {
  Canvas canvas(8, 6);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{1, 1, 4, 3};
  ASSERT_TRUE(FillRect(canvas.dc, &r, red));
  EXPECT_EQ(canvas.Mask({0, 0, 5, 4}, kRed), ".....|.###.|.###.|.....");

  // Logical (10,10) lands on device (2,2) with window origin 10 and viewport origin 2.
  canvas.Clear(kWhite);
  SetWindowOrgEx(canvas.dc, 10, 10, nullptr);
  SetViewportOrgEx(canvas.dc, 2, 2, nullptr);
  RECT shifted{10, 10, 12, 11};
  FillRect(canvas.dc, &shifted, red);
  EXPECT_EQ(canvas.Mask({1, 1, 5, 4}, kRed), "....|.##.|....");
  EXPECT_EQ(GetPixel(canvas.dc, 10, 10), kRed);
  EXPECT_EQ(GetPixel(canvas.dc, 9, 10), kWhite);

  // Inverted and empty rectangles paint nothing; huge ones are clipped to the surface.
  canvas.Clear(kWhite);
  SetWindowOrgEx(canvas.dc, 0, 0, nullptr);
  SetViewportOrgEx(canvas.dc, 0, 0, nullptr);
  RECT inverted{5, 5, 1, 1};
  EXPECT_TRUE(FillRect(canvas.dc, &inverted, red));
  EXPECT_EQ(canvas.Count(kRed), 0);
  RECT huge{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_TRUE(FillRect(canvas.dc, &huge, red));
  EXPECT_EQ(canvas.Count(kRed), 48);

  // A system colour index plus one stands for the system colour brush.
  RECT one{0, 0, 1, 1};
  FillRect(canvas.dc, &one, reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
  DeleteObject(red);
}

TEST(DeviceContext, SaveAndRestoreBringBackTheWholeState) {
  Canvas canvas(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  int level1 = SaveDC(canvas.dc);
  SelectObject(canvas.dc, pen);
  SetTextColor(canvas.dc, kRed);
  SetWindowOrgEx(canvas.dc, 3, 4, nullptr);
  IntersectClipRect(canvas.dc, 3, 4, 4, 5);
  int level2 = SaveDC(canvas.dc);
  EXPECT_EQ(level1, 1);
  EXPECT_EQ(level2, 2);
  SetTextColor(canvas.dc, RGB(0, 0, 255));

  ASSERT_TRUE(RestoreDC(canvas.dc, -1));
  EXPECT_EQ(GetTextColor(canvas.dc), kRed);
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{3, 4, 4, 5}));

  ASSERT_TRUE(RestoreDC(canvas.dc, level1));
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(0, 0, 0));
  POINT org;
  GetWindowOrgEx(canvas.dc, &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 4, 4}));

  // Levels that were never saved, or were consumed, fail.
  EXPECT_FALSE(RestoreDC(canvas.dc, 1));
  EXPECT_FALSE(RestoreDC(canvas.dc, -1));
  EXPECT_FALSE(RestoreDC(canvas.dc, 0));
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(DeviceContext, InvalidAndDestroyedHandlesFailWithoutTouchingAnything) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(kRed);
  ASSERT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  SetLastError(0);
  RECT r{0, 0, 1, 1};
  EXPECT_FALSE(FillRect(dc, &r, brush));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SelectObject(dc, brush), nullptr);
  EXPECT_EQ(SaveDC(dc), 0);
  EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));

  ASSERT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetObject(brush, 0, nullptr), 0);
  EXPECT_EQ(GetObjectType(brush), 0u);
  Canvas canvas(2, 2);
  SetLastError(0);
  EXPECT_EQ(SelectObject(canvas.dc, brush), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FillRect(canvas.dc, &r, brush));
  EXPECT_FALSE(FillRect(canvas.dc, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));

  // A DC handle is not a GDI object and the other way round.
  EXPECT_EQ(GetObjectType(canvas.dc), OBJ_MEMDC);
  EXPECT_FALSE(DeleteObject(canvas.dc));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(canvas.bitmap)));

  // Stock objects survive DeleteObject.
  HGDIOBJ black = GetStockObject(BLACK_BRUSH);
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetObjectType(black), OBJ_BRUSH);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(DeviceContext, PensAndBrushesDeletedWhileSelectedLiveUntilDeselected) {
  Canvas canvas(3, 1);
  HBRUSH red = CreateSolidBrush(kRed);
  HGDIOBJ original = SelectObject(canvas.dc, red);
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_EQ(GetObjectType(red), OBJ_BRUSH) << "still selected";
  EXPECT_TRUE(PatBlt(canvas.dc, 0, 0, 1, 1, PATCOPY));
  EXPECT_EQ(canvas.At(0, 0), kRed);
  SelectObject(canvas.dc, original);
  EXPECT_EQ(GetObjectType(red), 0u) << "gone once deselected";

  // Selected into two DCs: it waits for both; the DC's end counts as deselection.
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  HDC other = CreateCompatibleDC(nullptr);
  SelectObject(canvas.dc, pen);
  SelectObject(other, pen);
  DeleteObject(pen);
  SaveDC(canvas.dc);
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
  DeleteDC(other);
  EXPECT_EQ(GetObjectType(pen), 0u);
  RestoreDC(canvas.dc, -1);  // brings back a handle that is gone: drawing falls back
  MoveToEx(canvas.dc, 0, 0, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc, 3, 0));
  EXPECT_EQ(canvas.At(1, 0), kBlack);
}

TEST(DeviceContext, SelectedBitmapsAreHeldByOneDcAndCannotBeDeleted) {
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ original = SelectObject(a, bitmap);
  EXPECT_EQ(GetObjectType(original), OBJ_BITMAP);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr) << "already selected into another DC";
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(SelectObject(a, original), bitmap);
  EXPECT_NE(SelectObject(b, bitmap), nullptr);
  // Deleting the DC releases the bitmap.
  DeleteDC(b);
  EXPECT_TRUE(DeleteObject(bitmap));

  // RestoreDC selects the saved bitmap again and releases the one it replaces.
  HBITMAP first = CreateBitmap(2, 2, 1, 32, nullptr);
  HBITMAP second = CreateBitmap(3, 3, 1, 32, nullptr);
  SelectObject(a, first);
  int saved = SaveDC(a);
  SelectObject(a, second);
  EXPECT_FALSE(DeleteObject(second));
  ASSERT_TRUE(RestoreDC(a, saved));
  EXPECT_EQ(GetCurrentObject(a, OBJ_BITMAP), first);
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_FALSE(DeleteObject(first));
  DeleteDC(a);
  EXPECT_TRUE(DeleteObject(first));
}

TEST(DeviceContext, WindowSurfaceDrawingIsClippedAndReportsDamageInSurfacePixels) {
  cairo_surface_t* backing = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 20);
  auto dc = std::make_shared<DeviceContext>(DeviceContext::Kind::Window);
  cairo_rectangle_int_t allowed{5, 5, 10, 10};
  dc->SetWindowSurface(backing, POINT{5, 5}, cairo_region_create_rectangle(&allowed));
  std::vector<RECT> damage;
  dc->onDamage = [&](const RECT& r) { damage.push_back(r); };
  HDC hdc = RegisterDeviceContext(dc);

  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{-3, 2, 4, 30};  // client coordinates; the system clip cuts it to the window
  FillRect(hdc, &r, red);
  ASSERT_EQ(damage.size(), 1u);
  EXPECT_EQ(damage[0], (RECT{5, 7, 9, 15}));
  cairo_surface_flush(backing);
  auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(backing));
  int stride = cairo_image_surface_get_stride(backing) / 4;
  EXPECT_EQ(px[7 * stride + 5], 0xFFFF0000u);
  EXPECT_EQ(px[7 * stride + 4], 0u) << "outside the system clip";
  EXPECT_EQ(GetPixel(hdc, 0, 2), kRed);
  EXPECT_EQ(GetPixel(hdc, -1, 2), CLR_INVALID);

  // Nothing painted, nothing reported.
  RECT outside{50, 50, 60, 60};
  FillRect(hdc, &outside, red);
  EXPECT_EQ(damage.size(), 1u);

  // Drawing through cairo counts as changing the whole clip; the origin is applied.
  {
    DrawingScope scope(*dc);
    cairo_t* cr = scope.Cairo();
    ASSERT_NE(cr, nullptr);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, 1, 1, 2, 2);
    cairo_fill(cr);
  }
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_EQ(damage[1], (RECT{5, 5, 15, 15}));
  EXPECT_EQ(GetPixel(hdc, 1, 1), kBlue);
  EXPECT_NE(GetPixel(hdc, 3, 3), kBlue);

  UnregisterDeviceContext(hdc);
  DeleteObject(red);
  cairo_surface_destroy(backing);
}

}  // namespace
}  // namespace kestrel::platform

namespace kestrel::platform {
namespace {

// Every entry point with null pointers and a dead DC: a failure result, never a crash.
TEST(DeviceContext, NullArgumentsAndDeadHandlesFailEverywhere) {
  HDC dead = CreateCompatibleDC(nullptr);
  DeleteDC(dead);
  HRGN region = CreateRectRgn(0, 0, 1, 1);
  RECT r{0, 0, 1, 1};
  POINT p{};
  EXPECT_FALSE(SetWindowOrgEx(dead, 0, 0, &p));
  EXPECT_FALSE(GetWindowOrgEx(dead, &p));
  EXPECT_FALSE(GetViewportOrgEx(testing::Canvas(1, 1).dc, nullptr));
  EXPECT_EQ(GetClipBox(dead, &r), ERROR);
  EXPECT_EQ(IntersectClipRect(dead, 0, 0, 1, 1), ERROR);
  EXPECT_EQ(SelectClipRgn(dead, region), ERROR);
  EXPECT_EQ(GetClipRgn(dead, region), -1);
  EXPECT_FALSE(RectVisible(dead, &r));
  EXPECT_FALSE(Rectangle(dead, 0, 0, 1, 1));
  EXPECT_FALSE(Ellipse(dead, 0, 0, 1, 1));
  EXPECT_FALSE(LineTo(dead, 1, 1));
  EXPECT_FALSE(PatBlt(dead, 0, 0, 1, 1, PATCOPY));
  EXPECT_FALSE(StretchBlt(dead, 0, 0, 1, 1, dead, 0, 0, 1, 1, SRCCOPY));
  EXPECT_FALSE(DrawEdge(dead, &r, EDGE_RAISED, BF_RECT));
  EXPECT_FALSE(DrawFrameControl(dead, &r, DFC_BUTTON, 0));
  EXPECT_FALSE(DrawFocusRect(dead, &r));
  EXPECT_FALSE(InvertRect(dead, &r));
  EXPECT_FALSE(FrameRect(dead, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_FALSE(FillRgn(dead, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_EQ(GetDeviceCaps(dead, LOGPIXELSX), 0);
  EXPECT_EQ(GetNearestColor(dead, 0), CLR_INVALID);
  EXPECT_EQ(SaveDC(dead), 0);
  EXPECT_EQ(CreateCompatibleDC(dead), nullptr);
  EXPECT_EQ(SetDIBColorTable(dead, 0, 1, nullptr), 0u);
  EXPECT_EQ(GetDIBits(dead, nullptr, 0, 1, nullptr, nullptr, DIB_RGB_COLORS), 0);

  testing::Canvas canvas(2, 2);
  EXPECT_FALSE(Polygon(canvas.dc, nullptr, 3));
  EXPECT_FALSE(PolyPolygon(canvas.dc, nullptr, nullptr, 1));
  INT bad[2] = {3, -5};
  POINT points[3] = {};
  EXPECT_FALSE(PolyPolygon(canvas.dc, points, bad, 2));
  EXPECT_FALSE(InvertRect(canvas.dc, nullptr));
  EXPECT_EQ(GetRgnBox(region, nullptr), ERROR);
  EXPECT_FALSE(RectInRegion(region, nullptr));
  EXPECT_EQ(GetDIBits(canvas.dc, canvas.bitmap, 0, 1, nullptr, nullptr, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(canvas.dc, canvas.bitmap, 0, 1, nullptr, nullptr, DIB_RGB_COLORS), 0);
  EXPECT_EQ(CreatePatternBrush(nullptr), nullptr);
  EXPECT_EQ(CreateBrushIndirect(nullptr), nullptr);
  EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
  EXPECT_EQ(CreateHatchBrush(17, 0), nullptr);
  EXPECT_EQ(CreateDIBPatternBrushPt(nullptr, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(CreatePalette(nullptr), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(GetObject(canvas.bitmap, 3, &r), 0) << "buffer too small";
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
  EXPECT_EQ(GetSystemMetrics(-7), 0);
  // The backend can state its screen; DCs report it.
  SetSystemMetric(SM_CXSCREEN, 800);
  EXPECT_EQ(GetDeviceCaps(canvas.dc, HORZRES), 800);
  SetSystemMetric(SM_CXSCREEN, -1);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  DeleteObject(region);
}

}  // namespace
}  // namespace kestrel::platform
