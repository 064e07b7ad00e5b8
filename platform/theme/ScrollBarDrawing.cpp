// Scroll-bar arrows, thumbs, tracks, grippers and the size box.

#include <algorithm>

#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
constexpr int kThumbInset = 3;

COLORREF TrackOf(PartLook look) {
  return ColorOf(look, {tk::kSurfaceAlt, tk::kControlHot, tk::kControlPressed, tk::kSurfaceAlt});
}

void Arrow(ThemeCanvas& canvas, int state, const RECT& r) {
  int direction, look;
  if (state >= ABS_UPHOVER) {
    direction = state - ABS_UPHOVER;
    look = SCRBS_NORMAL;
  } else {
    direction = state <= 0 ? 0 : (state - 1) / 4;
    look = state <= 0 ? SCRBS_NORMAL : (state - 1) % 4 + 1;
  }
  const PartLook partLook = LookOf(look);
  canvas.Fill(r, tk::kSurfaceAlt);
  if (partLook == PartLook::Hot || partLook == PartLook::Pressed)
    canvas.RoundFill(Inset(r, 1), tk::kRadius - 1, TrackOf(partLook));
  const COLORREF glyph = partLook == PartLook::Disabled ? tk::kTextDisabled
                         : partLook == PartLook::Normal ? tk::kScrollArrow
                                                        : tk::kText;
  DrawChevron(canvas, r, direction, glyph);
}

void Thumb(ThemeCanvas& canvas, bool vertical, int state, const RECT& r) {
  canvas.Fill(r, tk::kSurfaceAlt);
  const PartLook look = LookOf(state);
  if (look == PartLook::Disabled) return;
  const COLORREF color = ColorOf(look, {tk::kScrollThumb, tk::kScrollThumbHot, tk::kScrollThumbPressed, 0});
  const RECT thumb = vertical ? Inset(r, kThumbInset, 1) : Inset(r, 1, kThumbInset);
  canvas.RoundFill(thumb, tk::kRadius, color);
}

// Three short ridges across the thumb's middle.
void Gripper(ThemeCanvas& canvas, bool vertical, const RECT& r) {
  const int length = std::min(5, (vertical ? Width(r) : Height(r)) - 2 * kThumbInset - 2);
  if (length <= 0 || (vertical ? Height(r) : Width(r)) < 7) return;
  const RECT area = vertical ? Centred(r, length, 5) : Centred(r, 5, length);
  for (int i = 0; i < 3; ++i) {
    const RECT ridge = vertical ? RECT{area.left, area.top + 2 * i, area.right, area.top + 2 * i + 1}
                                : RECT{area.left + 2 * i, area.top, area.left + 2 * i + 1, area.bottom};
    canvas.Fill(ridge, tk::kSurfaceAlt);
  }
}
}  // namespace

void DrawChevron(ThemeCanvas& canvas, const RECT& r, int direction, COLORREF color) {
  const float cx = static_cast<float>(r.left + Width(r) / 2), cy = static_cast<float>(r.top + Height(r) / 2);
  switch (direction) {
    case 0: canvas.Polyline({{cx - 3, cy + 1}, {cx, cy - 2}, {cx + 3, cy + 1}}, color, 1.5f); break;
    case 1: canvas.Polyline({{cx - 3, cy - 1}, {cx, cy + 2}, {cx + 3, cy - 1}}, color, 1.5f); break;
    case 2: canvas.Polyline({{cx + 1, cy - 3}, {cx - 2, cy}, {cx + 1, cy + 3}}, color, 1.5f); break;
    default: canvas.Polyline({{cx - 1, cy - 3}, {cx + 2, cy}, {cx - 1, cy + 3}}, color, 1.5f); break;
  }
}

bool DrawScrollBarPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  switch (part) {
    case SBP_ARROWBTN:
      if (state > ABS_RIGHTHOVER) return false;
      Arrow(canvas, state, r);
      return true;
    case SBP_THUMBBTNHORZ:
    case SBP_THUMBBTNVERT:
      if (state > SCRBS_HOVER) return false;
      Thumb(canvas, part == SBP_THUMBBTNVERT, state, r);
      return true;
    case SBP_LOWERTRACKHORZ:
    case SBP_UPPERTRACKHORZ:
    case SBP_LOWERTRACKVERT:
    case SBP_UPPERTRACKVERT:
      if (state > SCRBS_HOVER) return false;
      canvas.Fill(r, TrackOf(LookOf(state)));
      return true;
    case SBP_GRIPPERHORZ:
    case SBP_GRIPPERVERT:
      if (state > SCRBS_HOVER) return false;
      Gripper(canvas, part == SBP_GRIPPERVERT, r);
      return true;
    case SBP_SIZEBOX:
      if (state > SZB_LEFTALIGN) return false;
      canvas.Fill(r, tk::kSurfaceAlt);
      DrawGripperDots(canvas, r, state == SZB_LEFTALIGN);
      return true;
    default: return false;
  }
}

}  // namespace kestrel::platform
