#pragma once
// The window object behind an HWND. Only the window manager's own sources use it; everything
// else goes through the handle-based calls of WindowApi.h.
//
// Rectangles are kept in the parent's client coordinates (for top-level windows that is the
// screen, the desktop's client area). Children are ordered top of the z-order first.

#include <cairo.h>

#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/OwnedHandles.h"
#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"
#include "platform/window/internal/DamageList.h"

namespace kestrel::platform {

struct WindowClass;

// Scroll information of one standard bar (or of a scroll-bar control).
struct ScrollBarState {
  bool exists = false;  // set once a program gave the bar information
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  UINT disabledArrows = 0;  // ESB_DISABLE_… bits
  bool tracking = false;
};

class Window {
 public:
  Window();
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT window{};
  RECT client{};
  Window* parent = nullptr;  // the desktop (or the message root) for top-level windows
  HWND owner = nullptr;
  std::vector<std::shared_ptr<Window>> children;
  // Written by the owning thread under textMutex; other threads read it under the lock too
  // (GetWindowText of a foreign window), the owner reads it freely.
  String text;
  mutable std::mutex textMutex;
  std::vector<std::pair<String, HANDLE>> props;
  std::vector<BYTE> extra;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  std::thread::id thread;

  // Lifecycle.
  bool created = false;     // WM_NCCREATE accepted
  bool destroying = false;  // DestroyWindow under way: no new messages but WM_DESTROY/NCDESTROY
  bool destroyed = false;

  // Painting. The update region is in window coordinates (origin = window rectangle's corner).
  CairoSurface backing;  // top-level windows only
  CairoRegion update;
  bool erasePending = false;
  bool ncPaintPending = false;
  bool internalPaint = false;
  bool redraw = true;  // WM_SETREDRAW
  bool painting = false;
  bool caretHidden = false;     // BeginPaint hid the caret; EndPaint shows it again
  HRGN windowRegion = nullptr;  // owned by the window once set
  HDC ownDC = nullptr;          // CS_OWNDC: the private DC, kept until the window goes
  bool ncActive = false;        // caption drawn active (WM_NCACTIVATE)
  DamageList damage;            // top-level: backing-store pixels changed, not yet presented

  ScrollBarState scroll[3];  // SB_HORZ, SB_VERT, SB_CTL

  // Position state.
  bool minimized = false;
  bool maximized = false;
  RECT restoreRect{};  // where a minimised or maximised window returns to

  bool IsChildStyle() const { return (style & WS_CHILD) != 0; }
  bool IsVisible() const { return (style & WS_VISIBLE) != 0; }
  bool IsEnabled() const { return (style & WS_DISABLED) == 0; }
  // True for the desktop and the message root: the roots of the window tree.
  bool IsRoot() const { return parent == nullptr; }
  bool IsTopLevel() const { return parent && parent->IsRoot(); }
  int Width() const { return window.right - window.left; }
  int Height() const { return window.bottom - window.top; }
  // The client rectangle relative to the window rectangle's corner.
  RECT ClientInWindow() const;
  // Screen position of this window's corner and of its client area's corner.
  POINT ScreenOrigin() const;
  POINT ClientScreenOrigin() const;
  // The top-level ancestor (this window itself for a top-level one).
  Window* TopLevel();
  // Whether this window and all its ancestors are visible.
  bool IsReallyVisible() const;
  bool IsDescendantOf(const Window* ancestor) const;
  int IndexInParent() const;
};

}  // namespace kestrel::platform
