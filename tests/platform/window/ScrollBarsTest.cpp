// Scroll information with the Windows clamping and show/hide rules, the interception point,
// DefWindowProc's tracking of standard bars, and the modal move/size loop.

#include <functional>

#include "platform/gdi/SystemColors.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class ScrollBars : public WindowTest {
 protected:
  // A 100×200 child of `top`: vertical bar at x 83..100, arrows 17 high, track 17..183, range
  // 0..99 with a page of 10, at 0.
  static HWND ScrolledChild(HWND top) {
    HWND child = CreateChild(top, {0, 0, 100, 200}, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(child, SB_VERT, &si, TRUE);
    return child;
  }
  std::vector<std::pair<UINT, WPARAM>> ScrollRequests() const {
    std::vector<std::pair<UINT, WPARAM>> out;
    for (auto& e : MessageLog::Get().entries)
      if (e.msg == WM_VSCROLL || e.msg == WM_HSCROLL) out.emplace_back(e.msg, e.wParam);
    return out;
  }
};

TEST_F(ScrollBars, InformationIsClampedAsOnWindows) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  SCROLLINFO si;
  EXPECT_FALSE(GetScrollInfo(top, SB_VERT, &si));  // nothing set yet, no style
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 500;
  EXPECT_EQ(SetScrollInfo(top, SB_VERT, &si, TRUE), 90);  // pos ≤ max − (page − 1)
  SCROLLINFO out;
  out.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(top, SB_VERT, &out));
  EXPECT_EQ(out.nMax, 99);
  EXPECT_EQ(out.nPage, 10u);
  EXPECT_EQ(out.nPos, 90);
  EXPECT_EQ(out.nTrackPos, 90);
  // Page larger than the range is cut to range + 1; negative positions go to the minimum.
  si.fMask = SIF_PAGE;
  si.nPage = 1000;
  SetScrollInfo(top, SB_VERT, &si, FALSE);
  EXPECT_EQ(SetScrollPos(top, SB_VERT, -5, FALSE), 0);
  out.fMask = SIF_PAGE | SIF_POS;
  GetScrollInfo(top, SB_VERT, &out);
  EXPECT_EQ(out.nPage, 100u);
  EXPECT_EQ(out.nPos, 0);
  // An inverted range becomes empty.
  EXPECT_TRUE(SetScrollRange(top, SB_HORZ, 50, 10, FALSE));
  int min = -1, max = -1;
  GetScrollRange(top, SB_HORZ, &min, &max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 0);
  EXPECT_FALSE(SetScrollRange(top, SB_HORZ, -0x7FFFFFFF, 0x7FFFFFFF, FALSE));
  EXPECT_FALSE(SetScrollInfo(nullptr, SB_VERT, &si, FALSE));
  EXPECT_EQ(SetScrollPos(top, 7, 1, FALSE), 0);  // unknown bar
}

TEST_F(ScrollBars, RangesShowHideAndDisableBars) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  RECT client;
  SetScrollRange(top, SB_VERT, 0, 50, TRUE);
  EXPECT_TRUE(GetWindowLongW(top, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(top, &client);
  EXPECT_EQ(client.right, 200 - 17);
  Log().Clear();
  // An empty range hides the bar and gives the client its width back, with WM_SIZE.
  SetScrollRange(top, SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(GetWindowLongW(top, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(top, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_FALSE(Log().Messages(top).empty());
  EXPECT_EQ(Log().Messages(top).back(), WM_SIZE);
  // With SIF_DISABLENOSCROLL the bar stays, disabled.
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMax = 9;
  si.nPage = 20;
  SetScrollInfo(top, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLongW(top, GWL_STYLE) & WS_VSCROLL);
  ShowScrollBar(top, SB_BOTH, FALSE);
  EXPECT_FALSE(GetWindowLongW(top, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
  ShowScrollBar(top, SB_HORZ, TRUE);
  GetClientRect(top, &client);
  EXPECT_EQ(client.bottom, 200 - 17);
  // Windows with the style have default information.
  SCROLLINFO range;
  range.fMask = SIF_RANGE;
  ASSERT_TRUE(GetScrollInfo(top, SB_HORZ, &range));
  EXPECT_EQ(range.nMax, 100);
}

int interceptedCalls = 0;
int CountingSetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL redraw) {
  ++interceptedCalls;
  return RealSetScrollInfo(h, bar, si, redraw);
}
BOOL CountingSetScrollRange(HWND h, int bar, int min, int max, BOOL redraw) {
  ++interceptedCalls;
  return RealSetScrollRange(h, bar, min, max, redraw);
}
int CountingSetScrollPos(HWND h, int bar, int pos, BOOL redraw) {
  ++interceptedCalls;
  return RealSetScrollPos(h, bar, pos, redraw);
}

TEST_F(ScrollBars, InterceptionReplacesTheSettersUntilRemoved) {
  HWND top = CreateTop(WS_POPUP, {0, 0, 100, 100});
  ScrollSetters setters{CountingSetScrollInfo, CountingSetScrollRange, CountingSetScrollPos};
  interceptedCalls = 0;
  ASSERT_TRUE(InstallScrollInterception(setters));
  EXPECT_TRUE(InstallScrollInterception(setters));  // idempotent
  EXPECT_TRUE(IsScrollInterceptionInstalled());
  SetScrollRange(top, SB_VERT, 0, 10, FALSE);
  SetScrollPos(top, SB_VERT, 4, FALSE);
  EXPECT_EQ(interceptedCalls, 2);
  EXPECT_EQ(GetScrollPos(top, SB_VERT), 4);  // the replacement reached the real setter
  RemoveScrollInterception();
  SetScrollPos(top, SB_VERT, 5, FALSE);
  EXPECT_EQ(interceptedCalls, 2);
  AllowScrollInterception(false);
  EXPECT_FALSE(InstallScrollInterception(setters));
  EXPECT_FALSE(IsScrollInterceptionInstalled());
  AllowScrollInterception(true);
  EXPECT_FALSE(InstallScrollInterception(ScrollSetters{}));
}

TEST_F(ScrollBars, DefaultProcedureTracksArrowsPagesAndThumb) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND child = ScrolledChild(top);
  Pump();
  Log().Clear();
  InjectClick({90, 5});    // the up arrow
  InjectClick({90, 195});  // the down arrow
  InjectClick({90, 150});  // the track below the thumb
  Pump();
  std::vector<std::pair<UINT, WPARAM>> expected{{WM_VSCROLL, SB_LINEUP},   {WM_VSCROLL, SB_ENDSCROLL},
                                                {WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_ENDSCROLL},
                                                {WM_VSCROLL, SB_PAGEDOWN}, {WM_VSCROLL, SB_ENDSCROLL}};
  EXPECT_EQ(ScrollRequests(), expected);
  // Dragging the thumb (17..33) down by 75 pixels: track 166, thumb 16, 150 pixels for 90 steps.
  Log().Clear();
  InjectMouseMove({90, 20});
  InjectMouseButton(MouseButton::Left, true, {90, 20});
  InjectMouseMove({90, 95});
  InjectMouseButton(MouseButton::Left, false, {90, 95});
  Pump();
  auto requests = ScrollRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(LOWORD(requests[0].second), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(requests[0].second), 45);
  EXPECT_EQ(LOWORD(requests[1].second), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(requests[1].second), 45);
  EXPECT_EQ(LOWORD(requests[2].second), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(child, SB_VERT), 0);  // the program decides whether to move
  EXPECT_EQ(GetCapture(), nullptr);
}

// Holding the mouse on a standard bar: the tracking loop runs inside the click, so the test
// moves the virtual clock from the first scroll request and lets go at the end.
class ScrollRepeat : public ScrollBars {
 protected:
  void SetUp() override {
    ScrollBars::SetUp();
    child = ScrolledChild(CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300}));
    Pump();
    Log().Clear();
  }
  // Presses at `at`; `whileHeld` runs once, from the first request, with the button still down.
  void Hold(POINT at, std::function<void()> whileHeld) {
    bool started = false;
    Log().handler = [&, whileHeld](HWND hwnd, UINT msg, WPARAM w, LPARAM, LRESULT&) {
      if (hwnd != child || msg != WM_VSCROLL) return false;
      times.push_back(Backend().Now());
      if (LOWORD(w) == SB_PAGEDOWN) SetScrollPos(child, SB_VERT, GetScrollPos(child, SB_VERT) + 10, TRUE);
      if (!started) {
        started = true;
        whileHeld();
        POINT at;
        GetCursorPos(&at);
        InjectMouseButton(MouseButton::Left, false, at);
      }
      return false;
    };
    InjectMouseMove(at);
    InjectMouseButton(MouseButton::Left, true, at);
    Pump();
    Log().handler = nullptr;
  }
  std::vector<WORD> Codes() const {
    std::vector<WORD> out;
    for (auto& [msg, w] : ScrollRequests()) out.push_back(LOWORD(w));
    return out;
  }
  HWND child = nullptr;
  std::vector<DWORD> times;
};

TEST_F(ScrollRepeat, ArrowRepeatsAfterTheDelayAtTheRateAndOnlyOverTheArrow) {
  DWORD start = 0;
  Hold({90, 195}, [&] {
    start = Backend().Now();
    Backend().Advance(199);      // not yet
    Backend().Advance(101);      // 200, 250, 300
    InjectMouseMove({90, 100});  // off the arrow: the repeat pauses
    Backend().Advance(100);
    InjectMouseMove({90, 190});
    Backend().Advance(50);  // 450
  });
  EXPECT_EQ(Codes(),
            (std::vector<WORD>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  ASSERT_EQ(times.size(), 6u);
  for (DWORD& t : times) t -= start;
  EXPECT_EQ(times, (std::vector<DWORD>{0, 200, 250, 300, 450, 450}));
  // Letting go stops the repeat for good.
  Log().Clear();
  Backend().Advance(1000);
  EXPECT_TRUE(ScrollRequests().empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollRepeat, TrackRepeatsPagesUntilTheThumbReachesTheMouse) {
  // Thumb 16 pixels on a 166-pixel track for 90 positions; the mouse waits at y 150, which the
  // thumb covers from position 80 on: 8 pages, then nothing however long the button is held.
  Hold({90, 150}, [&] { Backend().Advance(2000); });
  std::vector<WORD> expected(8, SB_PAGEDOWN);
  expected.push_back(SB_ENDSCROLL);
  EXPECT_EQ(Codes(), expected);
  EXPECT_EQ(GetScrollPos(child, SB_VERT), 80);
}

TEST_F(ScrollBars, CaptionDragMovesAndBorderDragSizes) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  HWND child = CreateChild(top, {50, 50, 170, 150}, WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
  Pump();
  Log().Clear();
  InjectMouseMove({100, 60});  // caption
  InjectMouseButton(MouseButton::Left, true, {100, 60});
  InjectMouseMove({130, 80});
  InjectMouseButton(MouseButton::Left, false, {130, 80});
  Pump();
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r, (RECT{80, 70, 200, 170}));
  auto messages = Log().Messages(child);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_EXITSIZEMOVE), 1);
  // The bottom-right corner sizes; Escape would have put it back.
  InjectMouseMove({198, 168});
  InjectMouseButton(MouseButton::Left, true, {198, 168});
  InjectMouseMove({218, 178});
  InjectKeyStroke(VK_SPACE);  // keys inside the loop are swallowed
  InjectMouseButton(MouseButton::Left, false, {218, 178});
  Pump();
  GetWindowRect(child, &r);
  EXPECT_EQ(r, (RECT{80, 70, 220, 180}));
  InjectMouseMove({100, 80});
  InjectMouseButton(MouseButton::Left, true, {100, 80});
  InjectMouseMove({10, 10});
  InjectKeyStroke(VK_ESCAPE);
  InjectMouseButton(MouseButton::Left, false, {10, 10});
  Pump();
  GetWindowRect(child, &r);
  EXPECT_EQ(r, (RECT{80, 70, 220, 180}));
  // Sizing stops at the smallest tracking size.
  InjectMouseMove({218, 178});
  InjectMouseButton(MouseButton::Left, true, {218, 178});
  InjectMouseMove({0, 0});
  InjectMouseButton(MouseButton::Left, false, {0, 0});
  Pump();
  GetWindowRect(child, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
}

TEST_F(ScrollBars, PostedDragMoveSwallowsThePostedKey) {
  // A control starts moving itself from its button-down handler by posting SC_MOVE|HTCAPTION
  // and a space key-down; the move loop must take the key, or the control would see a key press.
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  HWND panel = CreateChild(top, {50, 50, 150, 150});
  Pump();
  Log().handler = [panel](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (hwnd == panel && msg == WM_LBUTTONDOWN) {
      PostMessageW(panel, WM_SYSCOMMAND, 0xF012, 0);
      PostMessageW(panel, WM_KEYDOWN, VK_SPACE, 0);
    }
    if (hwnd == panel && msg == WM_ENTERSIZEMOVE) {
      // The user drags while the loop runs.
      InjectMouseMove({110, 90});
      InjectMouseButton(MouseButton::Left, false, {110, 90});
    }
    return false;
  };
  InjectMouseMove({60, 60});
  InjectMouseButton(MouseButton::Left, true, {60, 60});
  Log().Clear();
  Pump();
  RECT r;
  GetWindowRect(panel, &r);
  EXPECT_EQ(r, (RECT{100, 80, 200, 180}));
  auto messages = Log().Messages(panel);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_KEYDOWN), 0);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), WM_EXITSIZEMOVE), 1);
}

}  // namespace
}  // namespace kestrel::platform::testing
