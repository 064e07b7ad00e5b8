#include "controls/ScrollBarPainter.h"

#include <algorithm>
#include <cmath>

#include "controls/BorderPainter.h"
#include "controls/GdiScope.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/ScrollThumbGeometry.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

using namespace platform;

namespace {

constexpr int kMinThumb = 8;

struct BarThumb {
  int offset = 0;
  int length = 0;
};

// The thumb along a track of length t, or nothing when the information does not allow one.
// Ranges that are empty or inverted and pages beyond the range are not painted, and the thumb
// never leaves the track.
bool ComputeThumb(const SCROLLINFO& si, int t, bool dragging, bool controlBar, BarThumb& thumb) {
  long long range = static_cast<long long>(si.nMax) - si.nMin + 1;
  if (si.nPage == 0 || range <= 0 || range > 0x7FFFFFFF || t <= 0) return false;
  int r = static_cast<int>(range);
  int page = static_cast<int>(std::min<UINT>(si.nPage, static_cast<UINT>(r)));
  ScrollThumbInput in{si.nMin, si.nMax, page, dragging ? si.nTrackPos : si.nPos, t, std::min(kMinThumb, t), t};
  int m = ProportionalThumbLength(in);
  if (m >= t) {
    m = t;
    if (!controlBar) return false;
  }
  int offset = 0;
  if (page == r) --m;
  else offset = ThumbOffsetForPos(in, m);
  thumb = BarThumb{offset, m};
  return m > 0;
}

}  // namespace

void PaintScrollBox(HDC dc, const TRect& rect, bool active) {
  TRect inner = active ? PaintBevelRing(dc, rect, clBtnFace, cl3DDkShadow, AllBorderSides)
                       : PaintBevelRing(dc, rect, clBtnHighlight, clBtnShadow, AllBorderSides);
  if (active) {
    PaintBevelRing(dc, inner, clBtnHighlight, clBtnShadow, AllBorderSides);
  } else {
    PaintBevelRing(dc, inner, clBtnFace, clBtnFace, AllBorderSides);
  }
}

void PaintFlatScrollBar(HWND wnd, HDC dc, const TRect& rect, bool vertical, bool controlBar, bool dragging,
                        bool active) {
  int a = GetSystemMetrics(SM_CXHSCROLL);
  int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (length < 2 * a) {
    a = vertical ? length / 2 : static_cast<int>(std::nearbyint(length / 2.0));
  }
  if (!dragging) {
    if (vertical) {
      PaintScrollBox(dc, TRect{rect.left, rect.top, rect.right, rect.top + a}, active);
      PaintScrollBox(dc, TRect{rect.left, rect.bottom - a, rect.right, rect.bottom}, active);
    } else {
      PaintScrollBox(dc, TRect{rect.left, rect.top, rect.left + a, rect.bottom}, active);
      PaintScrollBox(dc, TRect{rect.right - a, rect.top, rect.right, rect.bottom}, active);
    }
  }
  if (controlBar && !IsWindowEnabled(wnd)) return;
  SCROLLINFO si{};
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(wnd, controlBar ? SB_CTL : (vertical ? SB_VERT : SB_HORZ), &si)) return;
  BarThumb thumb;
  if (!ComputeThumb(si, length - 2 * a, dragging, controlBar, thumb)) return;
  int start = (vertical ? rect.top : rect.left) + a + thumb.offset;
  TRect box = vertical ? TRect{rect.left, start, rect.right, start + thumb.length}
                       : TRect{start, rect.top, start + thumb.length, rect.bottom};
  PaintScrollBox(dc, box, active);
}

void PaintFlatScrollBars(HWND wnd, HDC dc, const TRect& rect, bool active, TScrollStyle scrollBars, bool draggingHorz,
                         bool draggingVert, bool controlBar, DWORD style, DWORD exStyle) {
  int b = (style & WS_BORDER)            ? GetSystemMetrics(SM_CXBORDER)
          : (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE)
                                         : 0;
  int a = GetSystemMetrics(SM_CXHSCROLL);
  int c = GetSystemMetrics(SM_CYVSCROLL);
  bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  TRect window{}, client{};
  GetWindowRect(wnd, &window);
  GetClientRect(wnd, &client);
  int ncWidth = (window.right - window.left) - (client.right - client.left);
  int ncHeight = (window.bottom - window.top) - (client.bottom - client.top);
  bool roomV = ncWidth >= a + b, roomH = ncHeight >= c + b;
  const TRect& r = rect;
  if ((style & WS_HSCROLL) && (style & WS_VSCROLL) && roomV && roomH) {
    TRect sizeBox = left ? TRect{r.left + b, r.bottom - b - c, r.left + b + a, r.bottom - b}
                         : TRect{r.right - b - a, r.bottom - b - c, r.right - b, r.bottom - b};
    FillRect(dc, &sizeBox, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (scrollBars == ssNone) return;
  bool horz = (style & WS_HSCROLL) && scrollBars != ssVertical;
  bool vert = (style & WS_VSCROLL) && scrollBars != ssHorizontal;
  if (horz && vert && roomV && roomH) {
    TRect h = left ? TRect{r.left + b + a, r.bottom - b - c, r.right - b, r.bottom - b}
                   : TRect{r.left + b, r.bottom - b - c, r.right - b - a, r.bottom - b};
    TRect v = left ? TRect{r.left + b, r.top + b, r.left + b + a, r.bottom - b - c}
                   : TRect{r.right - b - a, r.top + b, r.right - b, r.bottom - b - c};
    PaintFlatScrollBar(wnd, dc, h, false, controlBar, draggingHorz, active);
    PaintFlatScrollBar(wnd, dc, v, true, controlBar, draggingVert, active);
  } else if (vert && roomV) {
    TRect v = left ? TRect{r.left + b, r.top + b, r.left + b + a, r.bottom - b}
                   : TRect{r.right - b - a, r.top + b, r.right - b, r.bottom - b};
    PaintFlatScrollBar(wnd, dc, v, true, controlBar, draggingVert, active);
  } else if (horz && roomH) {
    PaintFlatScrollBar(wnd, dc, TRect{r.left + b, r.bottom - b - c, r.right - b, r.bottom - b}, false, controlBar,
                       draggingHorz, active);
  }
}

}  // namespace kestrel
