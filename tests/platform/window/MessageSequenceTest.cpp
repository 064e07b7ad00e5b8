// Exact message sequences for the window life cycle, in the manner of the classic conformance
// suites: every message the test windows receive is recorded (minus hit-tests and cursor
// queries) and compared in order.

#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class MessageSequence : public WindowTest {};

TEST_F(MessageSequence, CreateHiddenTopLevelAndVisibleChild) {
  HWND top = CreateTop();
  ASSERT_TRUE(top);
  EXPECT_SEQUENCE(Log().Messages(), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE);
  Log().Clear();

  HWND child = CreateChild(top, {10, 10, 60, 40}, WS_CHILD | WS_VISIBLE, 7);
  EXPECT_SEQUENCE(Log().Messages(), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_PARENTNOTIFY,
                  WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED);
  // The parent is told which child arrived, with the child's id.
  auto& notify = Log().entries[5];
  EXPECT_EQ(notify.hwnd, top);
  EXPECT_EQ(notify.wParam, MAKEWPARAM(WM_CREATE, 7));
  EXPECT_EQ(notify.lParam, reinterpret_cast<LPARAM>(child));
}

TEST_F(MessageSequence, CreateFailsWhenNcCreateOrCreateRefuses) {
  Log().handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_NCCREATE) return false;
    r = FALSE;
    return true;
  };
  EXPECT_EQ(CreateTop(), nullptr);
  EXPECT_SEQUENCE(Log().Messages(), WM_NCCREATE, WM_NCDESTROY);
  Log().Clear();
  Log().handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_CREATE) return false;
    r = -1;
    return true;
  };
  HWND before = GetTopWindow(nullptr);
  EXPECT_EQ(CreateTop(), nullptr);
  EXPECT_SEQUENCE(Log().Messages(), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY);
  EXPECT_EQ(GetTopWindow(nullptr), before);  // nothing half-made stays in the tree
}

TEST_F(MessageSequence, ShowActivatesAndPaintsLater) {
  HWND top = CreateTop();
  Log().Clear();
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));
  // The first window to become active makes the application active.
  EXPECT_SEQUENCE(Log().Messages(), WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                  WM_SETFOCUS, WM_WINDOWPOSCHANGED);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  Log().Clear();
  Pump();
  EXPECT_SEQUENCE(Log().Messages(), WM_PAINT, WM_NCPAINT, WM_ERASEBKGND);
  Log().Clear();
  // Showing again changes nothing but still asks the window.
  EXPECT_TRUE(ShowWindow(top, SW_SHOW));
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING);
}

TEST_F(MessageSequence, ApplicationActivationGoesToAllItsTopLevelWindows) {
  HWND hidden = CreateTop(WS_OVERLAPPEDWINDOW);
  HWND a = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  CreateChild(b, {0, 0, 10, 10});
  auto appMessages = [&] {
    std::vector<WPARAM> out;
    for (auto& e : Log().entries)
      if (e.msg == WM_ACTIVATEAPP) out.push_back(e.wParam);
    return out;
  };
  Log().Clear();
  SetActiveWindow(a);
  EXPECT_TRUE(appMessages().empty());  // between windows of the application
  // Deactivated after the window's own deactivation, at every top-level window (hidden ones
  // too, children not); activated before the window's own activation.
  Log().Clear();
  SetActiveWindow(nullptr);
  EXPECT_SEQUENCE(Log().Messages(a), WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS);
  EXPECT_SEQUENCE(Log().Messages(hidden), WM_ACTIVATEAPP);
  EXPECT_EQ(appMessages(), (std::vector<WPARAM>{FALSE, FALSE, FALSE}));
  Log().Clear();
  SetActiveWindow(b);
  EXPECT_SEQUENCE(Log().Messages(b), WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE,
                  WM_ACTIVATE, WM_SETFOCUS);
  EXPECT_EQ(appMessages(), (std::vector<WPARAM>{TRUE, TRUE, TRUE}));
}

TEST_F(MessageSequence, HideMovesActivationAndFocus) {
  HWND a = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND b = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_EQ(GetActiveWindow(), b);
  Log().Clear();
  ShowWindow(b, SW_HIDE);
  EXPECT_SEQUENCE(Log().Messages(b), WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                  WM_ACTIVATE, WM_KILLFOCUS);
  // The next window comes to the top of the z-order as it is activated.
  EXPECT_SEQUENCE(Log().Messages(a), WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE,
                  WM_SETFOCUS);
  EXPECT_EQ(GetTopWindow(nullptr), a);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_FALSE(IsWindowVisible(b));
}

TEST_F(MessageSequence, MoveAndSize) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {10, 10, 60, 40});
  Log().Clear();
  SetWindowPos(child, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE);
  EXPECT_EQ(Log().entries.back().lParam, MAKELPARAM(20, 30));
  Log().Clear();
  // Without SWP_NOACTIVATE a child window hears of its activation.
  SetWindowPos(child, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_CHILDACTIVATE, WM_WINDOWPOSCHANGED,
                  WM_SIZE);
  EXPECT_EQ(Log().entries.back().lParam, MAKELPARAM(100, 80));
  Log().Clear();
  SetWindowPos(child, nullptr, 0, 0, 90, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE);
  Log().Clear();
  MoveWindow(child, 5, 6, 50, 40, TRUE);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE);
  Log().Clear();
  // Asking for the current place and size sends only the question.
  MoveWindow(child, 5, 6, 50, 40, TRUE);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING);
}

TEST_F(MessageSequence, PositionChangingCanRewriteTheRequest) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 50, 50});
  Log().handler = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 33;
    return false;
  };
  SetWindowPos(child, nullptr, 0, 0, 80, 80, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 33);
  EXPECT_EQ(r.bottom, 80);
}

TEST_F(MessageSequence, FocusChangesBetweenChildren) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND a = CreateChild(top, {0, 0, 20, 20});
  HWND b = CreateChild(top, {30, 0, 50, 20});
  SetFocus(a);
  Log().Clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(Log().entries.size(), 2u);
  EXPECT_EQ(Log().entries[0].hwnd, a);
  EXPECT_EQ(Log().entries[0].msg, WM_KILLFOCUS);
  EXPECT_EQ(Log().entries[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(Log().entries[1].hwnd, b);
  EXPECT_EQ(Log().entries[1].msg, WM_SETFOCUS);
  EXPECT_EQ(Log().entries[1].wParam, reinterpret_cast<WPARAM>(a));
  Log().Clear();
  // Disabled windows refuse the focus; disabling the focus window takes it away.
  EnableWindow(a, FALSE);
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(GetFocus(), b);
  Log().Clear();
  EnableWindow(b, FALSE);
  EXPECT_SEQUENCE(Log().Messages(b), WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(MessageSequence, ClickOnInactiveWindowActivatesThenDelivers) {
  HWND other = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND child = CreateChild(top, {10, 10, 110, 60});
  SetActiveWindow(other);
  Pump();
  Log().Clear();
  POINT p{20, 20};
  ClientToScreen(child, &p);
  InjectClick(p);
  Pump();
  EXPECT_SEQUENCE(Log().Messages(child), WM_MOUSEACTIVATE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_SEQUENCE(Log().Messages(top), WM_MOUSEACTIVATE, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                  WM_ACTIVATE, WM_SETFOCUS);
  EXPECT_EQ(GetActiveWindow(), top);
  // The button message carries client coordinates and the button state.
  for (auto& e : Log().entries)
    if (e.msg == WM_LBUTTONDOWN) {
      EXPECT_EQ(e.lParam, MAKELPARAM(20, 20));
      EXPECT_EQ(e.wParam, MK_LBUTTON);
    }
}

TEST_F(MessageSequence, MouseActivateCanSwallowTheClick) {
  HWND other = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  SetActiveWindow(other);
  Log().handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_MOUSEACTIVATE) return false;
    r = MA_NOACTIVATEANDEAT;
    return true;
  };
  Pump();
  Log().Clear();
  POINT p{10, 10};
  ClientToScreen(top, &p);
  InjectMouseButton(MouseButton::Left, true, p);
  Pump();
  EXPECT_SEQUENCE(Log().Messages(top), WM_MOUSEACTIVATE);
  EXPECT_EQ(GetActiveWindow(), other);
  InjectMouseButton(MouseButton::Left, false, p);
}

TEST_F(MessageSequence, CaptureChanges) {
  HWND top = CreateTop();
  HWND a = CreateChild(top, {0, 0, 10, 10});
  HWND b = CreateChild(top, {20, 0, 30, 10});
  Log().Clear();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_TRUE(ReleaseCapture());
  ASSERT_EQ(Log().entries.size(), 2u);
  EXPECT_EQ(Log().entries[0].hwnd, a);
  EXPECT_EQ(Log().entries[0].msg, WM_CAPTURECHANGED);
  EXPECT_EQ(Log().entries[0].lParam, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(Log().entries[1].hwnd, b);
  EXPECT_EQ(Log().entries[1].lParam, 0);
  // WM_CANCELMODE's default releases the capture.
  SetCapture(a);
  SendMessageW(a, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MessageSequence, DestroyOrder) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 10, 10});
  HWND grandchild = CreateChild(child, {0, 0, 5, 5});
  Log().Clear();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> got;
  for (auto& e : Log().entries) got.emplace_back(e.hwnd, e.msg);
  std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY},        {child, WM_DESTROY},
                                              {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
                                              {child, WM_NCDESTROY},    {top, WM_NCDESTROY}};
  EXPECT_EQ(got, expected);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_FALSE(Backend().NativeWindows().count(top));  // the native window went with it
  // Dead handles fail like Windows: no crash, an error code.
  SetLastError(0);
  EXPECT_FALSE(DestroyWindow(child));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(SendMessageW(child, WM_USER, 0, 0), 0);
}

TEST_F(MessageSequence, DestroyVisibleChildNotifiesParentAndHides) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateChild(top, {0, 0, 10, 10});
  SetFocus(child);
  Log().Clear();
  DestroyWindow(child);
  EXPECT_SEQUENCE(Log().Messages(child), WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_KILLFOCUS, WM_DESTROY,
                  WM_NCDESTROY);
  EXPECT_SEQUENCE(Log().Messages(top), WM_PARENTNOTIFY, WM_SETFOCUS);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(MessageSequence, OwnedWindowsGoFirst) {
  HWND owner = CreateTop();
  HWND owned = CreateWindowExW(0, RecorderClass(), u"Owned", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);  // popups report their owner as parent
  Log().Clear();
  DestroyWindow(owner);
  EXPECT_SEQUENCE(Log().Messages(), WM_DESTROY, WM_NCDESTROY, WM_DESTROY, WM_NCDESTROY);
  EXPECT_EQ(Log().entries[0].hwnd, owned);
}

TEST_F(MessageSequence, StyleChangeAndFrameRecalculation) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 100, 100});
  Log().Clear();
  LONG style = GetWindowLongW(child, GWL_STYLE);
  EXPECT_EQ(SetWindowLongW(child, GWL_STYLE, style | WS_VSCROLL | WS_BORDER), style);
  EXPECT_SEQUENCE(Log().Messages(), WM_STYLECHANGING, WM_STYLECHANGED);
  EXPECT_EQ(Log().entries[0].wParam, static_cast<WPARAM>(GWL_STYLE));
  RECT r;
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 100);  // the frame waits for SWP_FRAMECHANGED
  Log().Clear();
  SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  EXPECT_SEQUENCE(Log().Messages(), WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE);
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 100 - 2 - 17);
  EXPECT_EQ(r.bottom, 100 - 2);
  // A STYLECHANGING handler can veto bits.
  Log().handler = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (msg == WM_STYLECHANGING) reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew &= ~WS_HSCROLL;
    return false;
  };
  SetWindowLongW(child, GWL_STYLE, GetWindowLongW(child, GWL_STYLE) | WS_HSCROLL);
  EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(MessageSequence, FrameInvalidationPaintsNonClientOnly) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Pump();
  Log().Clear();
  RedrawWindow(top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  Pump();
  EXPECT_SEQUENCE(Log().Messages(), WM_PAINT, WM_NCPAINT);
  Log().Clear();
  InvalidateRect(top, nullptr, TRUE);
  UpdateWindow(top);
  EXPECT_SEQUENCE(Log().Messages(), WM_PAINT, WM_ERASEBKGND);
}

TEST_F(MessageSequence, MaximizeMinimizeAndRestore) {
  HWND other = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  Pump();
  Log().Clear();
  ShowWindow(top, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(top));
  EXPECT_TRUE(GetWindowLongW(top, GWL_STYLE) & WS_MAXIMIZE);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{-4, -4, 1024 + 4, 768 + 4}));  // the frame lies just off the screen
  auto sizes = [&] {
    std::vector<WPARAM> kinds;
    for (auto& e : Log().entries)
      if (e.hwnd == top && e.msg == WM_SIZE) kinds.push_back(e.wParam);
    return kinds;
  };
  EXPECT_EQ(sizes(), (std::vector<WPARAM>{SIZE_MAXIMIZED}));
  Log().Clear();
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(top));
  EXPECT_FALSE(IsZoomed(top));
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, -32000);
  EXPECT_EQ(sizes(), (std::vector<WPARAM>{SIZE_MINIMIZED}));
  EXPECT_EQ(GetActiveWindow(), other);  // SW_MINIMIZE passes activation on
  // Restoring a window minimised from maximised maximises it again; then it returns to normal.
  ShowWindow(top, SW_RESTORE);
  EXPECT_TRUE(IsZoomed(top));
  ShowWindow(top, SW_RESTORE);
  GetWindowRect(top, &r);
  EXPECT_EQ(r, (RECT{100, 100, 400, 300}));
  EXPECT_FALSE(GetWindowLongW(top, GWL_STYLE) & (WS_MAXIMIZE | WS_MINIMIZE));
  // A double click on the caption maximises.
  SetActiveWindow(top);
  InjectClick({200, 112});
  InjectClick({200, 112});
  Pump();
  EXPECT_TRUE(IsZoomed(top));
}

TEST_F(MessageSequence, SetTextAndGetText) {
  HWND top = CreateTop();
  Log().Clear();
  EXPECT_TRUE(SetWindowTextW(top, u"Hello"));
  EXPECT_SEQUENCE(Log().Messages(), WM_SETTEXT);
  WCHAR buffer[4];
  EXPECT_EQ(GetWindowTextW(top, buffer, 4), 3);
  EXPECT_EQ(String(buffer), u"Hel");
  EXPECT_EQ(GetWindowTextLengthW(top), 5);
  EXPECT_EQ(Backend().NativeWindows().at(top).title, u"Hello");
}

}  // namespace
}  // namespace kestrel::platform::testing
