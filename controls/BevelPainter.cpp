#include "controls/BevelPainter.h"

#include "controls/BorderPainter.h"
#include "controls/GdiScope.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

using namespace platform;

namespace {

bool Vertical(TVnBorderSide side) { return side == ebsLeft || side == ebsRight; }

}  // namespace

TBevelColors BevelColors(TVnBevelStyle style, TColor spaceColor) {
  switch (style) {
    case bvSpace: return {spaceColor, spaceColor};
    case bvLowered: return {clBtnShadow, clBtnHighlight};
    default: return {clBtnHighlight, clBtnShadow};
  }
}

TRect PaintBevel(HDC dc, const TRect& rect, TVnBevelStyle style, int width, TColor spaceColor) {
  TRect r = rect;
  if (style == bvNone) return r;
  const TBevelColors colors = BevelColors(style, spaceColor);
  PaintFrame3D(dc, r, colors.TopLeft, colors.BottomRight, width);
  return r;
}

TRect PaintBevels(HDC dc, const TRect& rect, TVnBevelStyle outer, TVnBevelStyle inner, int width, TColor spaceColor) {
  return PaintBevel(dc, PaintBevel(dc, rect, outer, width, spaceColor), inner, width, spaceColor);
}

TRect GrabHandleStrip(const TRect& area, TVnBorderSide side, int size) {
  switch (side) {
    case ebsLeft: return {area.left, area.top, area.left + size, area.bottom};
    case ebsRight: return {area.right - size, area.top, area.right, area.bottom};
    case ebsTop: return {area.left, area.top, area.right, area.top + size};
    default: return {area.left, area.bottom - size, area.right, area.bottom};
  }
}

TRect PaintGrabHandle(HDC dc, TRect& area, TVnBorderSide side, int size, TVnBevelStyle bevelKind, TColor color) {
  // A handle without thickness has no strip to paint its grip lines in.
  if (bevelKind == bvNone || size <= 0) return {};
  const TRect strip = GrabHandleStrip(area, side, size);
  switch (side) {
    case ebsLeft: area.left += size; break;
    case ebsRight: area.right -= size; break;
    case ebsTop: area.top += size; break;
    default: area.bottom -= size; break;
  }
  FillRect(dc, &strip, OwnedBrush(CreateSolidBrush(ColorToRGB(color))).get());

  const bool raised = bevelKind == bvRaised;
  const COLORREF first = ColorToRGB(raised ? clBtnHighlight : clBtnShadow);
  const COLORREF second = ColorToRGB(raised ? clBtnShadow : clBtnHighlight);
  if (Vertical(side)) {
    const int x = strip.left + (strip.right - strip.left) / 2;
    DrawLine(dc, first, x, strip.top + 1, x, strip.bottom - 1);
    DrawLine(dc, second, x + 1, strip.top + 1, x + 1, strip.bottom - 1);
  } else {
    const int y = strip.top + (strip.bottom - strip.top) / 2;
    DrawLine(dc, first, strip.left + 1, y, strip.right - 1, y);
    DrawLine(dc, second, strip.left + 1, y + 1, strip.right - 1, y + 1);
  }
  return strip;
}

}  // namespace kestrel
