#include <gtest/gtest.h>

#include <thread>

#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"
#include "tests/controls/HelperTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::testing {
namespace {

using namespace platform;

const char16_t* PlainClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"KestrelHelperTestWindow";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return u"KestrelHelperTestWindow";
}

void SetInfo(HWND w, int bar, int max, UINT page, int pos) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = max;
  si.nPage = page;
  si.nPos = pos;
  SetScrollInfo(w, bar, &si, FALSE);
}

class FlatScrollBars : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessBackend::Current(); }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
  }
  HWND Create(DWORD style, DWORD exStyle) {
    HWND w = CreateWindowExW(exStyle, PlainClass(), u"bars", style, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    windows_.push_back(w);
    SetInfo(w, SB_VERT, 99, 10, 45);
    return w;
  }
  std::vector<HWND> windows_;
};

TEST_F(FlatScrollBars, BarsSizeBoxAndThumbLandWhereTheStylesPutThem) {
  ASSERT_EQ(GetSystemMetrics(SM_CXHSCROLL), 17);
  ASSERT_EQ(GetSystemMetrics(SM_CYVSCROLL), 17);
  HWND w = Create(WS_POPUP | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 0);
  ASSERT_NE(w, nullptr);
  Canvas canvas(100, 80, kPaper);
  PaintFlatScrollBars(w, canvas.dc, {0, 0, 100, 80}, false, ssBoth, false, false, false,
                      WS_POPUP | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 0);
  const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(canvas.At(90, 70), GetSysColor(COLOR_BTNFACE)) << "size box";
  // Vertical bar (82, 1, 99, 62): track 27 pixels, thumb 8 long at offset
  // MulDiv(45, 19, 90) = 10, so rows 28..35.
  EXPECT_EQ(canvas.At(82, 1), hi);
  EXPECT_EQ(canvas.At(90, 27), kPaper);
  EXPECT_EQ(canvas.At(90, 28), hi);
  EXPECT_EQ(canvas.At(90, 35), sh);
  EXPECT_EQ(canvas.At(90, 36), kPaper);
  // Horizontal bar (1, 62, 82, 79): arrow boxes only, it has no scroll information.
  EXPECT_EQ(canvas.At(1, 62), hi);
  EXPECT_EQ(canvas.At(81, 78), sh);
  EXPECT_EQ(canvas.At(40, 70), kPaper);
  EXPECT_EQ(canvas.At(0, 0), kPaper) << "the border is not painted";

  // ssVertical leaves the horizontal bar out but keeps the size box.
  Canvas vertical(100, 80, kPaper);
  PaintFlatScrollBars(w, vertical.dc, {0, 0, 100, 80}, false, ssVertical, false, false, false,
                      WS_POPUP | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 0);
  EXPECT_EQ(vertical.At(1, 62), kPaper);
  EXPECT_EQ(vertical.At(90, 70), GetSysColor(COLOR_BTNFACE));
}

TEST_F(FlatScrollBars, ShortBarsHalveTheirArrowBoxes) {
  HWND w = Create(WS_POPUP, 0);
  const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  Canvas canvas(20, 20, kPaper);
  PaintFlatScrollBar(w, canvas.dc, {0, 0, 13, 5}, false, false, false, false);
  EXPECT_EQ(canvas.Mask({0, 0, 13, 1}, kPaper), "......#......") << "6.5 rounds to 6";
  EXPECT_EQ(canvas.At(5, 0), sh);
  EXPECT_EQ(canvas.At(7, 0), hi);
  Canvas column(20, 20, kPaper);
  PaintFlatScrollBar(w, column.dc, {0, 0, 5, 13}, true, false, false, false);
  EXPECT_EQ(column.At(0, 6), kPaper) << "6.5 is truncated to 6";
  EXPECT_EQ(column.At(0, 7), hi);
  // A bar as short as 0 or 1 pixel paints nothing harmful.
  PaintFlatScrollBar(w, column.dc, {0, 15, 5, 16}, true, false, false, false);
  PaintFlatScrollBar(w, column.dc, {10, 15, 10, 15}, false, false, false, false);
}

TEST_F(FlatScrollBars, GoldenActiveRightAndInactiveLeft) {
  const ThemeScope classic(false);  // the goldens show the classic system colours
  DWORD style = WS_POPUP | WS_HSCROLL | WS_VSCROLL;
  HWND right = Create(style, WS_EX_CLIENTEDGE);
  HWND left = Create(style, WS_EX_CLIENTEDGE | WS_EX_LEFTSCROLLBAR);
  SetInfo(right, SB_HORZ, 19, 5, 15);
  SetInfo(left, SB_HORZ, 19, 5, 15);
  Canvas canvas(210, 80, kPaper);
  PaintFlatScrollBars(right, canvas.dc, {0, 0, 100, 80}, true, ssBoth, false, false, false, style, WS_EX_CLIENTEDGE);
  PaintFlatScrollBars(left, canvas.dc, {110, 0, 210, 80}, false, ssBoth, false, false, false, style,
                      WS_EX_CLIENTEDGE | WS_EX_LEFTSCROLLBAR);
  EXPECT_TRUE(MatchesGolden(canvas.Surface(), "controls_flat_scrollbars"));
}

TEST(UnicodeText, ClipboardRoundTripBothFormats) {
  HeadlessBackend::Current();
  const String text = u"Grüße \U0001F985 & more";
  ASSERT_TRUE(ClipboardSetText(text));
  EXPECT_EQ(ClipboardGetText(), text);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE ansi = GetClipboardData(CF_TEXT);
  ASSERT_NE(ansi, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(ansi)), "Grüße \xF0\x9F\xA6\x85 & more");
  GlobalUnlock(ansi);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(GlobalSize(wide), (text.size() + 1) * 2);
  CloseClipboard();
  EXPECT_EQ(ClipboardGetText(), text);
  ASSERT_TRUE(ClipboardSetText(u""));
  EXPECT_EQ(ClipboardGetText(), u"");
}

TEST(UnicodeText, ClipboardHeldElsewhereIsLeftAlone) {
  HeadlessBackend::Current();
  ASSERT_TRUE(ClipboardSetText(u"kept"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  std::thread([] {
    EXPECT_FALSE(ClipboardSetText(u"other")) << "held open by another thread";
    EXPECT_EQ(ClipboardGetText(), u"");
  }).join();
  CloseClipboard();
  EXPECT_EQ(ClipboardGetText(), u"kept");
}

TEST(UnicodeText, CountsAndClipTestsReachThePlatform) {
  Canvas canvas(60, 30, kPaper);
  TCanvas tcanvas;
  tcanvas.SetHandle(canvas.dc);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsUnicode(canvas.dc, tm));
  TRect all{0, 0, 60, 30}, first{0, 0, 60, 30};
  EXPECT_EQ(DrawTextUnicode(canvas.dc, u"Ab\nCd", -1, DT_CALCRECT, all), 2 * tm.tmHeight);
  EXPECT_EQ(all.bottom - all.top, 2 * tm.tmHeight);
  EXPECT_EQ(DrawTextUnicode(canvas.dc, u"Ab\nCd", 2, DT_CALCRECT, first), tm.tmHeight);
  EXPECT_TRUE(IsRectVisible(&tcanvas, {50, 20, 70, 40}));
  IntersectClipRect(canvas.dc, 0, 0, 10, 10);
  EXPECT_FALSE(IsRectVisible(&tcanvas, {50, 20, 70, 40}));
  tcanvas.SetHandle(nullptr);
}

}  // namespace
}  // namespace kestrel::testing
