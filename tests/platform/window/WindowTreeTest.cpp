// Classes, the window tree and per-window data: registration rules, parents, owners, z-order,
// enumeration, window longs and subclassing, extra bytes, properties, registered messages.

#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class WindowTree : public WindowTest {};

LRESULT Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

TEST_F(WindowTree, ClassRegistrationRules) {
  WNDCLASSEXW wc;
  wc.style = CS_DBLCLKS | CS_HREDRAW;
  wc.lpfnWndProc = Plain;
  wc.cbClsExtra = 8;
  wc.cbWndExtra = 4;
  wc.lpszClassName = u"KestrelTreeClass";
  ATOM atom = RegisterClassExW(&wc);
  ASSERT_NE(atom, 0);
  // Names compare without regard to case; a second registration fails.
  wc.lpszClassName = u"kestreltreeCLASS";
  SetLastError(0);
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  WNDCLASSEXW info;
  ASSERT_TRUE(GetClassInfoExW(nullptr, MAKEINTRESOURCEW(atom), &info));
  EXPECT_EQ(info.style, CS_DBLCLKS | CS_HREDRAW);
  EXPECT_EQ(info.cbClsExtra, 8);
  EXPECT_EQ(info.lpfnWndProc, &Plain);
  // A class with windows cannot go; afterwards it can.
  HWND w = CreateWindowExW(0, u"KESTRELTREECLASS", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  WCHAR name[64];
  EXPECT_EQ(GetClassNameW(w, name, 64), 16);
  EXPECT_EQ(String(name), u"KestrelTreeClass");
  EXPECT_EQ(GetClassLongPtrW(w, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW);
  SetClassLongPtrW(w, 0, 0x1234);
  EXPECT_EQ(GetClassLongPtrW(w, 0), 0x1234u);
  EXPECT_EQ(GetClassLongPtrW(w, 4), 0u);  // past the class bytes: refused
  EXPECT_FALSE(UnregisterClassW(u"KestrelTreeClass", nullptr));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassW(u"KestrelTreeClass", nullptr));
  EXPECT_FALSE(GetClassInfoExW(nullptr, u"KestrelTreeClass", &info));
  // Unknown classes and bad arguments fail cleanly.
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(RegisterClassExW(nullptr), 0);
  WNDCLASSEXW unnamed;
  EXPECT_EQ(RegisterClassExW(&unnamed), 0);
  EXPECT_EQ(CreateWindowExW(0, RecorderClass(), u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(WindowTree, ParentsOwnersAndAncestors) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 10, 10});
  HWND grandchild = CreateChild(child, {0, 0, 5, 5});
  HWND popup = CreateWindowExW(0, RecorderClass(), u"", WS_POPUP, 0, 0, 10, 10, grandchild, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(grandchild), child);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetAncestor(grandchild, GA_PARENT), child);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  // The owner of a popup is the top-level window of the window given as parent.
  EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
  EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), top);
  EXPECT_TRUE(IsChild(top, grandchild));
  EXPECT_FALSE(IsChild(top, popup));
  EXPECT_FALSE(IsChild(grandchild, top));
  // Reparenting moves the subtree and keeps coordinates relative to the new parent.
  HWND other = CreateTop(WS_OVERLAPPEDWINDOW, {300, 300, 500, 500});
  MoveWindow(child, 7, 8, 10, 10, FALSE);
  EXPECT_EQ(SetParent(child, other), top);
  EXPECT_EQ(GetParent(child), other);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), other);
  POINT p{0, 0};
  MapWindowPoints(child, other, &p, 1);
  EXPECT_EQ(p, (POINT{7, 8}));
  // A window cannot become its own descendant.
  EXPECT_EQ(SetParent(other, grandchild), nullptr);
  EXPECT_EQ(GetParent(child), other);
}

TEST_F(WindowTree, ZOrderAndEnumeration) {
  HWND top = CreateTop();
  HWND a = CreateChild(top, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 1);
  HWND b = CreateChild(top, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 2);
  HWND c = CreateChild(top, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 3);
  // Child windows join at the bottom, so creation order is z-order (and tab order).
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  SetWindowPos(b, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // b goes below c
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  EXPECT_EQ(GetDlgItem(top, 2), b);
  EXPECT_EQ(GetDlgCtrlID(c), 3);
  HWND nested = CreateChild(a, {0, 0, 5, 5});
  std::vector<HWND> seen;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{c, b, a, nested}));
  // The callback may destroy windows while enumerating.
  int visited = 0;
  struct Ctx {
    int* visited;
    HWND victim;
  } ctx{&visited, nested};
  EnumChildWindows(
      top,
      [](HWND h, LPARAM p) {
        auto* x = reinterpret_cast<Ctx*>(p);
        ++*x->visited;
        if (h != x->victim) DestroyWindow(x->victim);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  EXPECT_EQ(visited, 3);
  EXPECT_FALSE(IsWindow(nested));
  EXPECT_EQ(FindWindowExW(top, nullptr, RecorderClass(), u"Child"), c);
  EXPECT_EQ(FindWindowExW(top, c, RecorderClass(), nullptr), b);
}

int subclassCalls = 0;
WNDPROC previousProc = nullptr;
LRESULT Subclass(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) ++subclassCalls;
  return CallWindowProcW(previousProc, h, m, w, l);
}

TEST_F(WindowTree, WindowLongsSubclassingAndExtraBytes) {
  subclassCalls = 0;
  HWND top = CreateTop();
  previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  EXPECT_EQ(previousProc, &CALLBACK_Recorder);
  Log().Clear();
  SendMessageW(top, WM_USER, 0, 0);
  EXPECT_EQ(subclassCalls, 1);
  EXPECT_SEQUENCE(Log().Messages(), WM_USER);  // the original still runs
  SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
  EXPECT_EQ(SetWindowLongPtrW(top, GWLP_USERDATA, 77), 0);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), 77);
  // Sixteen extra bytes: a pointer at 0 and 8, a LONG at 12, nothing at 16.
  LONG_PTR big = static_cast<LONG_PTR>(0x1122334455667788LL);
  SetWindowLongPtrW(top, 0, big);
  EXPECT_EQ(GetWindowLongPtrW(top, 0), big);
  SetWindowLongW(top, 12, -5);
  EXPECT_EQ(GetWindowLongW(top, 12), -5);
  SetLastError(0);
  EXPECT_EQ(SetWindowLongPtrW(top, 16, 1), 0);
  EXPECT_EQ(GetLastError(), 1413u);
  EXPECT_EQ(GetWindowLongPtrW(top, -100), 0);
  EXPECT_EQ(GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_WINDOWEDGE, static_cast<LONG>(WS_EX_WINDOWEDGE));
}

TEST_F(WindowTree, PropertiesAndRegisteredMessages) {
  HWND top = CreateTop();
  int value = 0;
  EXPECT_TRUE(SetPropW(top, u"Kestrel.Object", &value));
  EXPECT_EQ(GetPropW(top, u"kestrel.object"), &value);
  EXPECT_TRUE(SetPropW(top, MAKEINTRESOURCEW(0xC123), &value));
  EXPECT_EQ(GetPropW(top, MAKEINTRESOURCEW(0xC123)), &value);
  EXPECT_EQ(RemovePropW(top, u"KESTREL.OBJECT"), &value);
  EXPECT_EQ(GetPropW(top, u"Kestrel.Object"), nullptr);
  EXPECT_EQ(RemovePropW(top, u"Kestrel.Object"), nullptr);
  UINT m1 = RegisterWindowMessageW(u"Kestrel.Wake");
  EXPECT_GE(m1, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageW(u"KESTREL.WAKE"), m1);
  EXPECT_NE(RegisterWindowMessageW(u"Kestrel.Other"), m1);
  EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
  DestroyWindow(top);
  EXPECT_EQ(GetPropW(top, u"x"), nullptr);
}

TEST_F(WindowTree, RectanglesAndCoordinateMapping) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW, {100, 50, 400, 350});
  RECT wr, cr;
  GetWindowRect(top, &wr);
  EXPECT_EQ(wr, (RECT{100, 50, 400, 350}));
  GetClientRect(top, &cr);
  EXPECT_EQ(cr, (RECT{0, 0, 300 - 8, 300 - 8 - 19}));
  HWND child = CreateChild(top, {10, 20, 60, 70}, WS_CHILD | WS_VISIBLE | WS_BORDER);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p, (POINT{100 + 4 + 10 + 1, 50 + 4 + 19 + 20 + 1}));
  ScreenToClient(child, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  POINT q[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(child, nullptr, q, 2);
  EXPECT_EQ(q[1], (POINT{100 + 4 + 10 + 1 + 5, 50 + 4 + 19 + 20 + 1 + 5}));
  EXPECT_EQ(WindowFromPoint({120, 100}), nullptr);  // hidden windows are not found
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(WindowFromPoint({120, 100}), child);
  EXPECT_EQ(WindowFromPoint({110, 60}), top);
  EXPECT_EQ(WindowFromPoint({10, 10}), nullptr);
}

TEST_F(WindowTree, MessageOnlyWindowsAreNeverShownOrFound) {
  HWND msgOnly = CreateWindowExW(0, RecorderClass(), u"", 0, 0, 0, 100, 100, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(msgOnly);
  EXPECT_EQ(GetAncestor(msgOnly, GA_PARENT) == GetDesktopWindow(), false);
  EXPECT_EQ(SetActiveWindow(msgOnly), nullptr);
  PostMessageW(msgOnly, WM_USER, 0, 0);
  Log().Clear();
  Pump();
  EXPECT_SEQUENCE(Log().Messages(), WM_USER);
  EXPECT_FALSE(Backend().NativeWindows().count(msgOnly));
}

}  // namespace
}  // namespace kestrel::platform::testing
