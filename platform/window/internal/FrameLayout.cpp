#include "platform/window/internal/FrameLayout.h"

#include <algorithm>

#include "platform/gdi/SystemColors.h"
#include "platform/window/internal/Window.h"
#include "platform/window/internal/WindowInternal.h"

namespace kestrel::platform {

int FrameMetric(int index) { return GetSystemMetrics(index); }

bool PointInRect(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return RectEmpty(r) ? RECT{} : r;
}

RECT UnionRects(const RECT& a, const RECT& b) {
  if (RectEmpty(a)) return b;
  if (RectEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

RECT OffsetRectBy(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

namespace {

int OuterFrame(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return FrameMetric(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return FrameMetric(SM_CXDLGFRAME);
  if (style & WS_BORDER) return FrameMetric(SM_CXBORDER);
  return 0;
}

int EdgeWidth(DWORD exStyle) {
  int edge = 0;
  if (exStyle & WS_EX_CLIENTEDGE) edge += FrameMetric(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) edge += FrameMetric(SM_CXBORDER);
  return edge;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return FrameMetric((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

void LayoutCaptionButtons(FrameLayout& l, DWORD style, DWORD exStyle) {
  const RECT& c = l.caption;
  int h = c.bottom - c.top;
  int bw = FrameMetric(SM_CXSIZE) - 2, bh = h - 5;
  if (exStyle & WS_EX_TOOLWINDOW) bw = bh = h - 4;
  int top = c.top + 2;
  int right = c.right - 2;
  if (style & WS_SYSMENU) {
    l.closeButton = {right - bw, top, right, top + bh};
    right -= bw + 2;
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
      l.maxButton = {right - bw, top, right, top + bh};
      l.minButton = {right - 2 * bw, top, right - bw, top + bh};
    } else if (exStyle & WS_EX_CONTEXTHELP) {
      l.helpButton = {right - bw, top, right, top + bh};
    }
    if (!(exStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME)))
      l.sysMenu = {c.left + 1, c.top + 1, c.left + h - 1, c.bottom - 1};
  }
}

}  // namespace

RECT FrameLayout::Insets(DWORD style, DWORD exStyle) {
  int f = OuterFrame(style, exStyle) + EdgeWidth(exStyle);
  return {f, f + CaptionHeight(style, exStyle), f, f};
}

FrameLayout FrameLayout::Compute(DWORD style, DWORD exStyle, int width, int height) {
  FrameLayout l;
  l.window = {0, 0, width, height};
  l.frame = OuterFrame(style, exStyle);
  l.edge = EdgeWidth(exStyle);
  l.sizing = (style & WS_THICKFRAME) != 0;
  RECT r{l.frame, l.frame, width - l.frame, height - l.frame};
  if (int ch = CaptionHeight(style, exStyle)) {
    l.caption = {r.left, r.top, r.right, r.top + ch - 1};  // the last line separates caption and client
    r.top += ch;
    LayoutCaptionButtons(l, style, exStyle);
  }
  r = {r.left + l.edge, r.top + l.edge, r.right - l.edge, r.bottom - l.edge};
  int sv = FrameMetric(SM_CXVSCROLL), sh = FrameMetric(SM_CYHSCROLL);
  if ((style & WS_VSCROLL) && r.right - r.left >= sv) {
    if (exStyle & WS_EX_LEFTSCROLLBAR) {
      l.vscroll = {r.left, r.top, r.left + sv, r.bottom};
      r.left += sv;
    } else {
      l.vscroll = {r.right - sv, r.top, r.right, r.bottom};
      r.right -= sv;
    }
  }
  if ((style & WS_HSCROLL) && r.bottom - r.top > sh) {
    l.hscroll = {r.left, r.bottom - sh, r.right, r.bottom};
    r.bottom -= sh;
    if (!RectEmpty(l.vscroll)) {
      l.vscroll.bottom -= sh;
      l.sizeBox = {l.vscroll.left, r.bottom, l.vscroll.right, r.bottom + sh};
    }
  }
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  l.client = r;
  return l;
}

FrameLayout FrameLayout::Of(const Window& window) {
  FrameLayout l = Compute(window.style, window.exStyle, window.Width(), window.Height());
  const RECT client = window.ClientInWindow();
  const int sv = l.vscroll.right - l.vscroll.left, sh = l.hscroll.bottom - l.hscroll.top;
  if (!RectEmpty(l.vscroll)) {
    const int left = (window.exStyle & WS_EX_LEFTSCROLLBAR) ? client.left - sv : client.right;
    l.vscroll = {left, client.top, left + sv, client.bottom};
  }
  if (!RectEmpty(l.hscroll)) l.hscroll = {client.left, client.bottom, client.right, client.bottom + sh};
  if (!RectEmpty(l.sizeBox)) l.sizeBox = {l.vscroll.left, client.bottom, l.vscroll.right, client.bottom + sh};
  l.client = client;
  return l;
}

namespace detail {

RECT DefaultClientRect(const Window& window, const RECT& windowRect) {
  FrameLayout l = FrameLayout::Compute(window.style, window.exStyle, windowRect.right - windowRect.left,
                                       windowRect.bottom - windowRect.top);
  return OffsetRectBy(l.client, windowRect.left, windowRect.top);
}

LRESULT DefaultHitTest(Window& window, POINT screen) {
  POINT origin = window.ScreenOrigin();
  POINT p{screen.x - origin.x, screen.y - origin.y};
  FrameLayout l = FrameLayout::Of(window);
  if (!PointInRect(l.window, p)) return HTNOWHERE;
  if (PointInRect(l.client, p)) return HTCLIENT;
  int w = l.window.right, h = l.window.bottom, f = l.frame;
  bool inFrame = p.x < f || p.y < f || p.x >= w - f || p.y >= h - f;
  if (inFrame) {
    if (!l.sizing) return HTBORDER;
    // Corners reach along the edges as far as a caption is high.
    int corner = FrameMetric(SM_CYCAPTION) + f;
    bool left = p.x < corner, right = p.x >= w - corner, top = p.y < corner, bottom = p.y >= h - corner;
    if (p.y < f) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.y >= h - f) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < f) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (!RectEmpty(l.caption) && p.y < l.caption.bottom + 1 && p.y >= l.caption.top) {
    if (PointInRect(l.sysMenu, p)) return HTSYSMENU;
    if (PointInRect(l.closeButton, p)) return HTCLOSE;
    if (PointInRect(l.maxButton, p)) return HTMAXBUTTON;
    if (PointInRect(l.minButton, p)) return HTMINBUTTON;
    if (PointInRect(l.helpButton, p)) return HTHELP;
    return HTCAPTION;
  }
  if (PointInRect(l.vscroll, p)) return HTVSCROLL;
  if (PointInRect(l.hscroll, p)) return HTHSCROLL;
  if (PointInRect(l.sizeBox, p)) return HTSIZE;
  return HTBORDER;
}

}  // namespace detail

}  // namespace kestrel::platform
