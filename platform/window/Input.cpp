// Mouse and keyboard input: routing injected events to windows, key state, characters,
// mouse-leave tracking and cursors.

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>

#include "platform/core/HandleTable.h"
#include "platform/core/ProcessWide.h"
#include "platform/window/Backend.h"
#include "platform/window/DragCursors.h"
#include "platform/window/InputInjection.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr DWORD kDoubleClickTime = 500;
constexpr int kDoubleClickSlop = 2;  // half of SM_CXDOUBLECLK / SM_CYDOUBLECLK (4)
constexpr int kHoverSlop = 2;        // half of SM_CXMOUSEHOVER / SM_CYMOUSEHOVER (4)

LPARAM PointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

bool KeyDown(const KeyStates& keys, int vk) { return (keys[static_cast<size_t>(vk)] & 0x80) != 0; }

WPARAM MouseKeyFlags() {
  WindowManager& wm = Wm();
  WPARAM flags = wm.Mouse().buttons;
  if (KeyDown(wm.AsyncKeys(), VK_SHIFT)) flags |= MK_SHIFT;
  if (KeyDown(wm.AsyncKeys(), VK_CONTROL)) flags |= MK_CONTROL;
  return flags;
}

void PostTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto w = Wm().Lookup(hwnd);
  if (!w) return;
  if (auto q = MessageQueue::ForThread(w->thread)) q->Post(detail::MakeMessage(hwnd, message, wParam, lParam));
}

void PostKeyboard(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageQueue::Current()->Post(detail::MakeMessage(detail::KeyboardTarget(), message, wParam, lParam));
}

bool IsButtonDown(UINT msg) { return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN; }

// Posts WM_MOUSELEAVE / WM_NCMOUSELEAVE when the mouse left the tracked part of the window.
void CheckLeave(HWND under, LRESULT hit) {
  MouseState& m = Wm().Mouse();
  if (!m.trackWindow || !(m.trackFlags & TME_LEAVE)) return;
  bool nonClient = (m.trackFlags & TME_NONCLIENT) != 0;
  bool inside = under == m.trackWindow && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
  if (inside) return;
  HWND h = m.trackWindow;
  m.trackWindow = nullptr;
  m.trackFlags = 0;
  PostTo(h, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

bool DetectDoubleClick(HWND target, UINT msg, LRESULT hit, POINT screen) {
  MouseState& m = Wm().Mouse();
  DWORD now = Wm().Now();
  bool isDouble = !m.lastWasDouble && m.lastClickWindow == target && m.lastClickMessage == msg &&
                  now - m.lastClickTime <= kDoubleClickTime &&
                  std::abs(screen.x - m.lastClickPoint.x) <= kDoubleClickSlop &&
                  std::abs(screen.y - m.lastClickPoint.y) <= kDoubleClickSlop;
  if (isDouble && hit == HTCLIENT) {
    auto w = Wm().Lookup(target);
    isDouble = w && w->windowClass && (w->windowClass->style & CS_DBLCLKS);
  }
  m.lastWasDouble = isDouble;
  m.lastClickWindow = target;
  m.lastClickMessage = msg;
  m.lastClickTime = now;
  m.lastClickPoint = screen;
  return isDouble;
}

// Mouse activation on a button press; false when the click is to be swallowed.
bool MouseActivate(HWND target, LRESULT hit, UINT msg) {
  HWND top = GetAncestor(target, GA_ROOT);
  auto t = Wm().Lookup(top);
  if (!t || top == Wm().Active() || t->parent != &Wm().Desktop() || (t->exStyle & WS_EX_NOACTIVATE)) return true;
  LRESULT ma = SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                            MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg)));
  if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) {
    if (auto again = Wm().Lookup(top)) detail::ActivateWindow(again.get(), WA_CLICKACTIVE, true);
  }
  return ma != MA_ACTIVATEANDEAT && ma != MA_NOACTIVATEANDEAT;
}

// Hover restarts whenever the mouse leaves the small box around where it rested.
void RestartHover(POINT screen) {
  MouseState& m = Wm().Mouse();
  if (!(m.trackFlags & TME_HOVER)) return;
  if (std::abs(screen.x - m.hoverPoint.x) > kHoverSlop || std::abs(screen.y - m.hoverPoint.y) > kHoverSlop) {
    m.hoverPoint = screen;
    m.hoverStart = Wm().Now();
  }
}

void RouteMouse(UINT msg, POINT screen, WPARAM wheelData = 0) {
  WindowManager& wm = Wm();
  wm.SetMousePosition(screen);
  RestartHover(screen);
  LRESULT realHit = HTNOWHERE;
  HWND under = detail::HitTestAt(screen, &realHit);
  CheckLeave(under, realHit);
  HWND capture = wm.Capture();
  HWND target = capture ? capture : under;
  LRESULT hit = capture ? HTCLIENT : realHit;
  if (!target) return;
  auto w = wm.Lookup(target);
  if (!w) return;
  if (!capture && !w->IsEnabled()) hit = HTERROR;
  if (msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL) {
    // The wheel goes to the focus window (or the active one).
    HWND dest = wm.Focus() ? wm.Focus() : wm.Active();
    if (dest)
      PostTo(dest, msg, MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(wheelData)),
             PointParam(screen));
    return;
  }
  if (!capture)
    SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(msg)));
  if (hit == HTERROR || hit == HTNOWHERE) return;
  if (!IsWindow(target)) return;
  if (IsButtonDown(msg)) {
    if (!MouseActivate(target, hit, msg)) return;
    if (!IsWindow(target)) return;
    if (DetectDoubleClick(target, msg, hit, screen)) msg += 2;  // …BUTTONDOWN → …BUTTONDBLCLK
  }
  if (hit == HTCLIENT) {
    POINT client = screen;
    ScreenToClient(target, &client);
    PostTo(target, msg, MouseKeyFlags(), PointParam(client));
  } else {
    PostTo(target, msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PointParam(screen));
  }
}

void SetKeyDown(KeyStates& keys, int vk, bool down) {
  auto& k = keys[static_cast<size_t>(vk & 0xFF)];
  if (down && !(k & 0x80)) k ^= 0x01;  // toggled on each new press
  k = static_cast<BYTE>(down ? (k | 0x80) : (k & ~0x80));
}

// Left/right variants of the modifiers also drive the generic key.
int GenericKey(int vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

void UpdateKeys(KeyStates& keys, int vk, bool down) {
  SetKeyDown(keys, vk, down);
  int generic = GenericKey(vk);
  if (generic != vk) {
    SetKeyDown(keys, generic, down);
  } else if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) {
    SetKeyDown(keys, vk == VK_SHIFT ? VK_LSHIFT : vk == VK_CONTROL ? VK_LCONTROL : VK_LMENU, down);
  }
}

}  // namespace

namespace detail {

HWND HitTestAt(POINT screen, LRESULT* hit) {
  HWND h = WindowFromPoint(screen);
  LRESULT code = HTNOWHERE;
  if (h) {
    auto w = Wm().Lookup(h);
    if (w && w->thread == std::this_thread::get_id()) code = SendMessageW(h, WM_NCHITTEST, 0, PointParam(screen));
    else code = HTCLIENT;
  }
  if (hit) *hit = code;
  return h;
}

int CheckHover() {
  MouseState& m = Wm().Mouse();
  if (!m.trackWindow || !(m.trackFlags & TME_HOVER)) return -1;
  LONG left = static_cast<LONG>(m.hoverStart + m.trackHoverTime - Wm().Now());
  if (left > 0) return left;
  m.trackFlags &= ~TME_HOVER;
  HWND h = m.trackWindow;
  if (!(m.trackFlags & TME_LEAVE)) m.trackWindow = nullptr;
  LRESULT hit = HTNOWHERE;
  if (HitTestAt(Wm().MousePosition(), &hit) != h) return -1;
  if (hit == HTCLIENT) {
    POINT client = Wm().MousePosition();
    ScreenToClient(h, &client);
    PostTo(h, WM_MOUSEHOVER, MouseKeyFlags(), PointParam(client));
  } else {
    PostTo(h, WM_NCMOUSEHOVER, static_cast<WPARAM>(hit), PointParam(Wm().MousePosition()));
  }
  return -1;
}

bool ResolveKeyboardTarget(MSG& msg) {
  WindowManager& wm = Wm();
  HWND focus = wm.Focus();
  msg.hwnd = focus ? focus : wm.Active();
  if (!msg.hwnd) return false;
  if (!focus) {
    // Without a focus window the active window gets keys as system keys.
    if (msg.message == WM_KEYDOWN) msg.message = WM_SYSKEYDOWN;
    if (msg.message == WM_KEYUP) msg.message = WM_SYSKEYUP;
  }
  return true;
}

void UpdateKeyStateFromMessage(const MSG& msg) {
  // Key states follow the GUI thread's input; a worker's messages leave them alone.
  if (!Wm().OnGuiThread()) return;
  auto& keys = Wm().Keys();
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: UpdateKeys(keys, static_cast<int>(msg.wParam), true); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: UpdateKeys(keys, static_cast<int>(msg.wParam), false); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: SetKeyDown(keys, VK_LBUTTON, true); break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: SetKeyDown(keys, VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: SetKeyDown(keys, VK_RBUTTON, true); break;
    case WM_RBUTTONUP: SetKeyDown(keys, VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: SetKeyDown(keys, VK_MBUTTON, true); break;
    case WM_MBUTTONUP: SetKeyDown(keys, VK_MBUTTON, false); break;
    default: break;
  }
}

}  // namespace detail

void InjectMouseMove(POINT screen) { RouteMouse(WM_MOUSEMOVE, screen); }

void InjectMouseButton(MouseButton button, bool down, POINT screen) {
  WindowManager& wm = Wm();
  WPARAM flag = button == MouseButton::Left ? MK_LBUTTON : button == MouseButton::Right ? MK_RBUTTON : MK_MBUTTON;
  int vk = button == MouseButton::Left ? VK_LBUTTON : button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
  UINT base = button == MouseButton::Left    ? WM_LBUTTONDOWN
              : button == MouseButton::Right ? WM_RBUTTONDOWN
                                             : WM_MBUTTONDOWN;
  if (down) wm.Mouse().buttons |= flag;
  else wm.Mouse().buttons &= ~flag;
  SetKeyDown(wm.AsyncKeys(), vk, down);
  RouteMouse(down ? base : base + 1, screen);
}

void InjectMouseWheel(int delta, POINT screen, bool horizontal) {
  RouteMouse(horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL, screen, static_cast<WPARAM>(static_cast<WORD>(delta)));
}

void InjectKey(int virtualKey, bool down, UINT scanCode, bool extended) {
  WindowManager& wm = Wm();
  virtualKey &= 0xFF;
  KeyStates& keys = wm.AsyncKeys();
  bool wasDown = KeyDown(keys, virtualKey);
  UpdateKeys(keys, virtualKey, down);
  bool alt = KeyDown(keys, VK_MENU);
  bool ctrl = KeyDown(keys, VK_CONTROL);
  bool sys = (alt && !ctrl) || virtualKey == VK_F10 || (virtualKey == VK_MENU && !ctrl);
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
  if (extended) lParam |= LPARAM{1} << 24;
  if (alt) lParam |= LPARAM{1} << 29;
  if (down && wasDown) lParam |= LPARAM{1} << 30;
  if (!down) lParam |= (LPARAM{1} << 30) | (static_cast<LPARAM>(1u) << 31);
  PostKeyboard(msg, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(static_cast<DWORD>(lParam)));
}

void InjectText(const String& text) {
  for (char16_t c : text) PostKeyboard(WM_CHAR, c, 1);
}

void InjectClick(POINT screen, MouseButton button) {
  InjectMouseMove(screen);
  InjectMouseButton(button, true, screen);
  InjectMouseButton(button, false, screen);
}

void InjectKeyStroke(int virtualKey) {
  InjectKey(virtualKey, true);
  InjectKey(virtualKey, false);
}

SHORT GetKeyState(int virtualKey) {
  BYTE k = Wm().Keys()[static_cast<size_t>(virtualKey & 0xFF)];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
  BYTE k = Wm().AsyncKeys()[static_cast<size_t>(virtualKey & 0xFF)];
  return static_cast<SHORT>((k & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* keyState) {
  if (!keyState) return FALSE;
  const KeyStates& keys = Wm().Keys();
  std::copy(keys.begin(), keys.end(), keyState);
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = Wm().MousePosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  Wm().SetMousePosition({x, y});
  return TRUE;
}

UINT GetDoubleClickTime() { return kDoubleClickTime; }

int ToUnicode(UINT virtualKey, UINT, const BYTE* keyState, LPWSTR buffer, int bufferSize, UINT flags) {
  if (!keyState || !buffer || bufferSize <= 0) return 0;
  KeyboardLayout::Key key = KeyboardLayout::Translate(virtualKey, keyState);
  // Keys without a character (shift, arrows) leave a pending dead key waiting.
  if (!key.ch) return 0;
  // Where the native input method delivers the text (and composes accents), keys only make
  // control characters, so that no character arrives twice.
  if (key.ch >= 0x20 && key.ch != 0x7F && Wm().HasBackend() && Wm().GetBackend().ProvidesText()) return 0;
  return KeyboardLayout::Compose(key, buffer, bufferSize, !(flags & kToUnicodeNoStateChange));
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
    return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
  }
  WCHAR chars[4];
  int n = ToUnicode(static_cast<UINT>(msg->wParam), HIWORD(static_cast<DWORD_PTR>(msg->lParam)) & 0xFF,
                    Wm().Keys().data(), chars, 4, 0);
  auto w = Wm().Lookup(msg->hwnd);
  auto q = w ? MessageQueue::ForThread(w->thread) : nullptr;
  if (!q) return TRUE;
  bool sys = msg->message == WM_SYSKEYDOWN;
  UINT charMsg = n < 0 ? (sys ? WM_SYSDEADCHAR : WM_DEADCHAR) : (sys ? WM_SYSCHAR : WM_CHAR);
  for (int i = (n < 0 ? 1 : n) - 1; i >= 0; --i) {
    MSG m = *msg;
    m.message = charMsg;
    m.wParam = chars[i];
    q->PostFront(m);
  }
  return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MouseState& m = Wm().Mouse();
  if (track->dwFlags & TME_QUERY) {
    track->dwFlags = m.trackFlags;
    track->hwndTrack = m.trackWindow;
    track->dwHoverTime = m.trackHoverTime;
    return TRUE;
  }
  auto tracked = ValidWindow(track->hwndTrack);
  if (!tracked) return FALSE;
  if (!Wm().HoldsInput(*tracked)) {
    SetLastError(ERROR_ACCESS_DENIED);  // only the GUI thread's windows see the mouse move
    return FALSE;
  }
  if (track->dwFlags & TME_CANCEL) {
    if (m.trackWindow == track->hwndTrack) {
      m.trackFlags &= ~(track->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT));
      if (!(m.trackFlags & (TME_LEAVE | TME_HOVER))) m.trackWindow = nullptr;
    }
    return TRUE;
  }
  m.trackWindow = track->hwndTrack;
  m.trackFlags = track->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT);
  m.trackHoverTime = track->dwHoverTime == HOVER_DEFAULT ? 400 : track->dwHoverTime;
  m.hoverStart = Wm().Now();
  m.hoverPoint = Wm().MousePosition();
  // Asking to track a window the mouse is not over reports the leave at once.
  LRESULT hit = HTNOWHERE;
  HWND under = detail::HitTestAt(Wm().MousePosition(), &hit);
  CheckLeave(under, hit);
  return TRUE;
}

namespace {

struct SystemCursor {
  WORD shape;
};

// The system cursors are shared handles, loaded once and never destroyed: kept by a reset.
using CursorHandles = HandleTable<SystemCursor>;
constinit ProcessWide<CursorHandles> gCursors(ProcessWideOptions<CursorHandles>{
    .make = &MakeHandleTable<SystemCursor, HandleTag::Icon>, .keptByReset = true});

CursorHandles& CursorTable() { return *gCursors; }

}  // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  if (instance || !name || !IS_INTRESOURCE(name)) return nullptr;  // only the system cursors exist
  auto shape = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
  static const WORD known[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                               32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};
  const bool dragShape = shape == kDragCursorShape || shape == kMultiDragCursorShape;
  if (!dragShape && std::find(std::begin(known), std::end(known), shape) == std::end(known)) return nullptr;
  static std::mutex mutex;
  static std::map<WORD, HCURSOR> loaded;
  std::lock_guard lock(mutex);
  auto& h = loaded[shape];
  if (!h) h = reinterpret_cast<HCURSOR>(CursorTable().Insert(std::make_shared<SystemCursor>(SystemCursor{shape})));
  return h;
}

WORD CursorShapeOf(HCURSOR cursor) {
  auto c = CursorTable().Lookup(reinterpret_cast<std::uintptr_t>(cursor));
  return c ? c->shape : 0;
}

HCURSOR SetCursor(HCURSOR cursor) {
  WindowManager& wm = Wm();
  HCURSOR previous = wm.Cursor();
  if (cursor != previous) {
    wm.AssignCursor(cursor);
    wm.GetBackend().SetCursorShape(CursorShapeOf(cursor));
  }
  return previous;
}

HCURSOR GetCursor() { return Wm().Cursor(); }

}  // namespace kestrel::platform
