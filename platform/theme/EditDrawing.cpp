// Edit fields: the bordered field in all its states, the plain background, caret and password dot.

#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
enum class FieldLook { Normal, Hot, Focused, Disabled, ReadOnly };

void Field(ThemeCanvas& canvas, FieldLook look, const RECT& r) {
  const bool muted = look == FieldLook::Disabled || look == FieldLook::ReadOnly;
  canvas.RoundFill(r, tk::kRadius, look == FieldLook::Hot ? tk::kStrokeStrong : tk::kStroke);
  canvas.RoundFill(Inset(r, 1), tk::kRadius - 1, muted ? tk::kSurfaceAlt : tk::kSurface);
  if (look == FieldLook::Focused) canvas.Fill({r.left + 2, r.bottom - 1, r.right - 2, r.bottom}, tk::kAccent);
}

// EP_EDITTEXT states (ETS_*).
FieldLook TextLook(int state) {
  switch (state) {
    case ETS_HOT: return FieldLook::Hot;
    case ETS_FOCUSED:
    case ETS_SELECTED: return FieldLook::Focused;
    case ETS_DISABLED: return FieldLook::Disabled;
    case ETS_READONLY: return FieldLook::ReadOnly;
    default: return FieldLook::Normal;
  }
}

// The border parts' states (EPSN_* and friends): normal, hot, focused, disabled.
FieldLook BorderLook(int state) {
  switch (state) {
    case EPSN_HOT: return FieldLook::Hot;
    case EPSN_FOCUSED: return FieldLook::Focused;
    case EPSN_DISABLED: return FieldLook::Disabled;
    default: return FieldLook::Normal;
  }
}
}  // namespace

bool DrawEditPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  switch (part) {
    case 0:  // the class as a whole: the field's border as the edit's own border is drawn
    case EP_EDITBORDER_NOSCROLL:
    case EP_EDITBORDER_HSCROLL:
    case EP_EDITBORDER_VSCROLL:
    case EP_EDITBORDER_HVSCROLL:
      if (state > EPSN_DISABLED) return false;
      Field(canvas, BorderLook(state), r);
      return true;
    case EP_EDITTEXT:
    case EP_BACKGROUNDWITHBORDER:
      if (state > ETS_CUEBANNER) return false;
      Field(canvas, TextLook(state), r);
      return true;
    case EP_BACKGROUND:
      if (state > ETS_CUEBANNER) return false;
      canvas.Fill(r, state == ETS_DISABLED || state == ETS_READONLY ? tk::kSurfaceAlt : tk::kSurface);
      return true;
    case EP_CARET: canvas.Fill(r, tk::kText); return true;
    case EP_PASSWORD:
      canvas.Ellipse(Centred(r, 7, 7), state == ETS_DISABLED ? tk::kTextDisabled : tk::kText);
      return true;
    default: return false;
  }
}

}  // namespace kestrel::platform
