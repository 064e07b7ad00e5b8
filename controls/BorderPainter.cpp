#include "controls/BorderPainter.h"

#include <algorithm>
#include <cstdint>

#include "controls/GdiScope.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

using namespace platform;

namespace {

bool IsEmpty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

TVnBorderSides SidesFromEdgeFlags(unsigned flags) {
  TVnBorderSides sides;
  if (flags & BF_LEFT) sides.Include(ebsLeft);
  if (flags & BF_TOP) sides.Include(ebsTop);
  if (flags & BF_RIGHT) sides.Include(ebsRight);
  if (flags & BF_BOTTOM) sides.Include(ebsBottom);
  return sides;
}

// The strokes of the flat border kinds: inclusive pixel runs painted with one brush, each
// belonging to one side and skipped when that side is absent.
class StrokePainter {
 public:
  StrokePainter(HDC dc, TVnBorderSides sides) : dc_(dc), sides_(sides) {}

  void Column(HBRUSH brush, TVnBorderSide side, int x, int y0, int y1) {
    Fill(brush, side, TRect{x, y0, x + 1, y1 + 1});
  }
  void Row(HBRUSH brush, TVnBorderSide side, int y, int x0, int x1) { Fill(brush, side, TRect{x0, y, x1 + 1, y + 1}); }
  bool Has(TVnBorderSide side) const { return sides_.Contains(side); }

 private:
  void Fill(HBRUSH brush, TVnBorderSide side, const TRect& r) {
    if (sides_.Contains(side)) FillRect(dc_, &r, brush);
  }
  HDC dc_;
  TVnBorderSides sides_;
};

struct BorderBrushes {
  explicit BorderBrushes(const TKsBorderColors& c)
      : face(CreateSolidBrush(ColorToRGB(c.Face))),
        window(CreateSolidBrush(ColorToRGB(c.Window))),
        highlight(CreateSolidBrush(ColorToRGB(c.Highlight))) {}
  OwnedBrush face;
  OwnedBrush window;
  OwnedBrush highlight;
};

unsigned EdgeOfKind(TKsFlatBorderType kind) {
  switch (kind) {
    case fbtSunken: return EDGE_SUNKEN;
    case fbtSunkenInner: return BDR_SUNKENINNER;
    case fbtSunkenOuter: return BDR_SUNKENOUTER;
    case fbtRaised: return EDGE_RAISED;
    case fbtRaisedInner: return BDR_RAISEDINNER;
    case fbtRaisedOuter: return BDR_RAISEDOUTER;
    case fbtBump:
    case fbtBigBump:
    case fbtFramed: return EDGE_BUMP;
    case fbtEtched: return EDGE_ETCHED;
    default: return 0;
  }
}

unsigned EdgeFlagsFromSides(TVnBorderSides sides) {
  unsigned flags = 0;
  if (sides.Contains(ebsLeft)) flags |= BF_LEFT;
  if (sides.Contains(ebsTop)) flags |= BF_TOP;
  if (sides.Contains(ebsRight)) flags |= BF_RIGHT;
  if (sides.Contains(ebsBottom)) flags |= BF_BOTTOM;
  return flags;
}

// Column L, row T, column Rt-1 and row B-1 of R: the innermost edge ring becomes all face.
void FaceInnerRing(StrokePainter& s, HBRUSH face, const TRect& r) {
  s.Column(face, ebsLeft, r.left, r.top, r.bottom - 1);
  s.Row(face, ebsTop, r.top, r.left, r.right - 1);
  s.Column(face, ebsRight, r.right - 1, r.top, r.bottom - 1);
  s.Row(face, ebsBottom, r.bottom - 1, r.left, r.right - 1);
}

// Column Rt and row B just outside R: the bottom-right of the edge ring around it.
void OuterBottomRight(StrokePainter& s, HBRUSH brush, const TRect& r) {
  s.Column(brush, ebsRight, r.right, r.top - 1, r.bottom);
  s.Row(brush, ebsBottom, r.bottom, r.left - 1, r.right);
}

void BumpStrokes(StrokePainter& s, HBRUSH highlight, const TRect& r) {
  s.Column(highlight, ebsLeft, r.left - 1, r.top - 1, r.bottom - 1);
  s.Row(highlight, ebsTop, r.top - 1, r.left, r.right - 1);
  s.Column(highlight, ebsRight, r.right + 1, r.top - 2, r.bottom + 1);
  s.Row(highlight, ebsBottom, r.bottom + 1, r.left - 2, r.right + 1);
}

void EdgeStrokes(StrokePainter& s, const BorderBrushes& b, TKsFlatBorderType kind, const TRect& r) {
  switch (kind) {
    case fbtSunkenInner:
      FaceInnerRing(s, b.face.get(), r);
      OuterBottomRight(s, b.face.get(), r);
      break;
    case fbtSunkenOuter:
      s.Column(b.face.get(), ebsLeft, r.left, r.top, r.bottom - 2);
      s.Row(b.face.get(), ebsTop, r.top, r.left, r.right - 2);
      s.Column(b.face.get(), ebsRight, r.right - 1, r.top, r.bottom - 1);
      s.Row(b.face.get(), ebsBottom, r.bottom - 1, r.left, r.right - 1);
      OuterBottomRight(s, b.window.get(), r);
      break;
    case fbtRaisedInner: FaceInnerRing(s, b.face.get(), r); break;
    case fbtRaisedOuter:
      FaceInnerRing(s, b.face.get(), r);
      OuterBottomRight(s, b.highlight.get(), r);
      break;
    case fbtBump: BumpStrokes(s, b.highlight.get(), r); break;
    case fbtBigBump:
      BumpStrokes(s, b.highlight.get(), r);
      s.Column(b.window.get(), ebsLeft, r.left - 2, r.top - 2, r.bottom);
      s.Row(b.window.get(), ebsTop, r.top - 2, r.left - 2, r.right);
      s.Column(b.window.get(), ebsRight, r.right, r.top - 2, r.bottom);
      s.Row(b.window.get(), ebsBottom, r.bottom, r.left - 2, r.right);
      break;
    case fbtEtched: s.Row(b.face.get(), ebsTop, r.top - 1, s.Has(ebsLeft) ? r.left - 1 : r.left, r.right - 1); break;
    case fbtFramed:
      s.Column(b.face.get(), ebsLeft, r.left - 1, r.top, r.bottom - 1);
      s.Row(b.face.get(), ebsTop, r.top - 1, r.left - 2, r.right);
      s.Column(b.highlight.get(), ebsRight, r.right + 1, r.top - 2, r.bottom + 1);
      s.Row(b.highlight.get(), ebsBottom, r.bottom + 1, r.left - 2, r.right + 1);
      break;
    default: break;
  }
}

void EdgeBorder(HDC dc, const TRect& rect, TColor backColor, TVnBorderSides sides, TKsFlatBorderType kind,
                const TKsBorderColors& c) {
  TRect r = rect;
  PaintEdge3D(dc, r, EdgeOfKind(kind), EdgeFlagsFromSides(sides) | BF_ADJUST, c.Face, c.DkShadow, c.Highlight,
              c.Shadow);
  if (kind == fbtRaised) {
    TRect inner = PaintBevelRing(dc, r, backColor, backColor, sides);
    PaintBevelRing(dc, inner, backColor, backColor, sides);
    PaintBevelRing(dc, r, c.Highlight, c.Shadow, sides);
    return;
  }
  BorderBrushes brushes(c);
  StrokePainter strokes(dc, sides);
  EdgeStrokes(strokes, brushes, kind, r);
}

// The kinds without a 3-D edge: two rings, then what the kind paints over the outer one.
void LineBorder(HDC dc, const TRect& rect, TColor lineColor, TColor backColor, TVnBorderSides sides,
                TKsFlatBorderType kind) {
  TColor outer = kind == fbtColorLineBorder ? lineColor : backColor;
  TRect inner = PaintBevelRing(dc, rect, outer, outer, sides);
  PaintBevelRing(dc, inner, backColor, backColor, sides);
  switch (kind) {
    case fbtFlat: PaintBevelRing(dc, rect, clBtnShadow, clBtnHighlight, sides); break;
    case fbtLine:
      DrawLine(dc, ColorToRGB(clWindowFrame), rect.left, rect.bottom - 1, rect.right, rect.bottom - 1);
      break;
    case fbtLineBorder: PaintBevelRing(dc, rect, clWindowFrame, clWindowFrame, sides); break;
    default: break;
  }
}

}  // namespace

TRect PaintBevelRing(HDC dc, const TRect& rect, TColor topLeftColor, TColor bottomRightColor, TVnBorderSides sides) {
  TRect inner = rect;
  if (sides.Contains(ebsLeft)) ++inner.left;
  if (sides.Contains(ebsTop)) ++inner.top;
  if (sides.Contains(ebsRight)) --inner.right;
  if (sides.Contains(ebsBottom)) --inner.bottom;
  if (IsEmpty(rect)) return inner;
  COLORREF tl = ColorToRGB(topLeftColor);
  COLORREF br = ColorToRGB(bottomRightColor);
  if (sides.Contains(ebsLeft)) DrawLine(dc, tl, rect.left, rect.top, rect.left, rect.bottom);
  if (sides.Contains(ebsTop)) DrawLine(dc, tl, rect.left, rect.top, rect.right, rect.top);
  if (sides.Contains(ebsRight)) {
    DrawLine(dc, br, rect.right - 1, rect.top, rect.right - 1, rect.bottom);
  }
  if (sides.Contains(ebsBottom)) {
    DrawLine(dc, br, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1);
  }
  return inner;
}

void PaintEdge3D(HDC dc, TRect& rect, unsigned edgeKind, unsigned flags, TColor face, TColor dkShadow, TColor highlight,
                 TColor shadow) {
  if (flags & BF_DIAGONAL) {
    DrawEdge(dc, &rect, edgeKind, flags);
    return;
  }
  TVnBorderSides sides = SidesFromEdgeFlags(flags);
  TRect r = rect;
  if (edgeKind & BDR_OUTER) {
    r = (edgeKind & BDR_SUNKENOUTER) ? PaintBevelRing(dc, r, shadow, highlight, sides)
                                     : PaintBevelRing(dc, r, face, dkShadow, sides);
  }
  if (edgeKind & BDR_INNER) {
    r = (edgeKind & BDR_SUNKENINNER) ? PaintBevelRing(dc, r, dkShadow, face, sides)
                                     : PaintBevelRing(dc, r, highlight, shadow, sides);
  }
  if ((flags & BF_MIDDLE) && !IsEmpty(r)) {
    FillRect(dc, &r, OwnedBrush(CreateSolidBrush(ColorToRGB(face))).get());
  }
  if (flags & BF_ADJUST) rect = r;
}

void PaintFlatBorder(HDC dc, const TRect& rect, TColor lineColor, TColor backColor, bool active, bool enabled,
                     TVnBorderSides sides, TKsFlatBorderType borderType, const TKsBorderColors& colors) {
  (void)active;
  (void)enabled;
  if (IsEmpty(rect)) return;
  if (EdgeOfKind(borderType) != 0) {
    EdgeBorder(dc, rect, backColor, sides, borderType, colors);
  } else {
    LineBorder(dc, rect, lineColor, backColor, sides, borderType);
  }
}

void PaintFrame3D(HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  int drawn = 0;
  for (; drawn < width && !IsEmpty(rect); ++drawn) {
    rect = PaintBevelRing(dc, rect, topColor, bottomColor, AllBorderSides);
  }
  // Past the point where nothing is left to paint the rectangle only keeps shrinking.
  if (drawn < width) {
    auto shrink = [](int v, std::int64_t by) {
      return static_cast<int>(std::clamp<std::int64_t>(v + by, INT32_MIN, INT32_MAX));
    };
    std::int64_t rest = static_cast<std::int64_t>(width) - drawn;
    rect =
        TRect{shrink(rect.left, rest), shrink(rect.top, rest), shrink(rect.right, -rest), shrink(rect.bottom, -rest)};
  }
}

void PaintFrame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  if (canvas != nullptr) PaintFrame3D(canvas->Handle(), rect, topColor, bottomColor, width);
}

}  // namespace kestrel
