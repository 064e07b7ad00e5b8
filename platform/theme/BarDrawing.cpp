// Tool-bar buttons and separators, status panes and gripper, tool tips, progress bars, and the
// plain face of the classes without drawings of their own.

#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
constexpr int kBarThickness = 4;

void ToolbarButton(ThemeCanvas& canvas, int state, const RECT& r) {
  switch (state) {
    case TS_HOT: canvas.RoundFill(r, tk::kRadius, tk::kControlHot); break;
    case TS_PRESSED:
    case TS_HOTCHECKED: canvas.RoundFill(r, tk::kRadius, tk::kControlPressed); break;
    case TS_CHECKED:
      canvas.RoundFill(r, tk::kRadius, tk::kControlPressed);
      canvas.RoundFrame(r, tk::kRadius, tk::kStroke);
      break;
    default: break;  // normal and disabled buttons show no face
  }
}

COLORREF FillOf(int state) {
  switch (state) {
    case PBFS_ERROR: return tk::kError;
    case PBFS_PAUSED: return tk::kPaused;
    default: return tk::kAccent;
  }
}

// Progress parts: a 4-px band centred across the part (a track or the accent bar).
void ProgressBand(ThemeCanvas& canvas, bool vertical, const RECT& r, COLORREF color) {
  const RECT band = vertical ? Centred(r, kBarThickness, Height(r)) : Centred(r, Width(r), kBarThickness);
  canvas.RoundFill(band, kBarThickness / 2, color);
}
}  // namespace

void DrawGripperDots(ThemeCanvas& canvas, const RECT& r, bool mirrored) {
  // Rows of 3, 2 and 1 dots from the bottom, each 2 × 2 on a 4-px pitch.
  for (int row = 0; row < 3; ++row)
    for (int dot = 0; dot < 3 - row; ++dot) {
      const int x = mirrored ? r.left + 2 + 4 * dot : r.right - 4 - 4 * dot;
      const int y = r.bottom - 4 - 4 * row;
      canvas.Fill({x, y, x + 2, y + 2}, tk::kGripper);
    }
}

bool DrawToolbarPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  if (state > TS_HOTCHECKED) return false;
  switch (part) {
    case TP_BUTTON:
    case TP_DROPDOWNBUTTON:
    case TP_SPLITBUTTON:
    case TP_SPLITBUTTONDROPDOWN: ToolbarButton(canvas, state, r); return true;
    case TP_SEPARATOR:  // between buttons side by side: a vertical line
      canvas.Fill(Centred(r, 1, Height(r) - 4), tk::kStroke);
      return true;
    case TP_SEPARATORVERT: canvas.Fill(Centred(r, Width(r) - 4, 1), tk::kStroke); return true;
    default: return false;
  }
}

bool DrawStatusPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  if (state > 1) return false;
  switch (part) {
    case 0:
    case SP_PANE:
    case SP_GRIPPERPANE: canvas.Fill({r.right - 1, r.top + 2, r.right, r.bottom - 2}, tk::kStroke); return true;
    case SP_GRIPPER: DrawGripperDots(canvas, r, false); return true;
    default: return false;
  }
}

bool DrawTooltipPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  switch (part) {
    case TTP_STANDARD:
    case TTP_STANDARDTITLE:
      if (state > TTSS_LINK) return false;
      canvas.Fill(r, tk::kTooltipFace);
      canvas.Frame(r, tk::kTooltipBorder);
      return true;
    case TTP_BALLOON:
    case TTP_BALLOONTITLE:
      if (state > TTSS_LINK) return false;
      canvas.RoundFill(r, tk::kRadius, tk::kTooltipBorder);
      canvas.RoundFill(Inset(r, 1), tk::kRadius - 1, tk::kTooltipFace);
      return true;
    case TTP_CLOSE: {
      if (state > 3) return false;
      const PartLook look = LookOf(state);
      if (look == PartLook::Hot || look == PartLook::Pressed)
        canvas.RoundFill(r, tk::kRadius, look == PartLook::Hot ? tk::kControlHot : tk::kControlPressed);
      DrawCross(canvas, r, 8, tk::kText);
      return true;
    }
    default: return false;
  }
}

bool DrawProgressPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  switch (part) {
    case PP_BAR:
    case PP_BARVERT:
      if (state > 1) return false;
      ProgressBand(canvas, part == PP_BARVERT, r, tk::kControlPressed);  // visible on window faces
      return true;
    case PP_CHUNK:
    case PP_CHUNKVERT:
      if (state > 1) return false;
      ProgressBand(canvas, part == PP_CHUNKVERT, r, tk::kAccent);
      return true;
    case PP_FILL:
    case PP_FILLVERT:
      if (state > PBFS_PARTIAL) return false;
      ProgressBand(canvas, part == PP_FILLVERT, r, FillOf(state));
      return true;
    default: return false;
  }
}

bool DrawPlainPart(ThemeCanvas& canvas, int /*part*/, int state, const RECT& r) {
  const bool disabled = LookOf(state) == PartLook::Disabled;
  canvas.RoundFill(r, tk::kRadius, tk::kStroke);
  canvas.RoundFill(Inset(r, 1), tk::kRadius - 1, disabled ? tk::kSurfaceAlt : tk::kControl);
  return true;
}

}  // namespace kestrel::platform
