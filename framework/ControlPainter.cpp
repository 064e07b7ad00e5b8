#include "framework/ControlPainter.h"

#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/TextTypes.h"
#include "platform/theme/ClassicParts.h"
#include "platform/theme/ThemeFocus.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"

namespace kestrel::ControlPainter {

namespace pf = platform;

namespace {

// A theme handle for one drawing; null while themes are off.
class ScopedTheme {
 public:
  explicit ScopedTheme(const char16_t* className) : theme_(pf::OpenThemeData(nullptr, className)) {}
  ~ScopedTheme() {
    if (theme_) pf::CloseThemeData(theme_);
  }
  ScopedTheme(const ScopedTheme&) = delete;
  ScopedTheme& operator=(const ScopedTheme&) = delete;
  pf::HTHEME get() const { return theme_; }

 private:
  pf::HTHEME theme_;
};

pf::RECT ToRECT(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The state in the "normal, hot, pressed, disabled" numbering (1..4) shared by most parts.
int StateInGroup(TThemeState state) {
  switch (state) {
    case TThemeState::Hot: return 2;
    case TThemeState::Pressed: return 3;
    case TThemeState::Disabled: return 4;
    default: return 1;
  }
}

int PushButtonState(TThemeState state, bool isDefault) {
  if (isDefault && (state == TThemeState::Normal || state == TThemeState::Focused)) return pf::PBS_DEFAULTED;
  if (isDefault && state == TThemeState::Hot) return pf::PBS_DEFAULTED_ANIMATING;  // the hot default face
  return StateInGroup(state);
}

void DrawPart(TCanvas& canvas, const char16_t* className, pf::ThemeClass themeClass, int part, int state,
              const TRect& r) {
  const pf::RECT rect = ToRECT(r);
  ScopedTheme theme(className);
  if (theme.get()) pf::DrawThemeBackground(theme.get(), canvas.Handle(), part, state, &rect, nullptr);
  else pf::DrawClassicPart(themeClass, canvas.Handle(), part, state, rect);
}

}  // namespace

void DrawButtonFace(TCanvas& canvas, const TRect& r, TThemeState state, bool isDefault) {
  DrawPart(canvas, u"BUTTON", pf::ThemeClass::Button, pf::BP_PUSHBUTTON, PushButtonState(state, isDefault), r);
}

bool CaptionOnAccent(TThemeState state, bool isDefault) {
  const int drawn = PushButtonState(state, isDefault);
  return pf::IsAppThemed() && (drawn == pf::PBS_DEFAULTED || drawn == pf::PBS_DEFAULTED_ANIMATING);
}

void DrawCheckGlyph(TCanvas& canvas, int x, int y, int checkState, TThemeState state) {
  const int group = checkState == 1   ? pf::CBS_CHECKEDNORMAL
                    : checkState == 2 ? pf::CBS_MIXEDNORMAL
                                      : pf::CBS_UNCHECKEDNORMAL;
  DrawPart(canvas, u"BUTTON", pf::ThemeClass::Button, pf::BP_CHECKBOX, group + StateInGroup(state) - 1,
           Bounds(x, y, kGlyphSize, kGlyphSize));
}

void DrawRadioGlyph(TCanvas& canvas, int x, int y, bool checked, TThemeState state) {
  const int group = checked ? pf::RBS_CHECKEDNORMAL : pf::RBS_UNCHECKEDNORMAL;
  DrawPart(canvas, u"BUTTON", pf::ThemeClass::Button, pf::BP_RADIOBUTTON, group + StateInGroup(state) - 1,
           Bounds(x, y, kGlyphSize, kGlyphSize));
}

void DrawEditFrame(TCanvas& canvas, const TRect& r, TThemeState state) {
  ScopedTheme theme(u"EDIT");
  const pf::HDC hdc = canvas.Handle();
  const pf::RECT rect = ToRECT(r);
  if (!theme.get()) {
    pf::RECT box = rect;
    pf::DrawEdge(hdc, &box, pf::EDGE_SUNKEN, pf::BF_RECT);
    return;
  }
  const int partState = state == TThemeState::Disabled  ? pf::EPSN_DISABLED
                        : state == TThemeState::Focused ? pf::EPSN_FOCUSED
                        : state == TThemeState::Hot     ? pf::EPSN_HOT
                                                        : pf::EPSN_NORMAL;
  // Only the border ring: the field keeps the fill and text the control drew. Behind the
  // rounded corners lies the face of the form.
  const int saved = pf::SaveDC(hdc);
  pf::ExcludeClipRect(hdc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  pf::FillRect(hdc, &rect, pf::GetSysColorBrush(pf::COLOR_BTNFACE));
  pf::DrawThemeBackground(theme.get(), hdc, pf::EP_EDITBORDER_NOSCROLL, partState, &rect, nullptr);
  pf::RestoreDC(hdc, saved);
}

void DrawFocus(TCanvas& canvas, const TRect& classic, const TRect& themed) {
  if (pf::IsAppThemed()) {
    pf::DrawFocusRing(canvas.Handle(), ToRECT(themed));
    return;
  }
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clWhite);
  canvas.Font()->SetColor(clBlack);
  canvas.DrawFocusRect(classic);
}

void DrawCaption(TCanvas& canvas, const String& text, TRect r, unsigned flags, bool enabled) {
  canvas.Brush()->SetStyle(bsClear);
  if (!enabled) canvas.Font()->SetColor(clGrayText);
  canvas.DrawText(text, r, flags);
}

}  // namespace kestrel::ControlPainter
