// Activation, keyboard focus and mouse capture.

#include <optional>
#include <vector>

#include "platform/window/AccessEvents.h"
#include "platform/window/Caret.h"
#include "platform/window/Ime.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  auto w = Wm().Lookup(hwnd);
  return w ? CallWindow(*w, msg, wParam, lParam) : 0;
}

// True when `window` may hold input state; false, with ERROR_ACCESS_DENIED, for another
// thread's window.
bool MayHoldInput(const Window& window) {
  if (Wm().HoldsInput(window)) return true;
  SetLastError(ERROR_ACCESS_DENIED);
  return false;
}

WPARAM ActivateParam(WORD how, HWND hwnd) { return MAKEWPARAM(how, static_cast<WORD>(IsIconic(hwnd) ? 1 : 0)); }

DWORD ThreadIdOf(const std::optional<std::thread::id>& thread) { return thread ? MessageQueue::IdOf(*thread) : 0; }

// WM_ACTIVATEAPP to every top-level window of `thread`; lParam names the other thread.
void SendActivateApp(std::thread::id thread, bool active, DWORD otherThread) {
  std::vector<HWND> tops;
  for (auto& top : Wm().Desktop().children)
    if (top->thread == thread && !top->destroying) tops.push_back(top->handle);
  // Another thread's windows are asked too; one that hangs must not hang activation here.
  for (HWND h : tops)
    SendMessageTimeoutW(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, static_cast<LPARAM>(otherThread), SMTO_ABORTIFHUNG,
                        1000, nullptr);
}

// The active application is the thread of the active window; none once nothing is active.
void LeaveActiveApp(const std::optional<std::thread::id>& next) {
  WindowManager& wm = Wm();
  auto leaving = wm.ActiveApp();
  if (!leaving || leaving == next) return;
  wm.AssignActiveApp(std::nullopt);
  SendActivateApp(*leaving, false, ThreadIdOf(next));
}

void EnterActiveApp(std::thread::id thread, const std::optional<std::thread::id>& previous) {
  WindowManager& wm = Wm();
  if (wm.ActiveApp() == thread) return;
  wm.AssignActiveApp(thread);
  SendActivateApp(thread, true, ThreadIdOf(previous));
}

}  // namespace

namespace detail {

void SetFocusWindow(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.Focus();
  if (previous == hwnd) return;
  wm.AssignFocus(hwnd);
  if (previous) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd));
  if (wm.Focus() != hwnd) return;  // changed again meanwhile
  if (hwnd) Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous));
  if (wm.Focus() != hwnd) return;
  FollowFocusWithTextInput(hwnd);
  if (hwnd) NotifyAccessEvent(AccessEvent::Focus, hwnd);
}

bool ActivateWindow(Window* top, WORD how, bool setFocus) {
  WindowManager& wm = Wm();
  if (top && !wm.HoldsInput(*top)) return false;  // another thread's window, or asked from one
  HWND hwnd = top ? top->handle : nullptr;
  HWND previous = wm.Active();
  std::optional<std::thread::id> app;
  if (top) app = top->thread;
  if (hwnd == previous) {
    if (!hwnd) LeaveActiveApp(std::nullopt);
    return true;
  }
  auto previousApp = wm.ActiveApp();
  if (previous && IsWindow(previous)) {
    Send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
    Send(previous, WM_ACTIVATE, ActivateParam(WA_INACTIVE, previous), reinterpret_cast<LPARAM>(hwnd));
    NotifyAccessEvent(AccessEvent::Deactivate, previous);
  }
  LeaveActiveApp(app);
  if (hwnd && !IsWindow(hwnd)) return false;
  wm.AssignActive(hwnd);
  if (hwnd) {
    if (GetWindow(hwnd, GW_HWNDFIRST) != hwnd)
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnterActiveApp(*app, previousApp);
    Send(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
    Send(hwnd, WM_ACTIVATE, ActivateParam(how, hwnd), reinterpret_cast<LPARAM>(previous));
    if (wm.Active() == hwnd) NotifyAccessEvent(AccessEvent::Activate, hwnd);
  }
  if (setFocus && wm.Active() == hwnd) {
    HWND focus = wm.Focus();
    if (!hwnd || !focus || GetAncestor(focus, GA_ROOT) != hwnd) SetFocusWindow(hwnd);
  }
  return wm.Active() == hwnd;
}

void ActivateOtherWindow(Window& leaving) {
  auto candidate = [&](HWND h) {
    auto w = Wm().Lookup(h);
    return w && w.get() != &leaving && Wm().HoldsInput(*w) && w->IsTopLevel() && w->IsVisible() && w->IsEnabled() &&
           !(w->exStyle & WS_EX_NOACTIVATE);
  };
  HWND next = nullptr;
  if (candidate(leaving.owner)) {
    next = leaving.owner;
  } else {
    for (auto& top : Wm().Desktop().children)
      if (candidate(top->handle)) {
        next = top->handle;
        break;
      }
  }
  auto w = Wm().Lookup(next);
  ActivateWindow(w.get(), WA_ACTIVE, true);
}

void ForgetWindowState(Window& window) {
  WindowManager& wm = Wm();
  HWND h = window.handle;
  if (GetCaretState().hwnd == h) DestroyCaret();
  // A worker's windows hold no input state; the last click may name one, but handles are never
  // reused, so a stale one matches nothing.
  if (!wm.OnGuiThread()) return;
  if (wm.Focus() == h) {
    wm.AssignFocus(nullptr);
    FollowFocusWithTextInput(nullptr);
  }
  if (wm.Active() == h) wm.AssignActive(nullptr);
  if (wm.Capture() == h) wm.AssignCapture(nullptr);
  MouseState& mouse = wm.Mouse();
  if (mouse.trackWindow == h) {
    mouse.trackWindow = nullptr;
    mouse.trackFlags = 0;
  }
  if (mouse.lastClickWindow == h) mouse.lastClickWindow = nullptr;
}

}  // namespace detail

HWND SetFocus(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.Focus();
  if (!hwnd) {
    detail::SetFocusWindow(nullptr);
    return previous;
  }
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot() || !MayHoldInput(*w)) return nullptr;
  if (hwnd == previous) return previous;
  // Neither a disabled nor a minimised window (or one inside them) takes the focus.
  for (Window* x = w.get(); x && !x->IsRoot(); x = x->parent)
    if (!x->IsEnabled() || x->minimized) return nullptr;
  Window* top = w->TopLevel();
  if (top->handle != wm.Active()) {
    if (!detail::ActivateWindow(top, WA_ACTIVE, false)) return nullptr;
    if (!IsWindow(hwnd) || top->handle != wm.Active()) return nullptr;
  }
  detail::SetFocusWindow(hwnd);
  return previous;
}

HWND GetFocus() { return Wm().OnGuiThread() ? Wm().Focus() : nullptr; }

HWND SetActiveWindow(HWND hwnd) {
  HWND previous = Wm().Active();
  if (!hwnd) {
    detail::ActivateWindow(nullptr, WA_ACTIVE, true);
    return previous;
  }
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot() || !MayHoldInput(*w)) return nullptr;
  Window* top = w->TopLevel();
  if (top->parent != &Wm().Desktop()) return nullptr;  // message-only windows are never active
  return detail::ActivateWindow(top, WA_ACTIVE, true) ? previous : nullptr;
}

HWND GetActiveWindow() { return Wm().OnGuiThread() ? Wm().Active() : nullptr; }
HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || GetActiveWindow() == hwnd; }

HWND SetCapture(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.Capture();
  if (hwnd) {
    auto w = ValidWindow(hwnd);
    if (!w || !MayHoldInput(*w)) return nullptr;
  }
  wm.AssignCapture(hwnd);
  if (previous && previous != hwnd) Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

HWND GetCapture() { return Wm().OnGuiThread() ? Wm().Capture() : nullptr; }

BOOL ReleaseCapture() {
  WindowManager& wm = Wm();
  HWND previous = wm.Capture();
  wm.AssignCapture(nullptr);
  if (previous) Send(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

}  // namespace kestrel::platform
