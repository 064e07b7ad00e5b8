// The theme engine with windows: the switch's broadcast, opting a window out, the parent
// background protocol, and the themed frame and message box.

#include "platform/gdi/Gdi.h"
#include "platform/theme/ThemeRecorder.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/MessageBox.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform::testing {
namespace {

class ThemeWindows : public WindowTest {
 protected:
  std::vector<UINT> ThemeMessages(HWND hwnd) {
    std::vector<UINT> out;
    for (UINT msg : Log().Messages(hwnd))
      if (msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED) out.push_back(msg);
    return out;
  }
};

TEST_F(ThemeWindows, SwitchingTellsEveryWindowColoursFirstAndOnlyOnAChange) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 20, 20});
  HWND grandChild = CreateChild(child, {0, 0, 10, 10});
  HWND messageOnly = CreateWindowExW(0, RecorderClass(), u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  Log().Clear();
  SetThemeActive(true);
  const std::vector<UINT> expected{WM_SYSCOLORCHANGE, WM_THEMECHANGED};
  for (HWND hwnd : {top, child, grandChild, messageOnly}) EXPECT_EQ(ThemeMessages(hwnd), expected);
  Log().Clear();
  SetThemeActive(true);
  EXPECT_TRUE(ThemeMessages(top).empty()) << "no change, no broadcast";
  DestroyWindow(messageOnly);
}

TEST_F(ThemeWindows, AWindowOptedOutGetsNoThemeAndDrawsItsFrameClassic) {
  SetThemeActive(true);
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 120, 80});
  HTHEME theme = OpenThemeData(top, u"WINDOW");
  ASSERT_NE(theme, nullptr);
  CloseThemeData(theme);
  Log().Clear();
  EXPECT_EQ(SetWindowTheme(top, u"", u""), S_OK);
  EXPECT_EQ(ThemeMessages(top), std::vector<UINT>{WM_THEMECHANGED});
  EXPECT_EQ(OpenThemeData(top, u"WINDOW"), nullptr);
  Pump();
  cairo_surface_t* image = CaptureWindowImage(top);
  ASSERT_NE(image, nullptr);
  // The middle of the caption shows a classic caption colour.
  auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image) +
                                                     10 * cairo_image_surface_get_stride(image));
  const COLORREF seen = RGB((row[60] >> 16) & 0xFF, (row[60] >> 8) & 0xFF, row[60] & 0xFF);
  cairo_surface_destroy(image);
  EXPECT_TRUE(seen == GetSysColor(COLOR_ACTIVECAPTION) || seen == GetSysColor(COLOR_INACTIVECAPTION)) << seen;
  EXPECT_EQ(SetWindowTheme(top, nullptr, nullptr), S_OK);
  theme = OpenThemeData(top, u"WINDOW");
  EXPECT_NE(theme, nullptr);
  CloseThemeData(theme);
  EXPECT_EQ(SetWindowTheme(nullptr, nullptr, nullptr), E_HANDLE);
}

TEST_F(ThemeWindows, ParentBackgroundIsPaintedInTheChildsCoordinatesAndTheDcRestored) {
  SetThemeActive(true);
  HWND parent = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = CreateChild(parent, {30, 20, 70, 60});
  std::vector<UINT> order;
  POINT originSeen{};
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (hwnd != parent || (msg != WM_ERASEBKGND && msg != WM_PRINTCLIENT)) return false;
    order.push_back(msg);
    HDC hdc = reinterpret_cast<HDC>(wParam);
    GetWindowOrgEx(hdc, &originSeen);
    if (msg == WM_PRINTCLIENT) {
      EXPECT_EQ(lParam & PRF_CLIENT, PRF_CLIENT);
      RECT mark{35, 25, 40, 30};  // parent coordinates: 5 px into the child
      HBRUSH red = CreateSolidBrush(kRed);
      FillRect(hdc, &mark, red);
      DeleteObject(red);
    }
    result = 1;
    return true;
  };
  Canvas canvas(40, 40, RGB(255, 255, 255));
  SetWindowOrgEx(canvas.dc, 0, 0, nullptr);
  SetTextColor(canvas.dc, RGB(1, 2, 3));
  const RECT only{0, 0, 7, 40};
  EXPECT_EQ(DrawThemeParentBackground(child, canvas.dc, &only), S_OK);
  EXPECT_EQ(order, (std::vector<UINT>{WM_ERASEBKGND, WM_PRINTCLIENT}));
  EXPECT_EQ(originSeen, (POINT{30, 20}));
  EXPECT_EQ(canvas.At(5, 5), kRed);
  EXPECT_EQ(canvas.At(6, 9), kRed);
  EXPECT_EQ(canvas.At(8, 5), RGB(255, 255, 255)) << "outside the rectangle asked for";
  POINT origin{};
  GetWindowOrgEx(canvas.dc, &origin);
  EXPECT_EQ(origin, (POINT{0, 0}));
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3));
  EXPECT_EQ(DrawThemeParentBackground(parent, canvas.dc, nullptr), S_FALSE) << "a top-level window";
}

// Records the theme's drawings of one class while alive.
class DrawLog {
 public:
  explicit DrawLog(ThemeClass only)
      : previous_(SetThemeDrawObserver([this, only](const ThemeDrawRecord& r) {
          if (r.themeClass == only) records.push_back(r);
        })) {}
  ~DrawLog() { SetThemeDrawObserver(previous_); }
  DrawLog(const DrawLog&) = delete;
  DrawLog& operator=(const DrawLog&) = delete;
  const ThemeDrawRecord* Find(int part) const {
    for (const ThemeDrawRecord& r : records)
      if (r.partId == part) return &r;
    return nullptr;
  }
  std::vector<ThemeDrawRecord> records;

 private:
  ThemeDrawObserver previous_;
};

TEST_F(ThemeWindows, TheFrameShowsTheWindowsStatesAndKeepsTheClassicLayout) {
  SetThemeActive(true);
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, {0, 0, 200, 150});
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 50, 0, 0};
  SetScrollInfo(top, SB_VERT, &info, FALSE);
  EnableScrollBar(top, SB_VERT, ESB_DISABLE_LTUP);
  RECT themedClient{};
  GetClientRect(top, &themedClient);
  Pump();
  {
    DrawLog scroll(ThemeClass::ScrollBar);
    RedrawWindow(top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_GE(scroll.records.size(), 2u);
    EXPECT_EQ(scroll.records[0].partId, SBP_ARROWBTN);
    EXPECT_EQ(scroll.records[0].stateId, ABS_UPDISABLED);
    EXPECT_EQ(scroll.records[1].stateId, ABS_DOWNNORMAL);
    ASSERT_NE(scroll.Find(SBP_THUMBBTNVERT), nullptr);
    ASSERT_NE(scroll.Find(SBP_GRIPPERVERT), nullptr);
    EXPECT_EQ(scroll.Find(SBP_THUMBBTNVERT)->rect.top, scroll.records[0].rect.bottom) << "position 0: at the top";
  }
  {
    DrawLog frame(ThemeClass::Window);
    ShowWindow(top, SW_MAXIMIZE);
    RedrawWindow(top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(frame.Find(WP_RESTOREBUTTON), nullptr);
    EXPECT_EQ(frame.Find(WP_MAXBUTTON), nullptr);
  }
  {
    DrawLog frame(ThemeClass::Window);
    SendMessageW(top, WM_NCACTIVATE, FALSE, 0);
    RedrawWindow(top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_NE(frame.Find(WP_CAPTION), nullptr);
    EXPECT_EQ(frame.Find(WP_CAPTION)->stateId, CS_INACTIVE);
  }
  // Without themed non-client areas the frame is classic; the layout never depended on the look.
  ShowWindow(top, SW_RESTORE);
  SetThemeAppProperties(STAP_ALLOW_CONTROLS);
  {
    DrawLog frame(ThemeClass::Window);
    RedrawWindow(top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(frame.records.empty());
  }
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
  SetThemeActive(false);
  RECT classicClient{};
  GetClientRect(top, &classicClient);
  EXPECT_EQ(classicClient, themedClient);
}

// The classic frame and message box have their goldens beside the other painting tests.
class ThemedLook : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetThemeActive(true);
  }
};

TEST_F(ThemedLook, FrameCaptionScrollBarsAndEdges) {
  HWND top = CreateWindowExW(0, RecorderClass(), u"Kestrel frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 220, 140,
                             nullptr, nullptr, nullptr, nullptr);
  HWND list = CreateChild(top, {10, 10, 150, 90}, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 1, nullptr,
                          WS_EX_CLIENTEDGE);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 25, 30, 0};
  SetScrollInfo(list, SB_VERT, &info, TRUE);
  SetScrollInfo(list, SB_HORZ, &info, TRUE);
  Pump();
  cairo_surface_t* image = CaptureWindowImage(top);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(kestrel::testing::MatchesGolden(image, "platform_window_frame_themed", {48, 0.02}));
  cairo_surface_destroy(image);
}

TEST_F(ThemedLook, MessageBox) {
  cairo_surface_t* image = nullptr;
  SetMessageBoxShownHook([&](HWND dialog) {
    image = CaptureWindowImage(dialog);
    InjectKeyStroke(VK_RETURN);
  });
  MessageBoxW(nullptr, u"The download could not be saved.", u"Kestrel", MB_OKCANCEL | MB_ICONEXCLAMATION);
  SetMessageBoxShownHook(nullptr);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(kestrel::testing::MatchesGolden(image, "platform_window_messagebox_themed", {48, 0.03}));
  cairo_surface_destroy(image);
}

}  // namespace
}  // namespace kestrel::platform::testing
