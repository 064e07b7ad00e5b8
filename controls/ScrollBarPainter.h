#pragma once
// The flat look painted over a window's standard scroll bars (or a scroll-bar control): arrow
// boxes and thumb as two-ring boxes; the track itself is left as it is.

#include "controls/DrawingTypes.h"
#include "framework/Canvas.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// Both bars of `wnd` in window coordinates `rect` (its window rectangle moved to 0,0), and the
// size box between them, as its styles place them.
void PaintFlatScrollBars(platform::HWND wnd, platform::HDC dc, const TRect& rect, bool active, TScrollStyle scrollBars,
                         bool draggingHorz, bool draggingVert, bool controlBar, platform::DWORD style,
                         platform::DWORD exStyle);

// One bar in `rect`: arrow boxes (unless dragging) and the thumb from the window's scroll
// information (its SB_HORZ/SB_VERT bar, or SB_CTL when `controlBar`).
void PaintFlatScrollBar(platform::HWND wnd, platform::HDC dc, const TRect& rect, bool vertical, bool controlBar,
                        bool dragging, bool active);

// Two rings with all sides; the inside is not painted.
void PaintScrollBox(platform::HDC dc, const TRect& rect, bool active);

}  // namespace kestrel
