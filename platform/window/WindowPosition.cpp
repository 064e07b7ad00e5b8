// Window positions: SetWindowPos and its messages, rectangles, coordinate mapping, and finding
// the window at a point.

#include <algorithm>

#include "platform/window/AccessEvents.h"
#include "platform/window/Backend.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

namespace {

constexpr UINT kStatusFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_HIDEWINDOW |
                              SWP_FRAMECHANGED | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_STATECHANGED;
constexpr UINT kNoChange = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE;

LRESULT Send(Window& w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return CallWindow(w, msg, wParam, lParam); }

// Whether inserting after `after` would leave the window where it is.
bool SameZOrder(Window& w, HWND after) {
  auto& list = w.parent->children;
  int i = w.IndexInParent();
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    int first = 0;
    if (!(w.exStyle & WS_EX_TOPMOST))
      while (first < static_cast<int>(list.size()) && (list[static_cast<size_t>(first)]->exStyle & WS_EX_TOPMOST) &&
             list[static_cast<size_t>(first)].get() != &w)
        ++first;
    return i == first;
  }
  if (after == HWND_BOTTOM) return i == static_cast<int>(list.size()) - 1;
  if (after == w.handle) return true;
  return i > 0 && list[static_cast<size_t>(i) - 1]->handle == after;
}

void NormalizeFlags(Window& w, WINDOWPOS& wp) {
  if (!(wp.flags & SWP_NOSIZE) && wp.cx == w.Width() && wp.cy == w.Height()) wp.flags |= SWP_NOSIZE;
  if (!(wp.flags & SWP_NOMOVE) && wp.x == w.window.left && wp.y == w.window.top) wp.flags |= SWP_NOMOVE;
  if (w.IsVisible()) wp.flags &= ~SWP_SHOWWINDOW;
  else wp.flags &= ~SWP_HIDEWINDOW;
  if (!(wp.flags & SWP_NOZORDER) && SameZOrder(w, wp.hwndInsertAfter)) wp.flags |= SWP_NOZORDER;
}

void ApplyZOrder(Window& w, HWND after) {
  if (after == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) w.exStyle &= ~WS_EX_TOPMOST;
  auto self = detail::SharedOf(&w);
  Window* parent = w.parent;
  detail::UnlinkWindow(w);
  detail::LinkWindow(*parent, self, after);
}

void InvalidateAfterChange(Window& w, const RECT& oldWindow, const RECT& oldClient, UINT flags, bool wasVisible) {
  if (flags & SWP_NOREDRAW) return;
  bool nowVisible = w.IsVisible();
  bool moved = !(flags & SWP_NOMOVE), sized = !(flags & SWP_NOSIZE);
  bool zorder = !(flags & SWP_NOZORDER);
  if (w.IsTopLevel()) {
    // A top-level window carries its own backing store: moving or restacking it exposes nothing.
    moved = zorder = false;
  }
  // What the window covered and now covers in its parent must be repainted there.
  if (wasVisible && (moved || sized || !nowVisible || zorder)) detail::InvalidateParentArea(w, oldWindow);
  if (!nowVisible) return;
  UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
  if (!wasVisible || moved || zorder || (flags & SWP_FRAMECHANGED) || (flags & SWP_NOCOPYBITS)) {
    detail::InvalidateWhole(w, all);
    return;
  }
  if (sized) {
    UINT classStyle = w.windowClass ? w.windowClass->style : 0;
    int oldW = oldClient.right - oldClient.left, oldH = oldClient.bottom - oldClient.top;
    int newW = w.client.right - w.client.left, newH = w.client.bottom - w.client.top;
    if (((classStyle & CS_HREDRAW) && oldW != newW) || ((classStyle & CS_VREDRAW) && oldH != newH)) {
      detail::InvalidateWhole(w, all);
      return;
    }
    // The frame redraws; of the client only the newly exposed strips.
    detail::InvalidateArea(w, {0, 0, w.Width(), w.Height()}, RDW_FRAME | RDW_INVALIDATE);
    RECT c = w.ClientInWindow();
    if (newW > oldW) detail::InvalidateArea(w, {c.left + oldW, c.top, c.right, c.bottom}, RDW_INVALIDATE | RDW_ERASE);
    if (newH > oldH) detail::InvalidateArea(w, {c.left, c.top + oldH, c.right, c.bottom}, RDW_INVALIDATE | RDW_ERASE);
  }
}

void HideFocusAndActivation(Window& w) {
  if (w.IsTopLevel() && GetActiveWindow() == w.handle) detail::ActivateOtherWindow(w);
  HWND focus = GetFocus();
  if (focus && (focus == w.handle || IsChild(w.handle, focus)))
    SetFocus(w.IsChildStyle() ? GetParent(w.handle) : nullptr);
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return FALSE;
  WINDOWPOS wp{
      hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE)};
  if (wp.flags & SWP_NOSIZE) {
    wp.cx = w->Width();
    wp.cy = w->Height();
  }
  if (wp.flags & SWP_NOMOVE) {
    wp.x = w->window.left;
    wp.y = w->window.top;
  }
  NormalizeFlags(*w, wp);
  if (!(wp.flags & SWP_NOSENDCHANGING)) {
    Send(*w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (w->destroyed) return FALSE;
    wp.hwnd = hwnd;
    wp.cx = std::max(wp.cx, 0);
    wp.cy = std::max(wp.cy, 0);
    NormalizeFlags(*w, wp);
  }
  bool wasVisible = w->IsReallyVisible();
  RECT oldWindow = w->window, oldClient = w->client;
  RECT newWindow = {wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  RECT newClient;
  if ((wp.flags & (SWP_NOSIZE | SWP_FRAMECHANGED)) != SWP_NOSIZE) {
    NCCALCSIZE_PARAMS params{{newWindow, oldWindow, oldClient}, &wp};
    Send(*w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (w->destroyed) return FALSE;
    newClient = params.rgrc[0];
  } else {
    newClient = OffsetRectBy(oldClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
  }
  if (newClient.left == oldClient.left && newClient.top == oldClient.top) wp.flags |= SWP_NOCLIENTMOVE;
  if (newClient.right - newClient.left == oldClient.right - oldClient.left &&
      newClient.bottom - newClient.top == oldClient.bottom - oldClient.top)
    wp.flags |= SWP_NOCLIENTSIZE;

  w->window = newWindow;
  w->client = newClient;
  if (!(wp.flags & SWP_NOZORDER)) ApplyZOrder(*w, wp.hwndInsertAfter);
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;

  bool native = w->IsTopLevel() && w->parent == &Wm().Desktop();
  if (native) {
    if (!(wp.flags & SWP_NOSIZE)) detail::ResizeBackingStore(*w);
    if ((!(wp.flags & SWP_NOSIZE) || !(wp.flags & SWP_NOMOVE)) && !w->minimized)
      Wm().GetBackend().MoveNativeWindow(hwnd, w->window);
    if (wp.flags & SWP_STATECHANGED) Wm().GetBackend().SetNativeMinimized(hwnd, w->minimized);
    if (wp.flags & SWP_SHOWWINDOW) Wm().GetBackend().ShowNativeWindow(hwnd, true);
    if (wp.flags & SWP_HIDEWINDOW) Wm().GetBackend().ShowNativeWindow(hwnd, false);
  }
  InvalidateAfterChange(*w, oldWindow, oldClient, wp.flags, wasVisible && !(wp.flags & SWP_SHOWWINDOW));
  if (!(wp.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW))) {
    if (w->IsChildStyle()) Send(*w, WM_CHILDACTIVATE);
    else if (w->IsTopLevel() && w->parent == &Wm().Desktop()) detail::ActivateWindow(w.get(), WA_ACTIVE, true);
    if (w->destroyed) return TRUE;
  }
  if ((wp.flags & kStatusFlags) != kNoChange) Send(*w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  if ((wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) && !w->destroyed)
    NotifyAccessEvent((wp.flags & SWP_SHOWWINDOW) ? AccessEvent::Show : AccessEvent::Hide, hwnd);
  // Activation and focus leave a hidden window once it has been told it is hidden.
  if ((wp.flags & SWP_HIDEWINDOW) && !w->destroyed) HideFocusAndActivation(*w);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!repaint) flags |= SWP_NOREDRAW;
  return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  auto w = ValidWindow(hwnd);
  if (!w || !rect) return FALSE;
  POINT o = w->ScreenOrigin();
  *rect = {o.x, o.y, o.x + w->Width(), o.y + w->Height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  auto w = ValidWindow(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
  auto w = ValidWindow(hwnd);
  if (!w || !point) return FALSE;
  POINT o = w->ClientScreenOrigin();
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  auto w = ValidWindow(hwnd);
  if (!w || !point) return FALSE;
  POINT o = w->ClientScreenOrigin();
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT a{}, b{};
  if (from) {
    auto w = ValidWindow(from);
    if (!w) return 0;
    a = w->ClientScreenOrigin();
  }
  if (to) {
    auto w = ValidWindow(to);
    if (!w) return 0;
    b = w->ClientScreenOrigin();
  }
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

bool InsideWindowShape(Window& w, POINT screen) {
  POINT o = w.ScreenOrigin();
  POINT p{screen.x - o.x, screen.y - o.y};
  if (!PointInRect({0, 0, w.Width(), w.Height()}, p)) return false;
  return detail::PointInWindowRegion(w, p);
}

// The deepest visible window under a screen point, below `parent`; disabled child windows
// let the point belong to their parent, as on Windows.
Window* DeepestAt(Window& parent, POINT screen) {
  for (auto& c : parent.children) {
    if (!c->IsVisible() || !InsideWindowShape(*c, screen)) continue;
    if (c->IsChildStyle() && !c->IsEnabled()) return &parent;
    POINT co = c->ClientScreenOrigin();
    RECT client{co.x, co.y, co.x + (c->client.right - c->client.left), co.y + (c->client.bottom - c->client.top)};
    if (PointInRect(client, screen)) return DeepestAt(*c, screen);
    return c.get();
  }
  return &parent;
}

}  // namespace

HWND WindowFromPoint(POINT screenPoint) {
  Window* w = DeepestAt(Wm().Desktop(), screenPoint);
  if (!w || w->IsRoot()) return nullptr;
  // A window answering HTTRANSPARENT passes the point to the windows beneath it (same thread).
  while (w && !w->IsRoot() && w->thread == std::this_thread::get_id()) {
    LRESULT hit = SendMessageW(w->handle, WM_NCHITTEST, 0,
                               MAKELPARAM(static_cast<WORD>(screenPoint.x), static_cast<WORD>(screenPoint.y)));
    if (hit != HTTRANSPARENT) break;
    Window* next = nullptr;
    if (w->parent) {
      int i = w->IndexInParent();
      auto& siblings = w->parent->children;
      for (size_t k = static_cast<size_t>(i) + 1; k < siblings.size(); ++k) {
        auto& s = siblings[k];
        if (s->IsVisible() && InsideWindowShape(*s, screenPoint)) {
          next = s->IsChildStyle() && !s->IsEnabled() ? w->parent : s.get();
          break;
        }
      }
      if (!next) next = w->parent;
    }
    w = next;
  }
  return w && !w->IsRoot() ? w->handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
  auto p = ValidWindow(parent);
  if (!p) return nullptr;
  RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (!PointInRect(client, clientPoint)) return nullptr;
  POINT o = p->ClientScreenOrigin();
  POINT screen{clientPoint.x + o.x, clientPoint.y + o.y};
  for (auto& c : p->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !c->IsVisible()) continue;
    if ((flags & CWP_SKIPDISABLED) && !c->IsEnabled()) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (InsideWindowShape(*c, screen)) return c->handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = FrameLayout::Insets(style, exStyle);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

BOOL IsIconic(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  return w && w->minimized ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  return w && w->maximized && !w->minimized ? TRUE : FALSE;
}

}  // namespace kestrel::platform
