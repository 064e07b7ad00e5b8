// Edges (DrawEdge) and the painting helpers of the frame controls.
#include "platform/gdi/internal/FramePainter.h"

#include <algorithm>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/Raster.h"

namespace kestrel::platform {

namespace {
struct Ring {
  bool present = false;
  COLORREF lit = 0;     // top and left
  COLORREF shaded = 0;  // bottom and right
};

// The colours of the outer and inner ring for an edge and its flags.
void RingColors(UINT edge, UINT flags, Ring& outer, Ring& inner) {
  UINT o = edge & BDR_OUTER, i = edge & BDR_INNER;
  outer.present = o != 0;
  inner.present = i != 0;
  if (flags & BF_MONO) {
    outer.lit = outer.shaded = GetSysColor(COLOR_WINDOWFRAME);
    inner.lit = inner.shaded = GetSysColor(COLOR_WINDOW);
    return;
  }
  if (flags & BF_FLAT) {
    outer.lit = outer.shaded = GetSysColor(COLOR_3DSHADOW);
    inner.lit = inner.shaded = GetSysColor(COLOR_3DFACE);
    return;
  }
  bool soft = flags & BF_SOFT;
  // A ring with both bits is taken as sunken.
  if (o == BDR_RAISEDOUTER) {
    outer.lit = GetSysColor(soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT);
    outer.shaded = GetSysColor(COLOR_3DDKSHADOW);
  } else {
    outer.lit = GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW);
    outer.shaded = GetSysColor(COLOR_3DHILIGHT);
  }
  if (i == BDR_RAISEDINNER) {
    inner.lit = GetSysColor(soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT);
    inner.shaded = GetSysColor(COLOR_3DSHADOW);
  } else {
    inner.lit = GetSysColor(soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW);
    inner.shaded = GetSysColor(COLOR_3DLIGHT);
  }
}

void FillWith(Raster& raster, COLORREF color, const RECT& r) {
  raster.UseColor(color);
  raster.FillLogicalRect(r);
}

// One ring on the sides in `flags`; shrinks `r` by the sides drawn.
void DrawRing(Raster& raster, const Ring& ring, UINT flags, RECT& r) {
  if (!ring.present || r.right <= r.left || r.bottom <= r.top) return;
  LONG rightEnd = r.right - ((flags & BF_RIGHT) ? 1 : 0);
  LONG bottomEnd = r.bottom - ((flags & BF_BOTTOM) ? 1 : 0);
  if (flags & BF_LEFT) FillWith(raster, ring.lit, RECT{r.left, r.top, r.left + 1, bottomEnd});
  if (flags & BF_TOP) FillWith(raster, ring.lit, RECT{r.left, r.top, rightEnd, r.top + 1});
  if (flags & BF_RIGHT) FillWith(raster, ring.shaded, RECT{r.right - 1, r.top, r.right, r.bottom});
  if (flags & BF_BOTTOM) FillWith(raster, ring.shaded, RECT{r.left, r.bottom - 1, r.right, r.bottom});
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

COLORREF MiddleColor(UINT flags) { return GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE); }

// A diagonal edge across the largest square that fits at the rectangle's left (ending right)
// or right (ending left) side: the line ends at the corner the flags name. Lines ending at the
// top are lit, those ending at the bottom shaded. The middle is the triangle on the side of the
// corner below or above the end point (towards the start row); the inner ring runs one pixel
// towards it.
BOOL DrawDiagonal(Raster& raster, RECT* rect, const Ring& outer, const Ring& inner, UINT flags, const RECT& visible) {
  RECT r = *rect;
  long long size = std::min(0LL + r.right - r.left, 0LL + r.bottom - r.top);
  if (size <= 0) return TRUE;
  bool endTop = flags & BF_TOP, endRight = flags & BF_RIGHT;
  int sx = endRight ? 1 : -1, sy = endTop ? -1 : 1;
  POINT start{endRight ? r.left : r.right - 1, endTop ? r.bottom - 1 : r.top};
  // Only the steps whose row can be seen are drawn: a huge edge costs no more than a small one.
  long long first = sy > 0 ? 0LL + visible.top - start.y : 0LL + start.y - visible.bottom;
  long long last = sy > 0 ? 0LL + visible.bottom - start.y : 0LL + start.y - visible.top;
  first = std::max(first, 0LL);
  last = std::min(last, size - 1);
  auto fill = [&](long long x0, long long y, long long x1) {
    auto fit = [](long long v) { return static_cast<LONG>(std::clamp(v, -(1LL << 30), 1LL << 30)); };
    raster.FillLogicalRect(RECT{fit(x0), fit(y), fit(x1), fit(y + 1)});
  };
  long long endX = start.x + sx * (size - 1);
  if (flags & BF_MIDDLE) {
    raster.UseColor(MiddleColor(flags));
    for (long long k = first; k <= last; ++k) {
      long long x = start.x + sx * k, y = start.y + sy * k;
      fill(std::min(x, endX), y, std::max(x, endX) + 1);
    }
  }
  int ringIndex = 0;
  for (const Ring* ring : {&outer, &inner}) {
    if (!ring->present) continue;
    raster.UseColor(endTop ? ring->lit : ring->shaded);
    for (long long k = first; k <= last && k + ringIndex < size; ++k) {
      long long x = start.x + sx * (k + ringIndex), y = start.y + sy * k;
      fill(x, y, x + 1);
    }
    ++ringIndex;
  }
  if (flags & BF_ADJUST) {
    if (endRight) rect->left += ringIndex;
    else rect->right -= ringIndex;
    if (endTop) rect->bottom -= ringIndex;
    else rect->top += ringIndex;
  }
  return TRUE;
}
}  // namespace

BOOL FramePainter::Edge(RECT* rect, UINT edge, UINT flags) {
  Ring outer, inner;
  RingColors(edge, flags, outer, inner);
  if (flags & BF_DIAGONAL) {
    cairo_rectangle_int_t e;
    cairo_region_get_extents(scope_.Clip(), &e);
    POINT o = scope_.ToSurface(POINT{0, 0});
    RECT visible{e.x - o.x, e.y - o.y, e.x + e.width - o.x, e.y + e.height - o.y};
    return DrawDiagonal(raster_, rect, outer, inner, flags, visible);
  }
  RECT r = *rect;
  DrawRing(raster_, outer, flags, r);
  DrawRing(raster_, inner, flags, r);
  if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top) Fill(r, MiddleColor(flags));
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

void FramePainter::Fill(const RECT& logical, COLORREF color) {
  raster_.UseColor(color);
  raster_.FillLogicalRect(logical);
}

void FramePainter::FillSys(const RECT& logical, int colorIndex) { Fill(logical, GetSysColor(colorIndex)); }

void FramePainter::FillRegion(const cairo_region_t* region, COLORREF color) {
  raster_.UseColor(color);
  for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    raster_.FillLogicalRect(RECT{r.x, r.y, r.x + r.width, r.y + r.height});
  }
}

void FramePainter::Dither(const RECT& logical, COLORREF first, COLORREF second) {
  POINT device = scope_.ToSurface(POINT{0, 0});
  for (LONG y = logical.top; y < logical.bottom; ++y)
    for (LONG x = logical.left; x < logical.right; ++x) {
      bool even = ((x + device.x) + (y + device.y)) % 2 == 0;
      Fill(RECT{x, y, x + 1, y + 1}, even ? first : second);
    }
}

void FramePainter::Glyph(const char* const* rows, int height, POINT origin, int scale, COLORREF color) {
  raster_.UseColor(color);
  for (int y = 0; y < height; ++y)
    for (int x = 0; rows[y][x]; ++x)
      if (rows[y][x] == '#') {
        LONG left = origin.x + x * scale, top = origin.y + y * scale;
        raster_.FillLogicalRect(RECT{left, top, left + scale, top + scale});
      }
}

int FramePainter::FitScale(const RECT& area, int width, int height) {
  int scale = std::min((area.right - area.left) / width, (area.bottom - area.top) / height);
  return std::max(scale, 1);
}

POINT FramePainter::Centre(const RECT& area, int width, int height) {
  return POINT{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  return FramePainter(scope, *dc).Edge(rect, edge, flags);
}

}  // namespace kestrel::platform
