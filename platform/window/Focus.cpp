// Activation, keyboard focus and mouse capture.

#include <optional>
#include <vector>

#include "platform/window/Caret.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowInternal.h"
#include "platform/window/WindowManager.h"

namespace kestrel::platform {

namespace {

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  auto w = Wm().Lookup(hwnd);
  return w ? CallWindow(*w, msg, wParam, lParam) : 0;
}

WPARAM ActivateParam(WORD how, HWND hwnd) {
  return MAKEWPARAM(how, static_cast<WORD>(IsIconic(hwnd) ? 1 : 0));
}

DWORD ThreadIdOf(const std::optional<std::thread::id>& thread) {
  return thread ? MessageQueue::IdOf(*thread) : 0;
}

// WM_ACTIVATEAPP to every top-level window of `thread`; lParam names the other thread.
void SendActivateApp(std::thread::id thread, bool active, DWORD otherThread) {
  std::vector<HWND> tops;
  for (auto& top : Wm().Desktop().children)
    if (top->thread == thread && !top->destroying) tops.push_back(top->handle);
  // Another thread's windows are asked too; one that hangs must not hang activation here.
  for (HWND h : tops)
    SendMessageTimeoutW(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, static_cast<LPARAM>(otherThread),
                        SMTO_ABORTIFHUNG, 1000, nullptr);
}

// The active application is the thread of the active window; none once nothing is active.
void LeaveActiveApp(const std::optional<std::thread::id>& next) {
  WindowManager& wm = Wm();
  auto leaving = wm.activeApp;
  if (!leaving || leaving == next) return;
  wm.activeApp.reset();
  SendActivateApp(*leaving, false, ThreadIdOf(next));
}

void EnterActiveApp(std::thread::id thread, const std::optional<std::thread::id>& previous) {
  WindowManager& wm = Wm();
  if (wm.activeApp == thread) return;
  wm.activeApp = thread;
  SendActivateApp(thread, true, ThreadIdOf(previous));
}

}  // namespace

namespace detail {

void SetFocusWindow(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.focus;
  if (previous == hwnd) return;
  wm.focus = hwnd;
  if (previous) Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd));
  if (wm.focus != hwnd) return;  // changed again meanwhile
  if (hwnd) Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous));
}

bool ActivateWindow(Window* top, WORD how, bool setFocus) {
  WindowManager& wm = Wm();
  HWND hwnd = top ? top->handle : nullptr;
  HWND previous = wm.active;
  std::optional<std::thread::id> app;
  if (top) app = top->thread;
  if (hwnd == previous) {
    if (!hwnd) LeaveActiveApp(std::nullopt);
    return true;
  }
  auto previousApp = wm.activeApp;
  if (previous && IsWindow(previous)) {
    Send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
    Send(previous, WM_ACTIVATE, ActivateParam(WA_INACTIVE, previous), reinterpret_cast<LPARAM>(hwnd));
  }
  LeaveActiveApp(app);
  if (hwnd && !IsWindow(hwnd)) return false;
  wm.active = hwnd;
  if (hwnd) {
    if (GetWindow(hwnd, GW_HWNDFIRST) != hwnd)
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnterActiveApp(*app, previousApp);
    Send(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
    Send(hwnd, WM_ACTIVATE, ActivateParam(how, hwnd), reinterpret_cast<LPARAM>(previous));
  }
  if (setFocus && wm.active == hwnd) {
    HWND focus = wm.focus;
    if (!hwnd || !focus || GetAncestor(focus, GA_ROOT) != hwnd) SetFocusWindow(hwnd);
  }
  return wm.active == hwnd;
}

void ActivateOtherWindow(Window& leaving) {
  auto candidate = [&](HWND h) {
    auto w = Wm().Lookup(h);
    return w && w.get() != &leaving && w->IsTopLevel() && w->IsVisible() && w->IsEnabled() &&
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
  if (wm.focus == h) wm.focus = nullptr;
  if (wm.active == h) wm.active = nullptr;
  if (wm.capture == h) wm.capture = nullptr;
  if (wm.mouse.hoverWindow == h) wm.mouse.hoverWindow = nullptr;
  if (wm.mouse.trackWindow == h) {
    wm.mouse.trackWindow = nullptr;
    wm.mouse.trackFlags = 0;
  }
  if (wm.mouse.lastClickWindow == h) wm.mouse.lastClickWindow = nullptr;
  if (GetCaretState().hwnd == h) DestroyCaret();
}

}  // namespace detail

HWND SetFocus(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.focus;
  if (!hwnd) {
    detail::SetFocusWindow(nullptr);
    return previous;
  }
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return nullptr;
  if (hwnd == previous) return previous;
  // Neither a disabled nor a minimised window (or one inside them) takes the focus.
  for (Window* x = w.get(); x && !x->IsRoot(); x = x->parent)
    if (!x->IsEnabled() || x->minimized) return nullptr;
  Window* top = w->TopLevel();
  if (top->handle != wm.active) {
    if (!detail::ActivateWindow(top, WA_ACTIVE, false)) return nullptr;
    if (!IsWindow(hwnd) || top->handle != wm.active) return nullptr;
  }
  detail::SetFocusWindow(hwnd);
  return previous;
}

HWND GetFocus() { return Wm().focus; }

HWND SetActiveWindow(HWND hwnd) {
  HWND previous = Wm().active;
  if (!hwnd) {
    detail::ActivateWindow(nullptr, WA_ACTIVE, true);
    return previous;
  }
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return nullptr;
  Window* top = w->TopLevel();
  if (top->parent != &Wm().Desktop()) return nullptr;  // message-only windows are never active
  return detail::ActivateWindow(top, WA_ACTIVE, true) ? previous : nullptr;
}

HWND GetActiveWindow() { return Wm().active; }
HWND GetForegroundWindow() { return Wm().active; }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) || GetActiveWindow() == hwnd; }

HWND SetCapture(HWND hwnd) {
  WindowManager& wm = Wm();
  HWND previous = wm.capture;
  if (hwnd && !ValidWindow(hwnd)) return nullptr;
  wm.capture = hwnd;
  if (previous && previous != hwnd) Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

HWND GetCapture() { return Wm().capture; }

BOOL ReleaseCapture() {
  WindowManager& wm = Wm();
  HWND previous = wm.capture;
  wm.capture = nullptr;
  if (previous) Send(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

}  // namespace kestrel::platform
