// The classic frame (the themed one is in ThemedNonClient.cpp): raised window edges, a flat
// caption with its buttons, client and static edges, and standard scroll bars with their arrows.

#include <algorithm>

#include "platform/gdi/Primitives.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/internal/CaptionText.h"
#include "platform/window/internal/FrameLayout.h"
#include "platform/window/internal/WindowInternal.h"

namespace kestrel::platform {

namespace {

void Fill(HDC hdc, const RECT& r, int colorIndex) {
  if (!RectEmpty(r)) FillRect(hdc, &r, GetSysColorBrush(colorIndex));
}

// A one-pixel outline: top and left in `topLeft`, bottom and right in `bottomRight`.
void Edge(HDC hdc, const RECT& r, int topLeft, int bottomRight) {
  Fill(hdc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  Fill(hdc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  Fill(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  Fill(hdc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Shrink(const RECT& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void RaisedBox(HDC hdc, const RECT& r) {
  if (RectEmpty(r)) return;
  Fill(hdc, r, COLOR_BTNFACE);
  Edge(hdc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
  Edge(hdc, Shrink(r, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
}

// Glyphs are drawn as pixel runs so they look the same at every size.
void CloseGlyph(HDC hdc, const RECT& r) {
  int size = std::min(r.right - r.left, r.bottom - r.top) - 8;
  int x0 = r.left + (r.right - r.left - size) / 2, y0 = r.top + (r.bottom - r.top - size) / 2;
  for (int i = 0; i < size; ++i) {
    Fill(hdc, {x0 + i, y0 + i, x0 + i + 2, y0 + i + 1}, COLOR_BTNTEXT);
    Fill(hdc, {x0 + size - 1 - i, y0 + i, x0 + size + 1 - i, y0 + i + 1}, COLOR_BTNTEXT);
  }
}

void MinGlyph(HDC hdc, const RECT& r) {
  Fill(hdc, {r.left + 4, r.bottom - 6, r.left + 10, r.bottom - 4}, COLOR_BTNTEXT);
}

void MaxGlyph(HDC hdc, const RECT& r) {
  RECT box{r.left + 3, r.top + 2, r.right - 4, r.bottom - 3};
  Edge(hdc, box, COLOR_BTNTEXT, COLOR_BTNTEXT);
  Fill(hdc, {box.left, box.top + 1, box.right, box.top + 2}, COLOR_BTNTEXT);
}

void ArrowGlyph(HDC hdc, const RECT& r, int dx, int dy) {
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  for (int i = 0; i < 4; ++i) {
    if (dy) {
      int y = cy + (dy > 0 ? i - 2 : 1 - i);
      Fill(hdc, {cx - 3 + i, y, cx + 4 - i, y + 1}, COLOR_BTNTEXT);
    } else {
      int x = cx + (dx > 0 ? i - 2 : 1 - i);
      Fill(hdc, {x, cy - 3 + i, x + 1, cy + 4 - i}, COLOR_BTNTEXT);
    }
  }
}

void ScrollBar(HDC hdc, const RECT& r, bool vertical, const ScrollBarState& state) {
  if (RectEmpty(r)) return;
  Fill(hdc, r, COLOR_SCROLLBAR);
  detail::ScrollParts parts = detail::ComputeScrollParts(r, vertical, state);
  RaisedBox(hdc, parts.first);
  RaisedBox(hdc, parts.second);
  ArrowGlyph(hdc, parts.first, vertical ? 0 : -1, vertical ? -1 : 0);
  ArrowGlyph(hdc, parts.second, vertical ? 0 : 1, vertical ? 1 : 0);
  RaisedBox(hdc, parts.thumb);
}

}  // namespace

namespace detail {

void PaintFrame(Window& window, HDC hdc) {
  if (PaintThemedFrame(window, hdc)) return;
  FrameLayout l = FrameLayout::Of(window);
  RECT r = l.window;
  if (l.frame == 1) {
    Edge(hdc, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  } else if (l.frame > 1) {
    Edge(hdc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Edge(hdc, Shrink(r, 1), COLOR_3DHILIGHT, COLOR_3DSHADOW);
    int fill = l.sizing ? (window.ncActive ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_BTNFACE;
    for (int i = 2; i < l.frame; ++i) Edge(hdc, Shrink(r, i), fill, fill);
  }
  if (!RectEmpty(l.caption)) {
    Fill(hdc, l.caption, window.ncActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    Fill(hdc, {l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + 1}, COLOR_BTNFACE);
    RECT text = l.caption;
    text.left += RectEmpty(l.sysMenu) ? 3 : l.sysMenu.right + 2;
    for (const RECT* b : {&l.minButton, &l.helpButton, &l.maxButton, &l.closeButton})
      if (!RectEmpty(*b)) {
        text.right = std::min(text.right, b->left - 2);
        RaisedBox(hdc, *b);
      }
    if (!RectEmpty(l.sysMenu)) {
      RECT icon = Shrink(l.sysMenu, 2);
      Fill(hdc, icon, COLOR_BTNFACE);
      Edge(hdc, icon, COLOR_3DHILIGHT, COLOR_3DSHADOW);
    }
    CloseGlyph(hdc, l.closeButton);
    if (!RectEmpty(l.minButton)) MinGlyph(hdc, l.minButton);
    if (!RectEmpty(l.maxButton)) MaxGlyph(hdc, l.maxButton);
    DrawCaptionText(hdc, window.text, text,
                    GetSysColor(window.ncActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  }
  RECT inner{l.frame, l.frame + (RectEmpty(l.caption) ? 0 : l.caption.bottom + 1 - l.frame), r.right - l.frame,
             r.bottom - l.frame};
  if (window.exStyle & WS_EX_CLIENTEDGE) {
    Edge(hdc, inner, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    Edge(hdc, Shrink(inner, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    inner = Shrink(inner, 2);
  }
  if (window.exStyle & WS_EX_STATICEDGE) Edge(hdc, inner, COLOR_3DSHADOW, COLOR_3DHILIGHT);
  ScrollBar(hdc, l.vscroll, true, window.scroll[1]);
  ScrollBar(hdc, l.hscroll, false, window.scroll[0]);
  Fill(hdc, l.sizeBox, COLOR_BTNFACE);
}

}  // namespace detail

}  // namespace kestrel::platform
