// Window regions of top-level windows on a real X server (run under xvfb-run): the server must
// hold the region as the window's shape, and the screen must show the desktop through the
// parts the region leaves out. Also what the backend does on the X connection itself: partial
// repaints shown in place, and event waits that sleep until something comes.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "platform/backend/BackendSelection.h"
#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Shape.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Regions.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {
namespace {

constexpr COLORREF kFill = RGB(0x20, 0xC0, 0x40);

void PumpFor(Uint32 ms) {
  Uint32 end = SDL_GetTicks() + ms;
  MSG m;
  while (SDL_GetTicks() < end) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    SDL_Delay(10);
  }
}

class X11Shape : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::getenv("DISPLAY")) return;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    WNDCLASSEXW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = CreateSolidBrush(kFill);  // erasing paints the window
    wc.lpszClassName = u"KestrelShapeTest";
    RegisterClassExW(&wc);
  }
  // A backend per test: the reset after each test takes the window state with its backend.
  void SetUp() override {
    if (!std::getenv("DISPLAY") || !InstallBackend("sdl")) GTEST_SKIP() << "no X display";
    hwnd = CreateWindowExW(0, u"KestrelShapeTest", u"shape", WS_POPUP, kLeft, kTop, kSize, kSize, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    if (!ServerShape()) GTEST_SKIP() << "the display has no SHAPE extension";
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
  }
  SDL_Window* Native() { return dynamic_cast<SdlBackend&>(Wm().GetBackend()).NativeWindow(hwnd); }
  std::optional<std::vector<RECT>> ServerShape() { return GetX11WindowShape(Native()); }
  // Whether the server's shape covers exactly the window region (the whole window without one).
  ::testing::AssertionResult ServerShapeIsTheRegion() {
    auto held = ServerShape();
    if (!held) return ::testing::AssertionFailure() << "shape not readable";
    HRGN server = CreateRectRgn(0, 0, 0, 0), expected = CreateRectRgn(0, 0, kSize, kSize);
    for (const RECT& r : *held) {
      HRGN piece = CreateRectRgnIndirect(&r);
      CombineRgn(server, server, piece, RGN_OR);
      DeleteObject(piece);
    }
    GetWindowRgn(hwnd, expected);
    bool same = EqualRgn(server, expected) != FALSE;
    DeleteObject(server);
    DeleteObject(expected);
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the server holds " << held->size() << " other rectangles";
  }
  // The screen's colour at a point of the window (window coordinates).
  COLORREF ScreenAt(int x, int y) {
    cairo_surface_t* shot = CaptureX11Screen(Native(), {kLeft + x, kTop + y, kLeft + x + 1, kTop + y + 1});
    if (!shot) return CLR_INVALID;
    std::uint32_t v = *reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(shot));
    cairo_surface_destroy(shot);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

  static constexpr int kLeft = 120, kTop = 90, kSize = 160;
  HWND hwnd = nullptr;
};

TEST_F(X11Shape, RegionBecomesTheServersShapeAndFollowsChanges) {
  // Given before showing: the first present creates SDL's window surface, which drops the X
  // window's shape, and the shape must survive that.
  ASSERT_EQ(SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, kSize, kSize, 60, 60), FALSE), 1);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  PumpFor(300);
  EXPECT_TRUE(ServerShapeIsTheRegion());
  EXPECT_EQ(ScreenAt(80, 80), kFill);
  EXPECT_NE(ScreenAt(1, 1), kFill);

  // A frame with a hole: the desktop shows through the hole, the frame stays ours.
  HRGN frame = CreateRectRgn(0, 0, kSize, kSize);
  HRGN hole = CreateRectRgn(40, 40, 120, 120);
  CombineRgn(frame, frame, hole, RGN_DIFF);
  DeleteObject(hole);
  ASSERT_EQ(SetWindowRgn(hwnd, frame, TRUE), 1);
  PumpFor(200);
  EXPECT_TRUE(ServerShapeIsTheRegion());
  EXPECT_EQ(ScreenAt(10, 10), kFill);
  EXPECT_NE(ScreenAt(80, 80), kFill);

  // Without a region the window is rectangular again and shows its corners.
  ASSERT_EQ(SetWindowRgn(hwnd, nullptr, TRUE), 1);
  PumpFor(200);
  EXPECT_TRUE(ServerShapeIsTheRegion());
  EXPECT_EQ(ScreenAt(1, 1), kFill);
}

TEST_F(X11Shape, PartialRepaintsReachTheScreenInPlace) {
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  PumpFor(200);
  const COLORREF red = RGB(200, 30, 30);
  HDC dc = GetDC(hwnd);
  HBRUSH brush = CreateSolidBrush(red);
  RECT r{100, 30, 110, 40};
  FillRect(dc, &r, brush);
  ReleaseDC(hwnd, dc);
  DeleteObject(brush);
  // The put goes out on a later pump; a loaded machine may need several.
  for (int i = 0; i < 100 && ScreenAt(100, 30) != red; ++i) PumpFor(20);
  EXPECT_EQ(ScreenAt(100, 30), red);
  EXPECT_EQ(ScreenAt(109, 39), red);
  EXPECT_EQ(ScreenAt(99, 35), kFill);
  EXPECT_EQ(ScreenAt(105, 40), kFill);
}

TEST_F(X11Shape, LargeRepaintsOneAfterAnotherReachTheScreen) {
  // A change of a whole large window goes to the server through shared memory, a small one
  // through the socket; each must show, in the order made, also when one follows another
  // before the server took the first.
  DestroyWindow(hwnd);
  hwnd = CreateWindowExW(0, u"KestrelShapeTest", u"large", WS_POPUP, kLeft, kTop, 320, 320, nullptr, nullptr, nullptr,
                         nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  PumpFor(200);
  auto fill = [&](const RECT& r, COLORREF color) {
    HDC dc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    ReleaseDC(hwnd, dc);
    DeleteObject(brush);
  };
  const RECT all{0, 0, 320, 320};
  fill(all, RGB(200, 30, 30));
  PumpFor(1);  // presented
  fill(all, RGB(30, 30, 200));
  fill(RECT{10, 10, 20, 20}, RGB(250, 250, 0));
  for (int i = 0; i < 100 && ScreenAt(300, 300) != RGB(30, 30, 200); ++i) PumpFor(20);
  EXPECT_EQ(ScreenAt(300, 300), RGB(30, 30, 200));
  EXPECT_EQ(ScreenAt(0, 0), RGB(30, 30, 200));
  EXPECT_EQ(ScreenAt(15, 15), RGB(250, 250, 0));
}

TEST_F(X11Shape, ScrolledPixelsMoveOnTheServerAndWhatWasCoveredIsSentAgain) {
  // Four bands; another window covers the lowest. Scrolling up by two bands moves the third
  // band, which the server shows, and the fourth, which it cannot: that part comes from us.
  const COLORREF bands[] = {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200), RGB(220, 220, 0)};
  const int band = kSize / 4;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  HDC dc = GetDC(hwnd);
  for (int i = 0; i < 4; ++i) {
    HBRUSH brush = CreateSolidBrush(bands[i]);
    const RECT r{0, i * band, kSize, (i + 1) * band};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  ReleaseDC(hwnd, dc);
  HWND cover = CreateWindowExW(0, u"KestrelShapeTest", u"cover", WS_POPUP, kLeft, kTop + 3 * band, kSize, band, nullptr,
                               nullptr, nullptr, nullptr);
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  UpdateWindow(cover);
  PumpFor(200);
  ASSERT_EQ(ScreenAt(80, 3 * band + 5), kFill);  // covered
  ScrollWindowEx(hwnd, 0, -2 * band, nullptr, nullptr, nullptr, nullptr, 0);
  for (int i = 0; i < 50 && ScreenAt(80, band + 5) != bands[3]; ++i) PumpFor(20);
  EXPECT_EQ(ScreenAt(80, 5), bands[2]);
  EXPECT_EQ(ScreenAt(80, band + 5), bands[3]);
  DestroyWindow(cover);
}

TEST_F(X11Shape, EventWaitsSleepUntilTheirTimeoutOrAWake) {
  using Clock = std::chrono::steady_clock;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  PumpFor(200);
  // Whatever the server sends meanwhile is handled between waits; the waits must not spin.
  auto start = Clock::now();
  MSG m;
  for (int i = 0; i < 10; ++i) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Wm().GetBackend().WaitForEvents(30);
  }
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
  std::thread worker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    WakeGuiThread();
  });
  start = Clock::now();
  Wm().GetBackend().WaitForEvents(-1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  worker.join();
}

}  // namespace
}  // namespace kestrel::platform
