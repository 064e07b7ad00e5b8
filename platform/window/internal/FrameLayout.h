#pragma once
// Where the parts of a window's non-client area lie for its styles: frame, caption with its
// buttons, standard scroll bars and size box, and what is left for the client area. One layout
// serves WM_NCCALCSIZE, WM_NCHITTEST, AdjustWindowRectEx and the frame painting.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

struct Window;

// The window metrics the frame uses (classic 96-dpi values; indexes as GetSystemMetrics).
int FrameMetric(int index);

struct FrameLayout {
  RECT window{};  // window coordinates: (0, 0, width, height)
  int frame = 0;  // outer frame thickness (sizing, dialog or thin border)
  int edge = 0;   // client or static edge inside the frame
  bool sizing = false;
  RECT caption{};  // empty when there is none
  RECT sysMenu{}, closeButton{}, maxButton{}, minButton{}, helpButton{};
  RECT vscroll{}, hscroll{}, sizeBox{};
  RECT client{};

  static FrameLayout Compute(DWORD style, DWORD exStyle, int width, int height);
  // The layout of an existing window: the client area is the one its WM_NCCALCSIZE answered, and
  // the standard scroll bars and size box sit beside it, whatever the window took for itself.
  static FrameLayout Of(const Window& window);
  // Frame, caption and edge thickness on each side (no scroll bars), for AdjustWindowRectEx.
  static RECT Insets(DWORD style, DWORD exStyle);
};

bool PointInRect(const RECT& r, POINT p);
bool RectEmpty(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT UnionRects(const RECT& a, const RECT& b);
RECT OffsetRectBy(const RECT& r, int dx, int dy);

}  // namespace kestrel::platform
