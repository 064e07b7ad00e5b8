// Painting: update regions, WM_PAINT with erase, pixels read back from window DCs, clipping of
// children and siblings, redraw suppression, WM_PRINT, window regions, and the classic frame.

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/window/Caret.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform::testing {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class Painting : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // Windows paint their client area in the colour kept in GWLP_USERDATA.
    Log().handler = [](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
      if (msg != WM_PAINT) return false;
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(hdc, &client, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      r = 0;
      return true;
    };
  }
  static void SetColor(HWND hwnd, COLORREF c) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(c)); }
  // What the window shows at a client point (read from the backing store, children included).
  static COLORREF PixelAt(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    cairo_surface_t* image = CaptureWindowImage(hwnd);
    if (!image) return CLR_INVALID;
    int stride = cairo_image_surface_get_stride(image);
    auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image) + (p.y - wr.top) * stride);
    std::uint32_t v = row[p.x - wr.left];
    cairo_surface_destroy(image);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
};

TEST_F(Painting, UpdateRegionAccumulatesAndValidates) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Pump();
  RECT r;
  EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
  RECT a{10, 10, 20, 20}, b{30, 40, 50, 60};
  InvalidateRect(top, &a, FALSE);
  InvalidateRect(top, &b, FALSE);
  ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
  EXPECT_EQ(r, (RECT{10, 10, 50, 60}));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(rgn, 15, 15));
  EXPECT_FALSE(PtInRegion(rgn, 25, 25));
  DeleteObject(rgn);
  ValidateRect(top, &a);
  ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
  EXPECT_EQ(r, b);
  ValidateRect(top, nullptr);
  EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
  Log().Clear();
  Pump();
  EXPECT_TRUE(Log().Messages().empty());
  // Invalidation outside the client area is clipped away.
  RECT outside{200, 200, 300, 300};
  InvalidateRect(top, &outside, TRUE);
  EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
}

TEST_F(Painting, RedrawingEveryWindowSurvivesAPaintHandlerThatDestroysWindows) {
  HWND first = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  HWND second = CreateTop(WS_POPUP | WS_VISIBLE, {60, 0, 110, 50});
  HWND third = CreateTop(WS_POPUP | WS_VISIBLE, {120, 0, 170, 50});
  Pump();
  int painted = 0;
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_PAINT) return false;
    ++painted;
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    // The first window painted takes the other two with it.
    for (HWND other : {first, second, third})
      if (other != hwnd && IsWindow(other)) DestroyWindow(other);
    result = 0;
    return true;
  };
  EXPECT_TRUE(RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN));
  EXPECT_EQ(painted, 1);
  Log().handler = nullptr;
}

TEST_F(Painting, AnEraseHandlerThatThrowsStillGetsItsDcReleased) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  Pump();
  HDC erased = nullptr;
  Log().handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) -> bool {
    if (msg != WM_ERASEBKGND) return false;
    erased = reinterpret_cast<HDC>(wParam);
    throw std::runtime_error("erase failed");
  };
  EXPECT_THROW(RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW), std::runtime_error);
  Log().handler = nullptr;
  ASSERT_NE(erased, nullptr);
  EXPECT_EQ(WindowFromDC(erased), nullptr);  // handed back, not left holding the backing store
}

TEST_F(Painting, BeginPaintErasesWithTheClassBrushAndClipsToTheUpdate) {
  WNDCLASSEXW wc;
  wc.lpfnWndProc = CALLBACK_Recorder;
  wc.hbrBackground = CreateSolidBrush(kBlue);
  wc.lpszClassName = u"KestrelBlueBackground";
  RegisterClassExW(&wc);
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 60, 60}, 0, u"KestrelBlueBackground");
  Log().handler = nullptr;  // default painting: erase only
  Pump();
  EXPECT_EQ(PixelAt(top, 30, 30), kBlue);
  // Paint red only where invalid: the rest keeps its pixels.
  Log().handler = [](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    EXPECT_FALSE(ps.fErase);  // the class brush erased it
    EXPECT_EQ(ps.rcPaint, (RECT{0, 0, 10, 10}));
    RECT all{0, 0, 60, 60};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(hdc, &all, red);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return true;
  };
  RECT corner{0, 0, 10, 10};
  InvalidateRect(top, &corner, TRUE);
  Pump();
  EXPECT_EQ(PixelAt(top, 5, 5), kRed);
  EXPECT_EQ(PixelAt(top, 30, 30), kBlue);
  EXPECT_GT(Backend().NativeWindows().at(top).presents, 0);
  DestroyWindow(top);
  UnregisterClassW(u"KestrelBlueBackground", nullptr);
}

// A ring drawn with its inside clipped out and a small rectangle reach the screen as the ring's
// four strips and the rectangle, not as the rectangle around them all.
TEST_F(Painting, PresentsEachDamagedPieceApart) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Pump();
  Backend().ForgetPresented();
  HDC hdc = GetDC(top);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 100, 100}, small{40, 40, 50, 50};
  ExcludeClipRect(hdc, 2, 2, 98, 98);
  FillRect(hdc, &all, red);
  SelectClipRgn(hdc, nullptr);
  FillRect(hdc, &small, red);
  DeleteObject(red);
  ReleaseDC(top, hdc);
  Pump();
  std::vector<RECT> presented = Backend().NativeWindows().at(top).presented;
  std::sort(presented.begin(), presented.end(),
            [](const RECT& a, const RECT& b) { return std::tie(a.top, a.left) < std::tie(b.top, b.left); });
  const std::vector<RECT> expected{{0, 0, 100, 2}, {0, 2, 2, 98}, {98, 2, 100, 98}, small, {0, 98, 100, 100}};
  EXPECT_EQ(presented, expected);
  DestroyWindow(top);
}

// What a paint changes through any DC, the caret it hides included, reaches the display in one
// go once its handler returns; a message loop run inside the handler shows what came before it.
TEST_F(Painting, APaintReachesTheDisplayWhenItsHandlerReturns) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  Pump();
  CreateCaret(top, nullptr, 2, 10);
  SetCaretPos(50, 50);
  ShowCaret(top);
  auto presents = [&] { return Backend().NativeWindows().at(top).presents; };
  bool loopInside = false;
  std::vector<int> seen;  // presents made since the handler began, at each step of it
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_PAINT) return false;
    const int before = presents();
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HBRUSH red = CreateSolidBrush(kRed);
    HDC other = GetDC(hwnd);
    RECT corner{0, 0, 10, 10}, all{0, 0, 100, 100};
    FillRect(other, &corner, red);
    ReleaseDC(hwnd, other);
    seen.push_back(presents() - before);
    MSG m;
    if (loopInside) {
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
      seen.push_back(presents() - before);
    }
    FillRect(hdc, &all, red);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    seen.push_back(presents() - before);
    r = 0;
    return true;
  };
  const int before = presents();
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  EXPECT_EQ(seen, (std::vector<int>{0, 0}));
  EXPECT_GT(presents(), before);
  EXPECT_EQ(PixelAt(top, 50, 50), RGB(0, 255, 255));  // the caret, hidden for the paint, is shown again
  loopInside = true;
  seen.clear();
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  DestroyCaret();
  DestroyWindow(top);
}

TEST_F(Painting, WindowDcDrawsImmediatelyAndReadsBack) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  HWND child = CreateChild(top, {10, 10, 30, 30});
  Pump();
  HDC hdc = GetDC(child);
  EXPECT_EQ(WindowFromDC(hdc), child);
  SetPixel(hdc, 0, 0, kRed);
  ReleaseDC(child, hdc);
  // The child's (0,0) is the parent's (10,10) in the shared backing store.
  EXPECT_EQ(PixelAt(top, 10, 10), kRed);
  hdc = GetWindowDC(top);  // no clipping of children: reads what the child drew
  EXPECT_EQ(GetPixel(hdc, 10, 10), kRed);
  ReleaseDC(top, hdc);
  POINT origin;
  cairo_surface_t* backing = GetWindowBackingStore(child, &origin);
  ASSERT_NE(backing, nullptr);
  EXPECT_EQ(origin, (POINT{10, 10}));
  // A window DC cannot reach outside its window.
  hdc = GetDC(child);
  EXPECT_EQ(GetPixel(hdc, 25, 5), CLR_INVALID);
  ReleaseDC(child, hdc);
  EXPECT_EQ(ReleaseDC(child, hdc), 0);  // twice is refused, not a crash
}

TEST_F(Painting, ClipChildrenKeepsChildPixels) {
  for (DWORD clip : {DWORD{0}, WS_CLIPCHILDREN}) {
    HWND top = CreateTop(WS_POPUP | WS_VISIBLE | clip, {0, 0, 60, 60});
    SetColor(top, kBlue);
    HWND child = CreateChild(top, {20, 20, 40, 40});
    SetColor(child, kRed);
    Pump();
    EXPECT_EQ(PixelAt(top, 30, 30), kRed);
    Log().Clear();
    InvalidateRect(top, nullptr, TRUE);
    // Without WS_CLIPCHILDREN the parent paints over the child, which therefore repaints too.
    EXPECT_EQ(GetUpdateRect(child, nullptr, FALSE), clip ? FALSE : TRUE);
    Pump();
    EXPECT_EQ(PixelAt(top, 30, 30), kRed);
    EXPECT_EQ(PixelAt(top, 5, 5), kBlue);
    // The parent paints first.
    auto order = Log().Messages();
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(Log().entries.front().hwnd, top);
    DestroyWindow(top);
  }
}

TEST_F(Painting, ClipSiblingsFollowsZOrder) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 60, 60});
  HWND upper = CreateChild(top, {20, 20, 60, 60}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  HWND lower = CreateChild(top, {0, 0, 40, 40}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  SetColor(lower, kBlue);
  SetColor(upper, kRed);
  Pump();
  EXPECT_EQ(PixelAt(top, 30, 30), kRed);  // created first, so above (children join at the bottom)
  EXPECT_EQ(WindowFromPoint({30, 30}), upper);
  // Repainting the lower sibling does not cover the upper one.
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(PixelAt(top, 30, 30), kRed);
  // Bring the lower one up: the overlap becomes blue.
  SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  EXPECT_EQ(PixelAt(top, 30, 30), kBlue);
  EXPECT_EQ(WindowFromPoint({30, 30}), lower);
  EXPECT_EQ(GetWindow(top, GW_CHILD), lower);
}

TEST_F(Painting, HidingAChildRepaintsWhatItCovered) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 60, 60});
  SetColor(top, kBlue);
  HWND child = CreateChild(top, {20, 20, 40, 40});
  SetColor(child, kRed);
  Pump();
  ShowWindow(child, SW_HIDE);
  Pump();
  EXPECT_EQ(PixelAt(top, 30, 30), kBlue);
  MoveWindow(child, 0, 0, 10, 10, TRUE);
  ShowWindow(child, SW_SHOW);
  Pump();
  EXPECT_EQ(PixelAt(top, 5, 5), kRed);
  EXPECT_EQ(PixelAt(top, 30, 30), kBlue);
}

TEST_F(Painting, SetRedrawSuppressesInvalidation) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 30, 30});
  Pump();
  SendMessageW(top, WM_SETREDRAW, FALSE, 0);
  InvalidateRect(top, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
  SendMessageW(top, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(top, nullptr, TRUE);
  EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE));
}

TEST_F(Painting, HiddenWindowsGetNoPaint) {
  HWND top = CreateTop(WS_POPUP, {0, 0, 30, 30});
  InvalidateRect(top, nullptr, TRUE);
  Log().Clear();
  Pump();
  EXPECT_TRUE(Log().Messages().empty());
}

TEST_F(Painting, PrintDrawsTheWindowAndChildrenIntoAnyDc) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_BORDER, {0, 0, 40, 40});
  HWND child = CreateChild(top, {9, 9, 19, 19});
  SetColor(child, kRed);
  // Client painting for WM_PRINTCLIENT goes into the DC it is given.
  Log().handler = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_PRINTCLIENT) return false;
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return true;
  };
  SetColor(top, kBlue);
  HDC mem = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bitmap);
  SendMessageW(top, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  EXPECT_EQ(GetPixel(mem, 0, 0), GetSysColor(COLOR_WINDOWFRAME));  // the border
  EXPECT_EQ(GetPixel(mem, 5, 5), kBlue);
  EXPECT_EQ(GetPixel(mem, 1 + 9 + 5, 1 + 9 + 5), kRed);  // border + child position + inside
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
}

TEST_F(Painting, WindowRegionClipsPaintingAndHitTesting) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 60, 60});
  SetColor(top, kBlue);
  HWND child = CreateChild(top, {0, 0, 60, 60});
  SetColor(child, kRed);
  EXPECT_EQ(SetWindowRgn(child, CreateRectRgn(0, 0, 30, 30), TRUE), 1);
  Pump();
  EXPECT_EQ(PixelAt(top, 10, 10), kRed);
  EXPECT_EQ(PixelAt(top, 45, 45), kBlue);
  EXPECT_EQ(WindowFromPoint({10, 10}), child);
  EXPECT_EQ(WindowFromPoint({45, 45}), top);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(child, copy), SIMPLEREGION);
  DeleteObject(copy);
  SetWindowRgn(child, nullptr, TRUE);
  EXPECT_EQ(GetWindowRgn(child, copy), 0);
  EXPECT_EQ(WindowFromPoint({45, 45}), child);
}

TEST_F(Painting, TopLevelWindowRegionShapesTheNativeWindow) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {10, 10, 110, 110});
  HWND child = CreateChild(top, {0, 0, 50, 50});
  auto native = [&](HWND h) { return Backend().NativeWindows().at(h); };

  HRGN ring = CreateRectRgn(0, 0, 100, 100);
  HRGN hole = CreateRectRgn(40, 40, 60, 60);
  CombineRgn(ring, ring, hole, RGN_DIFF);
  DeleteObject(hole);
  ASSERT_EQ(SetWindowRgn(top, ring, FALSE), 1);
  ASSERT_TRUE(native(top).shaped);
  std::vector<RECT> expected{{0, 0, 100, 40}, {0, 40, 40, 60}, {60, 40, 100, 60}, {0, 60, 100, 100}};
  EXPECT_EQ(native(top).shape, expected);

  // A child's region is ours alone; the display never hears of it.
  SetWindowRgn(child, CreateRectRgn(0, 0, 5, 5), FALSE);
  EXPECT_EQ(Backend().NativeWindows().count(child), 0u);

  SetWindowRgn(top, nullptr, FALSE);
  EXPECT_FALSE(native(top).shaped);

  // A child that becomes a top-level window takes its region to its new native window.
  SetParent(child, nullptr);
  ASSERT_EQ(Backend().NativeWindows().count(child), 1u);
  EXPECT_TRUE(native(child).shaped);
  EXPECT_EQ(native(child).shape, (std::vector<RECT>{{0, 0, 5, 5}}));
  DestroyWindow(child);
}

TEST_F(Painting, OwnDcKeepsItsStateUntilTheWindowGoes) {
  WNDCLASSEXW wc;
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"KestrelOwnDc";
  RegisterClassExW(&wc);
  HWND top =
      CreateWindowExW(0, u"KestrelOwnDc", u"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  HDC first = GetDC(top);
  SetTextColor(first, kRed);
  EXPECT_EQ(ReleaseDC(top, first), 1);
  HDC again = GetDC(top);
  EXPECT_EQ(again, first);
  EXPECT_EQ(GetTextColor(again), kRed);
  ReleaseDC(top, again);
  PAINTSTRUCT ps;
  InvalidateRect(top, nullptr, FALSE);
  EXPECT_EQ(BeginPaint(top, &ps), first);
  EndPaint(top, &ps);
  EXPECT_EQ(GetTextColor(first), kRed);  // still alive after EndPaint
  // After a resize the same DC draws on the new backing store, all of it.
  SetWindowPos(top, nullptr, 0, 0, 80, 80, SWP_NOMOVE | SWP_NOZORDER);
  HDC resized = GetDC(top);
  EXPECT_EQ(resized, first);
  SetPixel(resized, 70, 70, kBlue);
  ReleaseDC(top, resized);
  EXPECT_EQ(PixelAt(top, 70, 70), kBlue);
  HDC cache = GetDCEx(top, nullptr, DCX_CACHE);  // asked for: a fresh one
  EXPECT_NE(cache, first);
  ReleaseDC(top, cache);
  DestroyWindow(top);
  EXPECT_EQ(GetTextColor(first), CLR_INVALID);  // the private DC went with its window
  UnregisterClassW(u"KestrelOwnDc", nullptr);
}

TEST_F(Painting, ScrollWindowMovesPixelsAndInvalidatesTheRest) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
  Pump();
  HDC hdc = GetDC(top);
  SetPixel(hdc, 5, 20, kRed);
  ReleaseDC(top, hdc);
  ValidateRect(top, nullptr);
  RECT updated;
  ScrollWindowEx(top, 0, -10, nullptr, nullptr, nullptr, &updated, SW_INVALIDATE);
  EXPECT_EQ(PixelAt(top, 5, 10), kRed);
  EXPECT_EQ(updated, (RECT{0, 30, 40, 40}));
  RECT r;
  ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
  EXPECT_EQ(r, updated);
}

TEST_F(Painting, ClassicFrameGolden) {
  HWND top = CreateWindowExW(0, RecorderClass(), u"Kestrel frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 220, 140,
                             nullptr, nullptr, nullptr, nullptr);
  SetColor(top, GetSysColor(COLOR_BTNFACE));
  HWND list = CreateChild(top, {10, 10, 150, 90}, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 1, nullptr,
                          WS_EX_CLIENTEDGE);
  SetColor(list, RGB(255, 255, 255));
  Pump();
  cairo_surface_t* image = CaptureWindowImage(top);
  ASSERT_NE(image, nullptr);
  // The caption text is drawn with the platform's fonts: allow for small rendering differences.
  EXPECT_TRUE(kestrel::testing::MatchesGolden(image, "platform_window_frame", {48, 0.02}));
  cairo_surface_destroy(image);
}

}  // namespace
}  // namespace kestrel::platform::testing
