// Push buttons, check boxes, radio buttons and group boxes.

#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
constexpr int kGlyphSize = 13;

COLORREF FaceOf(PartLook look) {
  return ColorOf(look, {tk::kControl, tk::kControlHot, tk::kControlPressed, tk::kSurfaceAlt});
}

COLORREF AccentOf(PartLook look) {
  return ColorOf(look, {tk::kAccent, tk::kAccentHot, tk::kAccentPressed, tk::kTextDisabled});
}

void PushButton(ThemeCanvas& canvas, int state, const RECT& r) {
  // The default button; its animating state is the one the mouse is over.
  if (state == PBS_DEFAULTED || state == PBS_DEFAULTED_ANIMATING) {
    canvas.RoundFill(r, tk::kRadius, state == PBS_DEFAULTED ? tk::kAccent : tk::kAccentHot);
    return;
  }
  const PartLook look = LookOf(state);
  const bool raised = look == PartLook::Normal || look == PartLook::Hot;
  canvas.RoundFill(r, tk::kRadius, raised ? tk::kStrokeBottom : tk::kStroke);
  canvas.RoundFill({r.left, r.top, r.right, r.bottom - 1}, tk::kRadius, tk::kStroke);
  canvas.RoundFill(Inset(r, 1), tk::kRadius - 1, FaceOf(look));
}

void CheckBox(ThemeCanvas& canvas, int state, const RECT& r) {
  const RECT box = Centred(r, kGlyphSize, kGlyphSize);
  const int group = state <= 0 ? 0 : (state - 1) / 4;  // unchecked, checked, mixed
  const PartLook look = LookOf(state <= 0 ? 0 : (state - 1) % 4 + 1);
  if (group == 0) {
    canvas.RoundFill(box, tk::kRadius, look == PartLook::Disabled ? tk::kTextDisabled : tk::kStrokeStrong);
    canvas.RoundFill(Inset(box, 1), tk::kRadius - 1, look == PartLook::Normal ? tk::kSurface : FaceOf(look));
    return;
  }
  canvas.RoundFill(box, tk::kRadius, AccentOf(look));
  const float x = static_cast<float>(box.left), y = static_cast<float>(box.top);
  if (group == 1) canvas.Polyline({{x + 3, y + 6}, {x + 5, y + 8}, {x + 9, y + 4}}, tk::kOnAccent, 1.6f);
  else canvas.Fill({box.left + 3, box.top + 6, box.right - 3, box.top + 8}, tk::kOnAccent);
}

void RadioButton(ThemeCanvas& canvas, int state, const RECT& r) {
  const RECT circle = Centred(r, kGlyphSize, kGlyphSize);
  const bool checked = state >= RBS_CHECKEDNORMAL;
  const PartLook look = LookOf(state <= 0 ? 0 : (state - 1) % 4 + 1);
  if (!checked) {
    canvas.Ellipse(circle, look == PartLook::Disabled ? tk::kTextDisabled : tk::kStrokeStrong);
    canvas.Ellipse(Inset(circle, 1), look == PartLook::Normal ? tk::kSurface : FaceOf(look));
    return;
  }
  canvas.Ellipse(circle, AccentOf(look));
  canvas.Ellipse(Centred(circle, 5, 5), tk::kOnAccent);
}
}  // namespace

COLORREF ColorOf(PartLook look, const LookColors& colors) {
  switch (look) {
    case PartLook::Hot: return colors.hot;
    case PartLook::Pressed: return colors.pressed;
    case PartLook::Disabled: return colors.disabled;
    default: return colors.normal;
  }
}

PartLook LookOf(int stateInGroup) {
  switch (stateInGroup) {
    case 2: return PartLook::Hot;
    case 3: return PartLook::Pressed;
    case 4: return PartLook::Disabled;
    default: return PartLook::Normal;
  }
}

bool DrawButtonPart(ThemeCanvas& canvas, int part, int state, const RECT& r) {
  switch (part) {
    case BP_PUSHBUTTON:
    case BP_USERBUTTON:
    case BP_COMMANDLINK:
      if (state > PBS_DEFAULTED_ANIMATING) return false;
      PushButton(canvas, state, r);
      return true;
    case BP_CHECKBOX:
      if (state > CBS_MIXEDDISABLED) return false;
      CheckBox(canvas, state, r);
      return true;
    case BP_RADIOBUTTON:
      if (state > RBS_CHECKEDDISABLED) return false;
      RadioButton(canvas, state, r);
      return true;
    case BP_GROUPBOX:
      if (state > GBS_DISABLED) return false;
      canvas.RoundFrame(r, tk::kRadius, tk::kStroke);
      return true;
    default: return false;
  }
}

}  // namespace kestrel::platform
