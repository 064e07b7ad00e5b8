// Window frames, captions and caption buttons; the window class's scroll parts reuse the
// scroll bar's drawings.

#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
COLORREF CaptionFace(int state) { return state == CS_ACTIVE || state == 0 ? tk::kCaptionActive : tk::kCaptionInactive; }

// The frame band in the caption's colour with the one-pixel frame line along its outer side.
void FrameBand(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  canvas.Fill(r, CaptionFace(state));
  switch (part) {
    case WP_FRAMELEFT:
    case WP_SMALLFRAMELEFT: canvas.Fill({r.left, r.top, r.left + 1, r.bottom}, tk::kFrame); break;
    case WP_FRAMERIGHT:
    case WP_SMALLFRAMERIGHT: canvas.Fill({r.right - 1, r.top, r.right, r.bottom}, tk::kFrame); break;
    default:
      canvas.Fill({r.left, r.bottom - 1, r.right, r.bottom}, tk::kFrame);
      canvas.Fill({r.left, r.top, r.left + 1, r.bottom}, tk::kFrame);
      canvas.Fill({r.right - 1, r.top, r.right, r.bottom}, tk::kFrame);
      break;
  }
}

void Glyph(ThemeCanvas& canvas, int part, const RECT& r, COLORREF color) {
  const RECT box = Centred(r, 10, 10);
  const float x = static_cast<float>(box.left), y = static_cast<float>(box.top);
  switch (part) {
    case WP_MINBUTTON:
    case WP_MDIMINBUTTON: canvas.Fill({box.left, box.top + 5, box.right, box.top + 6}, color); break;
    case WP_MAXBUTTON: canvas.Frame(box, color); break;
    case WP_RESTOREBUTTON:
    case WP_MDIRESTOREBUTTON:
      canvas.Frame({box.left, box.top + 2, box.right - 2, box.bottom}, color);
      canvas.Polyline({{x + 2, y + 1}, {x + 2, y}, {x + 9, y}, {x + 9, y + 7}, {x + 8, y + 7}}, color, 1.0f);
      break;
    case WP_HELPBUTTON:
    case WP_MDIHELPBUTTON:
      canvas.Polyline(
          {{x + 2, y + 3}, {x + 3, y + 1}, {x + 5, y}, {x + 7, y + 1}, {x + 8, y + 3}, {x + 5, y + 5}, {x + 5, y + 7}},
          color, 1.2f);
      canvas.Fill({box.left + 5, box.bottom - 1, box.left + 6, box.bottom}, color);
      break;
    case WP_SYSBUTTON:
    case WP_MDISYSBUTTON: canvas.RoundFill(Centred(r, 12, 12), 2, tk::kAccent); break;
    default: DrawCross(canvas, r, 10, color); break;
  }
}

bool IsCloseButton(int part) {
  return part == WP_CLOSEBUTTON || part == WP_SMALLCLOSEBUTTON || part == WP_MDICLOSEBUTTON;
}

void CaptionButton(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  const PartLook look = LookOf(state);
  const bool close = IsCloseButton(part);
  COLORREF glyph = look == PartLook::Disabled ? tk::kTextDisabled : tk::kText;
  if (look == PartLook::Hot || look == PartLook::Pressed) {
    COLORREF face = look == PartLook::Hot ? tk::kControlHot : tk::kControlPressed;
    if (close) {
      face = look == PartLook::Hot ? tk::kCloseHot : tk::kCloseHotPressed;
      glyph = tk::kOnAccent;
    }
    canvas.RoundFill(r, tk::kRadius, face);
  }
  Glyph(canvas, part, r, glyph);
}

bool IsCaptionButton(int part) { return part >= WP_SYSBUTTON && part <= WP_MDIHELPBUTTON; }
}  // namespace

void DrawCross(ThemeCanvas& canvas, const RECT& r, int size, COLORREF color) {
  const RECT box = Centred(r, size, size);
  const float x0 = static_cast<float>(box.left), y0 = static_cast<float>(box.top);
  const float x1 = static_cast<float>(box.right - 1), y1 = static_cast<float>(box.bottom - 1);
  canvas.Polyline({{x0, y0}, {x1, y1}}, color, 1.2f);
  canvas.Polyline({{x1, y0}, {x0, y1}}, color, 1.2f);
}

bool DrawWindowPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  if (part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION) {
    if (state > CS_DISABLED) return false;
    canvas.Fill(r, CaptionFace(state));
    return true;
  }
  if (part >= WP_FRAMELEFT && part <= WP_SMALLFRAMEBOTTOM) {
    if (state > FS_INACTIVE) return false;
    FrameBand(canvas, part, state, r);
    return true;
  }
  if (IsCaptionButton(part)) {
    if (state > CBS_DISABLED) return false;
    CaptionButton(canvas, part, state, r);
    return true;
  }
  switch (part) {
    case WP_HORZSCROLL: return DrawScrollBarPart(canvas, SBP_LOWERTRACKHORZ, state, r);
    case WP_VERTSCROLL: return DrawScrollBarPart(canvas, SBP_LOWERTRACKVERT, state, r);
    case WP_HORZTHUMB: return DrawScrollBarPart(canvas, SBP_THUMBBTNHORZ, state, r);
    case WP_VERTTHUMB: return DrawScrollBarPart(canvas, SBP_THUMBBTNVERT, state, r);
    case WP_DIALOG: canvas.Fill(r, tk::kSurfaceAlt); return true;
    default: return false;
  }
}

}  // namespace kestrel::platform
