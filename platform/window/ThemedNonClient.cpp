// The themed frame: the theme engine's caption, frame bands, caption buttons, edges and standard
// scroll bars, laid out exactly as the classic frame.

#include <algorithm>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/NonClientTheme.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/internal/CaptionText.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowInternal.h"

namespace kestrel::platform {

namespace {

class ThemeHandle {
 public:
  ThemeHandle(HWND hwnd, const WCHAR* classList) : theme_(OpenNonClientThemeData(hwnd, classList)) {}
  ~ThemeHandle() {
    if (theme_) CloseThemeData(theme_);
  }
  ThemeHandle(const ThemeHandle&) = delete;
  ThemeHandle& operator=(const ThemeHandle&) = delete;
  HTHEME get() const { return theme_; }

 private:
  HTHEME theme_;
};

void Part(HTHEME theme, HDC hdc, int part, int state, const RECT& r) {
  if (!RectEmpty(r)) DrawThemeBackground(theme, hdc, part, state, &r, nullptr);
}

void CaptionButtons(HTHEME theme, HDC hdc, const Window& window, const FrameLayout& l) {
  const int state = (window.style & WS_DISABLED) ? CBS_DISABLED : CBS_NORMAL;
  Part(theme, hdc, WP_SYSBUTTON, state, l.sysMenu);
  Part(theme, hdc, WP_MINBUTTON, state, l.minButton);
  Part(theme, hdc, (window.style & WS_MAXIMIZE) ? WP_RESTOREBUTTON : WP_MAXBUTTON, state, l.maxButton);
  Part(theme, hdc, WP_HELPBUTTON, state, l.helpButton);
  Part(theme, hdc, WP_CLOSEBUTTON, state, l.closeButton);
}

void Caption(HTHEME theme, HDC hdc, const Window& window, const FrameLayout& l) {
  const int state = window.ncActive ? CS_ACTIVE : CS_INACTIVE;
  const bool small = window.exStyle & WS_EX_TOOLWINDOW;
  Part(theme, hdc, small ? WP_SMALLCAPTION : WP_CAPTION, state, {0, 0, l.window.right, l.caption.bottom + 1});
  CaptionButtons(theme, hdc, window, l);
  RECT text = l.caption;
  text.left += RectEmpty(l.sysMenu) ? 3 : l.sysMenu.right + 2;
  for (const RECT* b : {&l.minButton, &l.helpButton, &l.maxButton, &l.closeButton})
    if (!RectEmpty(*b)) text.right = std::min(text.right, b->left - 2);
  COLORREF color = 0;
  GetThemeColor(theme, WP_CAPTION, state, TMT_TEXTCOLOR, &color);
  DrawCaptionText(hdc, window.text, text, color);
}

void Frame(HTHEME theme, HDC hdc, const Window& window, const FrameLayout& l) {
  const int state = window.ncActive ? FS_ACTIVE : FS_INACTIVE;
  const RECT& w = l.window;
  const int top = RectEmpty(l.caption) ? l.frame : l.caption.bottom + 1;
  if (RectEmpty(l.caption) && l.frame > 0) Part(theme, hdc, WP_CAPTION, state, {0, 0, w.right, l.frame});
  Part(theme, hdc, WP_FRAMELEFT, state, {0, top, l.frame, w.bottom - l.frame});
  Part(theme, hdc, WP_FRAMERIGHT, state, {w.right - l.frame, top, w.right, w.bottom - l.frame});
  Part(theme, hdc, WP_FRAMEBOTTOM, state, {0, w.bottom - l.frame, w.right, w.bottom});
}

// The client edge as an edit field's border around the client area, which it leaves alone.
void Edges(HWND hwnd, HDC hdc, const Window& window, const FrameLayout& l) {
  RECT inner{l.frame, RectEmpty(l.caption) ? l.frame : l.caption.bottom + 1, l.window.right - l.frame,
             l.window.bottom - l.frame};
  if (window.exStyle & WS_EX_CLIENTEDGE) {
    ThemeHandle edit(hwnd, u"EDIT");
    const int saved = SaveDC(hdc);
    ExcludeClipRect(hdc, inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2);
    FillRect(hdc, &inner, GetSysColorBrush(COLOR_BTNFACE));  // behind the rounded corners
    Part(edit.get(), hdc, EP_EDITBORDER_NOSCROLL, EPSN_NORMAL, inner);
    RestoreDC(hdc, saved);
    inner = {inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2};
  }
  if (window.exStyle & WS_EX_STATICEDGE) {
    ThemeHandle windowTheme(hwnd, u"WINDOW");
    DrawThemeEdge(windowTheme.get(), hdc, WP_DIALOG, 0, &inner, BDR_SUNKENOUTER, BF_RECT, nullptr);
  }
}

int ArrowState(int direction, bool disabled) { return direction * 4 + (disabled ? ABS_UPDISABLED : ABS_UPNORMAL); }

void ScrollBar(HTHEME theme, HDC hdc, const RECT& r, bool vertical, const ScrollBarState& state) {
  if (RectEmpty(r)) return;
  const detail::ScrollParts parts = detail::ComputeScrollParts(r, vertical, state);
  const int back = vertical ? 0 : 2, forward = vertical ? 1 : 3;
  Part(theme, hdc, SBP_ARROWBTN, ArrowState(back, state.disabledArrows & ESB_DISABLE_LTUP), parts.first);
  Part(theme, hdc, SBP_ARROWBTN, ArrowState(forward, state.disabledArrows & ESB_DISABLE_RTDN), parts.second);
  RECT lower = r, upper = r;
  if (vertical) {
    lower.top = parts.first.bottom;
    lower.bottom = RectEmpty(parts.thumb) ? parts.second.top : parts.thumb.top;
    upper.top = RectEmpty(parts.thumb) ? parts.second.top : parts.thumb.bottom;
    upper.bottom = parts.second.top;
  } else {
    lower.left = parts.first.right;
    lower.right = RectEmpty(parts.thumb) ? parts.second.left : parts.thumb.left;
    upper.left = RectEmpty(parts.thumb) ? parts.second.left : parts.thumb.right;
    upper.right = parts.second.left;
  }
  Part(theme, hdc, vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ, SCRBS_NORMAL, lower);
  Part(theme, hdc, vertical ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ, SCRBS_NORMAL, upper);
  if (RectEmpty(parts.thumb)) return;
  const int thumbState = state.tracking ? SCRBS_PRESSED : SCRBS_NORMAL;
  Part(theme, hdc, vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, thumbState, parts.thumb);
  RECT face{};
  GetThemeBackgroundContentRect(theme, hdc, vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, thumbState, &parts.thumb,
                                &face);
  Part(theme, hdc, vertical ? SBP_GRIPPERVERT : SBP_GRIPPERHORZ, thumbState, face);
}

}  // namespace

namespace detail {

bool PaintThemedFrame(Window& window, HDC hdc) {
  ThemeHandle windowTheme(window.handle, u"WINDOW");
  if (!windowTheme.get()) return false;
  ThemeHandle scrollTheme(window.handle, u"SCROLLBAR");
  const FrameLayout l = FrameLayout::Of(window);
  Frame(windowTheme.get(), hdc, window, l);
  if (!RectEmpty(l.caption)) Caption(windowTheme.get(), hdc, window, l);
  Edges(window.handle, hdc, window, l);
  ScrollBar(scrollTheme.get(), hdc, l.vscroll, true, window.scroll[1]);
  ScrollBar(scrollTheme.get(), hdc, l.hscroll, false, window.scroll[0]);
  if (!RectEmpty(l.sizeBox)) {
    if (l.sizing) Part(scrollTheme.get(), hdc, SBP_SIZEBOX, SZB_RIGHTALIGN, l.sizeBox);
    else FillRect(hdc, &l.sizeBox, GetSysColorBrush(COLOR_BTNFACE));
  }
  return true;
}

}  // namespace detail

}  // namespace kestrel::platform
