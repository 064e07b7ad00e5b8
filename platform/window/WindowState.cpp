// Minimised, maximised and normal windows.

#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowInternal.h"

namespace kestrel::platform::detail {

namespace {

constexpr int kIconicWidth = 160;
constexpr int kParked = -32000;  // where minimised top-level windows are kept, as on Windows

RECT ParentArea(const Window& w) {
  const Window* p = w.parent;
  if (!p) return {};
  return {0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
}

RECT MaximizedRect(const Window& w) {
  // The frame lies just outside the parent's client area; the caption stays inside.
  RECT in = FrameLayout::Insets(w.style, w.exStyle);
  int frame = in.left;
  RECT area = ParentArea(w);
  return {area.left - frame, area.top - frame, area.right + frame, area.bottom + frame};
}

RECT MinimizedRect(const Window& w) {
  RECT in = FrameLayout::Insets(w.style, w.exStyle);
  int height = in.top + in.bottom;
  if (w.IsTopLevel()) return {kParked, kParked, kParked + kIconicWidth, kParked + height};
  RECT area = ParentArea(w);
  return {0, area.bottom - height, kIconicWidth, area.bottom};
}

}  // namespace

bool ApplyShowState(Window& w, int command, RECT* target) {
  bool normalBefore = !w.minimized && !w.maximized;
  switch (command) {
    case SW_MAXIMIZE:  // also SW_SHOWMAXIMIZED
      if (w.maximized) return false;
      if (normalBefore) w.restoreRect = w.window;
      w.maximized = true;
      w.minimized = false;
      w.style = (w.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
      *target = MaximizedRect(w);
      return true;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (w.minimized) return false;
      if (normalBefore) w.restoreRect = w.window;
      w.minimized = true;
      w.style = (w.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
      *target = MinimizedRect(w);
      return true;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (normalBefore) return false;
      // A window minimised from maximised goes back to maximised first.
      if (w.minimized && w.maximized && command == SW_RESTORE) {
        w.minimized = false;
        w.style = (w.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        *target = MaximizedRect(w);
        return true;
      }
      w.minimized = w.maximized = false;
      w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
      *target = w.restoreRect;
      return true;
    default: return false;
  }
}

}  // namespace kestrel::platform::detail
