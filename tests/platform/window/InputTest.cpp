// Input routing: hit-testing, client and non-client mouse messages, double clicks, capture,
// mouse leave, cursors, the wheel, and the keyboard from key events to characters.

#include "platform/core/ScopeGuard.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/Caret.h"
#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class Input : public WindowTest {
 protected:
  static LRESULT HitAt(HWND hwnd, int x, int y) {
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  }
  // The client mouse messages a window received.
  static std::vector<UINT> MouseOf(HWND hwnd) {
    std::vector<UINT> out;
    for (UINT m : MessageLog::Get().Messages(hwnd))
      if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) out.push_back(m);
    return out;
  }
  std::vector<Recorded> Of(UINT msg) const {
    std::vector<Recorded> out;
    for (auto& e : MessageLog::Get().entries)
      if (e.msg == msg) out.push_back(e);
    return out;
  }
};

TEST_F(Input, HitTestCodesOfTheClassicFrame) {
  // 300×200 at (100,100): frame 4, caption 19, buttons 16 wide.
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW, {100, 100, 400, 300});
  EXPECT_EQ(HitAt(top, 50, 50), HTNOWHERE);
  EXPECT_EQ(HitAt(top, 250, 200), HTCLIENT);
  EXPECT_EQ(HitAt(top, 200, 112), HTCAPTION);
  EXPECT_EQ(HitAt(top, 110, 112), HTSYSMENU);
  EXPECT_EQ(HitAt(top, 400 - 4 - 2 - 8, 112), HTCLOSE);
  EXPECT_EQ(HitAt(top, 400 - 4 - 2 - 16 - 2 - 8, 112), HTMAXBUTTON);
  EXPECT_EQ(HitAt(top, 400 - 4 - 2 - 16 - 2 - 16 - 8, 112), HTMINBUTTON);
  EXPECT_EQ(HitAt(top, 101, 200), HTLEFT);
  EXPECT_EQ(HitAt(top, 398, 200), HTRIGHT);
  EXPECT_EQ(HitAt(top, 250, 101), HTTOP);
  EXPECT_EQ(HitAt(top, 250, 298), HTBOTTOM);
  EXPECT_EQ(HitAt(top, 101, 101), HTTOPLEFT);
  EXPECT_EQ(HitAt(top, 398, 101), HTTOPRIGHT);
  EXPECT_EQ(HitAt(top, 101, 298), HTBOTTOMLEFT);
  EXPECT_EQ(HitAt(top, 398, 298), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(top, 101, 110), HTTOPLEFT);  // corners reach along the edges
  // A child with a border, client edge and both scroll bars (client at 10,10 of the parent).
  HWND child = CreateChild(top, {10, 10, 110, 110}, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 0,
                           nullptr, WS_EX_CLIENTEDGE);
  POINT o{0, 0};
  ClientToScreen(top, &o);
  int x0 = o.x + 10, y0 = o.y + 10;
  EXPECT_EQ(HitAt(child, x0, y0 + 50), HTBORDER);
  EXPECT_EQ(HitAt(child, x0 + 2, y0 + 50), HTBORDER);  // the client edge
  EXPECT_EQ(HitAt(child, x0 + 100 - 3 - 8, y0 + 40), HTVSCROLL);
  EXPECT_EQ(HitAt(child, x0 + 40, y0 + 100 - 3 - 8), HTHSCROLL);
  EXPECT_EQ(HitAt(child, x0 + 100 - 3 - 8, y0 + 100 - 3 - 8), HTSIZE);
  EXPECT_EQ(HitAt(child, x0 + 40, y0 + 40), HTCLIENT);
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client, (RECT{0, 0, 100 - 6 - 17, 100 - 6 - 17}));
}

TEST_F(Input, ScrollBarsSitBesideTheClientAreaTheWindowComputed) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW, {100, 100, 400, 300});
  // A window that keeps a 5-pixel band of its own round what the default frame leaves.
  MessageLog::Get().handler = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NCCALCSIZE) return false;
    result = DefWindowProcW(hwnd, msg, wParam, lParam);
    RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
    r = {r.left + 5, r.top + 5, r.right - 5, r.bottom - 5};
    return true;
  };
  HWND child = CreateChild(top, {10, 10, 110, 110}, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
  MessageLog::Get().handler = nullptr;
  POINT o{0, 0};
  ClientToScreen(top, &o);
  const int x0 = o.x + 10, y0 = o.y + 10, bar = 100 - 5 - 17;  // the client area ends where the bars start
  EXPECT_EQ(HitAt(child, x0 + bar + 1, y0 + 40), HTVSCROLL);
  EXPECT_EQ(HitAt(child, x0 + 40, y0 + bar + 1), HTHSCROLL);
  EXPECT_EQ(HitAt(child, x0 + bar + 1, y0 + bar + 1), HTSIZE);
  EXPECT_EQ(HitAt(child, x0 + 97, y0 + 40), HTBORDER) << "the window's own band lies outside the bar";
  EXPECT_EQ(HitAt(child, x0 + 40, y0 + 97), HTBORDER);
}

TEST_F(Input, AdjustWindowRectMatchesTheClientArea) {
  struct Case {
    DWORD style, ex;
  };
  for (Case c :
       {Case{WS_OVERLAPPEDWINDOW, 0}, Case{WS_POPUP | WS_BORDER, 0},
        Case{WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME}, Case{WS_POPUP | WS_THICKFRAME, WS_EX_CLIENTEDGE},
        Case{WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_STATICEDGE}}) {
    RECT r{0, 0, 445, 592};
    ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, FALSE, c.ex));
    HWND w = CreateWindowExW(c.ex, RecorderClass(), u"", c.style, 0, 0, r.right - r.left, r.bottom - r.top, nullptr,
                             nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client, (RECT{0, 0, 445, 592})) << std::hex << c.style << " " << c.ex;
    DestroyWindow(w);
  }
}

TEST_F(Input, ClientAndNonClientMessages) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  Pump();
  Log().Clear();
  InjectClick({200, 112});
  Pump();
  auto nc = Of(WM_NCLBUTTONDOWN);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(nc[0].lParam, MAKELPARAM(200, 112));  // screen coordinates
  EXPECT_EQ(Of(WM_NCMOUSEMOVE).size(), 1u);
  EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());
  Log().Clear();
  InjectClick({150, 150});
  Pump();
  auto down = Of(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  POINT client{150, 150};
  ScreenToClient(top, &client);
  EXPECT_EQ(down[0].lParam, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
  // The close button closes the window through WM_SYSCOMMAND and WM_CLOSE.
  Log().Clear();
  InjectClick({400 - 4 - 2 - 8, 112});
  Pump();
  EXPECT_FALSE(IsWindow(top));
  auto sys = Of(WM_SYSCOMMAND);
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].wParam, SC_CLOSE);
  EXPECT_EQ(Of(WM_CLOSE).size(), 1u);
}

TEST_F(Input, DoubleClicksNeedTheClassStyleTimeAndPlace) {
  HWND plain = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND dbl = CreateTop(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100}, 0, RecorderClass(true));
  Pump();
  Log().Clear();
  InjectClick({10, 10});
  InjectClick({11, 11});
  InjectClick({210, 10});
  InjectClick({211, 11});
  InjectClick({211, 11});  // a third click starts over
  Pump();
  EXPECT_SEQUENCE(MouseOf(plain), WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                  WM_LBUTTONUP);
  EXPECT_SEQUENCE(MouseOf(dbl), WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK,
                  WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP);
  Log().Clear();
  // Too slow, or too far apart: two single clicks.
  InjectClick({250, 50});
  Backend().Advance(GetDoubleClickTime() + 1);
  InjectClick({250, 50});
  InjectClick({260, 50});
  Pump();
  EXPECT_EQ(Of(WM_LBUTTONDBLCLK).size(), 0u);
  EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 3u);
}

TEST_F(Input, CaptureGetsEverythingAsClientMessages) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND a = CreateChild(top, {10, 10, 50, 50});
  HWND b = CreateChild(top, {100, 100, 150, 150});
  Pump();
  SetCapture(a);
  Log().Clear();
  InjectMouseMove({120, 120});  // over b
  InjectMouseMove({500, 500});  // outside every window
  Pump();
  auto moves = Of(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].hwnd, a);
  EXPECT_EQ(moves[0].lParam, MAKELPARAM(110, 110));
  EXPECT_EQ(moves[1].lParam, MAKELPARAM(490, 490));
  EXPECT_TRUE(Log().Messages(b).empty());
  ReleaseCapture();
  Log().Clear();
  InjectMouseMove({120, 120});
  Pump();
  EXPECT_EQ(Of(WM_MOUSEMOVE).at(0).hwnd, b);
  // Negative client coordinates survive the trip through lParam.
  SetCapture(b);
  Log().Clear();
  InjectMouseMove({5, 5});
  Pump();
  auto m = Of(WM_MOUSEMOVE).at(0);
  EXPECT_EQ(GET_X_LPARAM(m.lParam), -95);
  EXPECT_EQ(GET_Y_LPARAM(m.lParam), -95);
}

TEST_F(Input, TransparentAndDisabledWindowsPassThePointOn) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND glass = CreateChild(top, {0, 0, 100, 100});  // child windows start at the bottom:
  HWND under = CreateChild(top, {0, 0, 100, 100});  // the first one stays on top
  Log().handler = [glass](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (hwnd != glass || msg != WM_NCHITTEST) return false;
    r = HTTRANSPARENT;
    return true;
  };
  EXPECT_EQ(WindowFromPoint({50, 50}), under);
  EXPECT_EQ(ChildWindowFromPoint(top, {50, 50}), glass);  // no hit-testing there
  EnableWindow(under, FALSE);
  EXPECT_EQ(WindowFromPoint({50, 50}), top);
  EXPECT_EQ(ChildWindowFromPointEx(top, {50, 50}, CWP_SKIPDISABLED), glass);
  ShowWindow(glass, SW_HIDE);
  EXPECT_EQ(ChildWindowFromPointEx(top, {50, 50}, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE), top);
  EXPECT_EQ(ChildWindowFromPoint(top, {500, 50}), nullptr);
  Log().Clear();
  InjectClick({50, 50});
  Pump();
  EXPECT_TRUE(MouseOf(under).empty());
  EXPECT_FALSE(Of(WM_LBUTTONDOWN).empty());
  EXPECT_EQ(Of(WM_LBUTTONDOWN).at(0).hwnd, top);
}

TEST_F(Input, MouseLeaveIsReportedOnce) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND child = CreateChild(top, {10, 10, 60, 60});
  InjectMouseMove({20, 20});
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = child;
  ASSERT_TRUE(TrackMouseEvent(&tme));
  TRACKMOUSEEVENT query;
  query.dwFlags = TME_QUERY;
  TrackMouseEvent(&query);
  EXPECT_EQ(query.hwndTrack, child);
  EXPECT_EQ(query.dwFlags, TME_LEAVE);
  Pump();
  Log().Clear();
  InjectMouseMove({30, 30});
  InjectMouseMove({100, 100});
  InjectMouseMove({20, 20});
  InjectMouseMove({100, 100});
  Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
  EXPECT_EQ(Of(WM_MOUSELEAVE).at(0).hwnd, child);
  // Tracking a window the mouse is not over reports the leave at once.
  Log().Clear();
  TrackMouseEvent(&tme);
  Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
}

TEST_F(Input, HoverIsReportedAfterTheMouseRests) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  InjectMouseMove({20, 20});
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_HOVER;
  tme.hwndTrack = top;
  tme.dwHoverTime = 100;
  TrackMouseEvent(&tme);
  Pump();
  Log().Clear();
  Backend().Advance(60);
  InjectMouseMove({40, 40});  // moving on restarts the wait
  Backend().Advance(60);
  EXPECT_TRUE(Of(WM_MOUSEHOVER).empty());
  Backend().Advance(40);
  auto hover = Of(WM_MOUSEHOVER);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(hover[0].lParam, MAKELPARAM(40, 40));
  Backend().Advance(500);  // once per request
  EXPECT_EQ(Of(WM_MOUSEHOVER).size(), 1u);
}

TEST_F(Input, CursorFollowsTheHitTest) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  InjectMouseMove({250, 200});
  EXPECT_EQ(CursorShapeOf(GetCursor()), 32512);  // the class cursor: arrow
  EXPECT_EQ(Backend().CursorShape(), 32512);
  InjectMouseMove({101, 200});
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
  EXPECT_EQ(Backend().CursorShape(), 32644);
  InjectMouseMove({398, 298});
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
  // A child that answers WM_SETCURSOR itself wins over the default.
  HWND child = CreateChild(top, {0, 0, 50, 50});
  Log().handler = [child](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (hwnd != child || msg != WM_SETCURSOR) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    r = TRUE;
    return true;
  };
  POINT p{10, 10};
  ClientToScreen(child, &p);
  InjectMouseMove(p);
  EXPECT_EQ(Backend().CursorShape(), 32649);
  EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

TEST_F(Input, KeysBecomeCharactersThroughTranslateMessage) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = CreateChild(top, {0, 0, 50, 50});
  SetFocus(edit);
  SHORT shiftDuringKey = 0;
  Log().handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_KEYDOWN && wParam == 'A') shiftDuringKey = GetKeyState(VK_SHIFT);
    return false;
  };
  Pump();
  Log().Clear();
  InjectKeyStroke('A');
  InjectKey(VK_SHIFT, true);
  InjectKeyStroke('A');
  InjectKeyStroke('1');
  InjectKey(VK_SHIFT, false);
  Pump();
  std::u16string typed;
  for (auto& e : Of(WM_CHAR)) typed += static_cast<char16_t>(e.wParam);
  EXPECT_EQ(typed, u"aA!");
  EXPECT_LT(shiftDuringKey, 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  // Characters arrive between the key-down and the key-up.
  EXPECT_SEQUENCE(Log().Messages(edit), WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP,
                  WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP);
  auto ups = Of(WM_KEYUP);
  EXPECT_EQ(static_cast<DWORD>(ups[0].lParam) & 0xC0000000u, 0xC0000000u);  // previous state, transition
  EXPECT_EQ(static_cast<DWORD>(Of(WM_KEYDOWN)[0].lParam) & 0xFFFFu, 1u);    // repeat count
}

TEST_F(Input, AltKeysAreSystemKeysAndControlMakesControlCharacters) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  SetFocus(top);
  Pump();
  Log().Clear();
  InjectKey(VK_MENU, true);
  InjectKeyStroke('X');
  InjectKey(VK_MENU, false);
  InjectKey(VK_CONTROL, true);
  InjectKeyStroke('C');
  InjectKey(VK_CONTROL, false);
  Pump();
  auto sysChars = Of(WM_SYSCHAR);
  ASSERT_EQ(sysChars.size(), 1u);
  EXPECT_EQ(sysChars[0].wParam, static_cast<WPARAM>('x'));
  EXPECT_TRUE(static_cast<DWORD>(sysChars[0].lParam) & (1u << 29));  // context code: Alt held
  auto chars = Of(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, 3u);  // Ctrl+C
  EXPECT_EQ(Of(WM_SYSKEYDOWN).size(), 2u);
  // With no focus window, keys go to the active window as system keys.
  SetFocus(nullptr);
  Log().Clear();
  InjectKeyStroke(VK_RETURN);
  Pump();
  EXPECT_EQ(Of(WM_SYSKEYDOWN).size(), 1u);
  EXPECT_EQ(Of(WM_SYSKEYDOWN).at(0).hwnd, top);
}

TEST_F(Input, WheelTextAndUnicodeCharacters) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = CreateChild(top, {0, 0, 50, 50});
  SetFocus(child);
  Pump();
  Log().Clear();
  InjectMouseWheel(-WHEEL_DELTA, {70, 70});
  InjectText(u"é");
  Pump();
  auto wheel = Of(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 2u);  // the child, and its parent through the default
  EXPECT_EQ(wheel[0].hwnd, child);
  EXPECT_EQ(static_cast<SHORT>(HIWORD(wheel[0].wParam)), -WHEEL_DELTA);
  EXPECT_EQ(wheel[0].lParam, MAKELPARAM(70, 70));
  EXPECT_EQ(Of(WM_CHAR).at(0).wParam, 0xE9u);
  Log().Clear();
  EXPECT_EQ(SendMessageW(child, WM_UNICHAR, UNICODE_NOCHAR, 0), FALSE);
  SendMessageW(child, WM_UNICHAR, 0x1F600, 0);
  auto chars = Of(WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wParam, 0xD83Du);
  EXPECT_EQ(chars[1].wParam, 0xDE00u);
}

TEST_F(Input, RightClickAsksForAContextMenu) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = CreateChild(top, {10, 10, 60, 60});
  Pump();
  Log().Clear();
  InjectClick({20, 30}, MouseButton::Right);
  Pump();
  auto menus = Of(WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 2u);  // asked of the child, passed on to the parent
  EXPECT_EQ(menus[0].hwnd, child);
  EXPECT_EQ(menus[0].wParam, reinterpret_cast<WPARAM>(child));
  EXPECT_EQ(menus[0].lParam, MAKELPARAM(20, 30));
  EXPECT_EQ(menus[1].hwnd, top);
}

TEST_F(Input, CompositionResultsBecomeCharactersUnlessTakenByTheWindow) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = CreateChild(top, {0, 0, 50, 50});
  SetFocus(edit);
  Pump();
  Log().Clear();
  InjectComposition(u"ni");
  InjectCompositionResult(u"\u4F60");
  Pump();
  EXPECT_SEQUENCE(Log().Messages(edit), WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_COMPOSITION, WM_IME_CHAR,
                  WM_IME_ENDCOMPOSITION, WM_CHAR);
  EXPECT_EQ(Of(WM_CHAR).at(0).wParam, 0x4F60u);
  // A window that takes the result itself gets no characters from it.
  String taken;
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
    if (msg != WM_IME_COMPOSITION || !(lParam & GCS_RESULTSTR)) return false;
    HIMC context = ImmGetContext(hwnd);
    LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    taken.resize(static_cast<size_t>(bytes) / 2);
    ImmGetCompositionStringW(context, GCS_RESULTSTR, taken.data(), static_cast<DWORD>(bytes));
    ImmReleaseContext(hwnd, context);
    r = 0;
    return true;
  };
  Log().Clear();
  InjectCompositionResult(u"ab");
  Pump();
  EXPECT_EQ(taken, u"ab");
  EXPECT_TRUE(Of(WM_CHAR).empty());
  // Short buffers get whole characters only; other indexes fail.
  HIMC context = ImmGetContext(edit);
  char16_t one[1];
  EXPECT_EQ(ImmGetCompositionStringW(context, GCS_RESULTSTR, one, 3), 2);
  EXPECT_LT(ImmGetCompositionStringW(context, 0x1234, nullptr, 0), 0);
  EXPECT_LT(ImmGetCompositionStringW(nullptr, GCS_RESULTSTR, nullptr, 0), 0);
  COMPOSITIONFORM form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {7, 9};
  EXPECT_TRUE(ImmSetCompositionWindow(context, &form));
  COMPOSITIONFORM back;
  ImmGetCompositionWindow(context, &back);
  EXPECT_EQ(back.ptCurrentPos, (POINT{7, 9}));
}

TEST_F(Input, TheInputMethodWorksOnlyWhileAWindowThatTakesCharactersHasTheFocus) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = CreateChild(top, {0, 0, 50, 50});
  HWND button = CreateChild(top, {50, 0, 100, 50});
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_GETDLGCODE || hwnd != edit) return false;
    r = DLGC_WANTCHARS | DLGC_WANTARROWS;
    return true;
  };
  SetFocus(edit);
  EXPECT_TRUE(Backend().TextInputEnabled());
  SetFocus(button);
  EXPECT_FALSE(Backend().TextInputEnabled());
  SetFocus(edit);
  DestroyWindow(edit);  // the focus goes with it
  EXPECT_FALSE(Backend().TextInputEnabled());
  Log().handler = nullptr;
}

TEST_F(Input, WithoutAnOpenInputContextKeysTypeThroughTheLayoutAndNothingComposes) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = CreateChild(top, {0, 0, 50, 50});
  Log().handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_GETDLGCODE || hwnd != edit) return false;
    r = DLGC_WANTCHARS;
    return true;
  };
  SetFocus(edit);
  HIMC context = ImmGetContext(edit);
  ScopeGuard restore([&] {
    ImmSetOpenStatus(context, TRUE);
    Log().handler = nullptr;
  });
  InjectComposition(u"ni");
  Pump();
  // Taking the context away from the focus window cancels its composition at once.
  EXPECT_EQ(ImmAssociateContext(edit, nullptr), context);
  EXPECT_FALSE(Backend().TextInputEnabled());
  EXPECT_EQ(ImmGetContext(edit), nullptr);
  Log().Clear();
  InjectComposition(u"ka");
  InjectCompositionResult(u"\u4F60");
  InjectKeyStroke('A');
  Pump();
  EXPECT_SEQUENCE(Log().Messages(edit), WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_KEYDOWN, WM_CHAR, WM_KEYUP);
  EXPECT_EQ(Of(WM_CHAR).at(0).wParam, WPARAM{u'a'});
  EXPECT_TRUE(ImmAssociateContextEx(edit, nullptr, IACE_DEFAULT));
  EXPECT_TRUE(Backend().TextInputEnabled());
  // A closed input method composes nothing either, until it is opened again.
  ImmSetOpenStatus(context, FALSE);
  EXPECT_FALSE(Backend().TextInputEnabled());
  Log().Clear();
  InjectComposition(u"ka");
  Pump();
  EXPECT_TRUE(Of(WM_IME_STARTCOMPOSITION).empty());
  ImmSetOpenStatus(context, TRUE);
  EXPECT_TRUE(Backend().TextInputEnabled());
  InjectComposition(u"ka");
  Pump();
  EXPECT_EQ(Of(WM_IME_STARTCOMPOSITION).size(), 1u);
  InjectComposition(u"");
  Pump();
}

TEST_F(Input, CompositionCarriesItsCursorAndTheClauseBeingConverted) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND edit = CreateChild(top, {10, 20, 60, 70});
  SetFocus(edit);
  Pump();
  Log().Clear();
  InjectComposition(u"kanji", 3, 1, 2);
  Pump();
  auto compositions = Of(WM_IME_COMPOSITION);
  ASSERT_EQ(compositions.size(), 1u);
  EXPECT_EQ(compositions[0].lParam & (GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS),
            GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
  HIMC context = ImmGetContext(edit);
  EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 3);
  BYTE attributes[8] = {};
  ASSERT_EQ(ImmGetCompositionStringW(context, GCS_COMPATTR, attributes, sizeof attributes), 5);
  EXPECT_EQ(std::vector<BYTE>(attributes, attributes + 5),
            (std::vector<BYTE>{ATTR_INPUT, ATTR_TARGET_CONVERTED, ATTR_TARGET_CONVERTED, ATTR_INPUT, ATTR_INPUT}));
  // A clause reaching past the text is cut at its end; no cursor given puts it at the end.
  InjectComposition(u"ab", -1, 1, 9);
  EXPECT_EQ(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0), 2);
  ASSERT_EQ(ImmGetCompositionStringW(context, GCS_COMPATTR, attributes, sizeof attributes), 2);
  EXPECT_EQ(attributes[1], ATTR_TARGET_CONVERTED);
  InjectCompositionResult(u"x");
  EXPECT_EQ(ImmGetCompositionStringW(context, GCS_COMPATTR, nullptr, 0), 0);
  Pump();
  // The candidate window goes where the program puts the composition: at the caret, as tall.
  CreateCaret(edit, nullptr, 1, 13);
  COMPOSITIONFORM form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {7, 9};
  ImmSetCompositionWindow(context, &form);
  EXPECT_EQ(Backend().TextInputRect(), (RECT{17, 29, 18, 42}));
  DestroyCaret();
}

TEST_F(Input, ALayoutChangeReachesEveryWindowOfTheActiveOne) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = CreateChild(top, {0, 0, 50, 50});
  HWND grandchild = CreateChild(child, {0, 0, 20, 20});
  SetActiveWindow(top);
  Pump();
  Log().Clear();
  InjectInputLanguageChange();
  Pump();
  auto changes = Of(WM_INPUTLANGCHANGE);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].hwnd, top);
  EXPECT_EQ(changes[1].hwnd, child);
  EXPECT_EQ(changes[2].hwnd, grandchild);
  EXPECT_EQ(changes[2].lParam, reinterpret_cast<LPARAM>(GetKeyboardLayout(0)));
}

}  // namespace
}  // namespace kestrel::platform::testing
