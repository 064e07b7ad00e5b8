#include "platform/theme/internal/ThemeEdge.h"

#include "platform/gdi/Frames.h"
#include "platform/theme/internal/ThemeCanvas.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
struct RingColors {
  COLORREF lit;
  COLORREF shaded;
};

RingColors ColorsOf(bool outer, UINT ring, UINT flags, COLORREF face) {
  if (flags & BF_MONO)
    return outer ? RingColors{tk::kStrokeStrong, tk::kStrokeStrong} : RingColors{tk::kSurface, tk::kSurface};
  if (flags & BF_FLAT) return outer ? RingColors{tk::kStroke, tk::kStroke} : RingColors{face, face};
  const bool raised = ring & (BDR_RAISEDOUTER | BDR_RAISEDINNER);
  if (outer) return raised ? RingColors{tk::kSurface, tk::kStrokeStrong} : RingColors{tk::kStrokeStrong, tk::kSurface};
  return raised ? RingColors{face, tk::kStroke} : RingColors{tk::kStroke, face};
}

// One ring on the sides in `flags`; the bottom and right lines own their corners.
void Ring(ThemeCanvas& canvas, RECT& r, RingColors colors, UINT flags) {
  if (flags & BF_BOTTOM) canvas.Fill({r.left, r.bottom - 1, r.right, r.bottom}, colors.shaded);
  if (flags & BF_RIGHT) canvas.Fill({r.right - 1, r.top, r.right, r.bottom}, colors.shaded);
  if (flags & BF_TOP) canvas.Fill({r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top + 1}, colors.lit);
  if (flags & BF_LEFT) canvas.Fill({r.left, r.top, r.left + 1, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, colors.lit);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}
}  // namespace

RECT DrawFlatEdge(HDC hdc, const RECT& rect, UINT edge, UINT flags, COLORREF face) {
  RECT r = rect;
  if (flags & BF_DIAGONAL) {
    DrawEdge(hdc, &r, edge, flags | BF_ADJUST);
    return r;
  }
  ThemeCanvas canvas(hdc);
  if (edge & BDR_OUTER) Ring(canvas, r, ColorsOf(true, edge & BDR_OUTER, flags, face), flags);
  if (edge & BDR_INNER) Ring(canvas, r, ColorsOf(false, edge & BDR_INNER, flags, face), flags);
  if (flags & BF_MIDDLE) canvas.Fill(r, face);
  return r;
}

}  // namespace kestrel::platform
