// Window regions of top-level windows on a real X server (run under xvfb-run): the server must
// hold the region as the window's shape, and the screen must show the desktop through the
// parts the region leaves out.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Shape.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Regions.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowManager.h"

namespace kestrel::platform {
namespace {

constexpr COLORREF kFill = RGB(0x20, 0xC0, 0x40);

LRESULT FillingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) return 1;
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

void PumpFor(Uint32 ms) {
  Uint32 end = SDL_GetTicks() + ms;
  MSG m;
  while (SDL_GetTicks() < end) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    SDL_Delay(10);
  }
}

cairo_region_t* ToCairo(const std::vector<RECT>& rects) {
  cairo_region_t* region = cairo_region_create();
  for (const RECT& r : rects) {
    cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
    cairo_region_union_rectangle(region, &c);
  }
  return region;
}

class X11Shape : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::getenv("DISPLAY")) return;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (!InstallBackend("sdl")) return;
    WNDCLASSEXW wc{};
    wc.lpfnWndProc = FillingProc;
    wc.lpszClassName = u"KestrelShapeTest";
    RegisterClassExW(&wc);
    available = true;
  }
  void SetUp() override {
    if (!available) GTEST_SKIP() << "no X display";
    hwnd = CreateWindowExW(0, u"KestrelShapeTest", u"shape", WS_POPUP, kLeft, kTop, kSize, kSize,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    if (!ServerShape()) GTEST_SKIP() << "the display has no SHAPE extension";
  }
  void Show() {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    PumpFor(300);
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
  }
  SDL_Window* Native() { return dynamic_cast<SdlBackend&>(Wm().GetBackend()).NativeWindow(hwnd); }
  std::optional<std::vector<RECT>> ServerShape() { return GetX11WindowShape(Native()); }
  // Whether the server's shape covers exactly the pixels of `expected` (window coordinates).
  ::testing::AssertionResult ServerShapeIs(const std::vector<RECT>& expected) {
    auto held = ServerShape();
    if (!held) return ::testing::AssertionFailure() << "shape not readable";
    cairo_region_t* a = ToCairo(*held);
    cairo_region_t* b = ToCairo(expected);
    bool same = cairo_region_equal(a, b);
    int heldCount = cairo_region_num_rectangles(a);
    cairo_region_destroy(a);
    cairo_region_destroy(b);
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "server holds " << heldCount << " different rectangles";
  }
  // The screen's colour at a point of the window (window coordinates).
  COLORREF ScreenAt(int x, int y) {
    cairo_surface_t* shot = CaptureX11Screen(Native(), {kLeft + x, kTop + y, kLeft + x + 1, kTop + y + 1});
    if (!shot) return CLR_INVALID;
    std::uint32_t v = *reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(shot));
    cairo_surface_destroy(shot);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

  std::vector<RECT> WindowRegionRects() {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(hwnd, copy);
    DWORD size = GetRegionData(copy, 0, nullptr);
    std::vector<unsigned char> data(size);
    GetRegionData(copy, size, reinterpret_cast<RGNDATA*>(data.data()));
    DeleteObject(copy);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    auto* rects = reinterpret_cast<RECT*>(rgn->Buffer);
    return std::vector<RECT>(rects, rects + rgn->rdh.nCount);
  }

  static constexpr int kLeft = 120, kTop = 90, kSize = 160;
  static bool available;
  HWND hwnd = nullptr;
};
bool X11Shape::available = false;

TEST_F(X11Shape, RegionBecomesTheServersShapeAndFollowsChanges) {
  Show();
  EXPECT_TRUE(ServerShapeIs({{0, 0, kSize, kSize}}));
  EXPECT_EQ(ScreenAt(80, 80), kFill);

  // A frame with a hole: the desktop shows through the hole, the frame stays ours.
  HRGN frame = CreateRectRgn(0, 0, kSize, kSize);
  HRGN hole = CreateRectRgn(40, 40, 120, 120);
  CombineRgn(frame, frame, hole, RGN_DIFF);
  DeleteObject(hole);
  ASSERT_EQ(SetWindowRgn(hwnd, frame, TRUE), 1);
  PumpFor(200);
  EXPECT_TRUE(ServerShapeIs({{0, 0, kSize, 40}, {0, 40, 40, 120}, {120, 40, kSize, 120}, {0, 120, kSize, kSize}}));
  EXPECT_EQ(ScreenAt(10, 10), kFill);
  EXPECT_NE(ScreenAt(80, 80), kFill);

  // A new region replaces the old shape, an elliptic one included.
  ASSERT_EQ(SetWindowRgn(hwnd, CreateEllipticRgn(0, 0, kSize, kSize), TRUE), 1);
  PumpFor(200);
  std::vector<RECT> ellipse = WindowRegionRects();
  ASSERT_GT(ellipse.size(), 4u);
  EXPECT_TRUE(ServerShapeIs(ellipse));
  EXPECT_EQ(ScreenAt(80, 80), kFill);
  EXPECT_NE(ScreenAt(2, 2), kFill);

  // Without a region the window is rectangular again and shows its corners.
  ASSERT_EQ(SetWindowRgn(hwnd, nullptr, TRUE), 1);
  PumpFor(200);
  EXPECT_TRUE(ServerShapeIs({{0, 0, kSize, kSize}}));
  EXPECT_EQ(ScreenAt(2, 2), kFill);
}

// The first present creates SDL's window surface, which drops the X window's shape: a region
// given before the window is shown must survive it.
TEST_F(X11Shape, RegionGivenBeforeShowingSurvivesTheFirstPresent) {
  ASSERT_EQ(SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, kSize, kSize, 60, 60), FALSE), 1);
  Show();
  EXPECT_TRUE(ServerShapeIs(WindowRegionRects()));
  EXPECT_EQ(ScreenAt(80, 80), kFill);
  EXPECT_NE(ScreenAt(1, 1), kFill);
}

}  // namespace
}  // namespace kestrel::platform
