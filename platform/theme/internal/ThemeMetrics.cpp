#include "platform/theme/internal/ThemeMetrics.h"

#include "platform/gdi/SystemColors.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeDrawing.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

namespace tk = theme_tokens;

namespace {
constexpr int kGlyph = 13;

std::optional<SIZE> FixedSize(ThemeClass themeClass, int part) {
  const LONG bar = GetSystemMetrics(SM_CXVSCROLL);
  switch (themeClass) {
    case ThemeClass::Button:
      if (part == BP_CHECKBOX || part == BP_RADIOBUTTON) return SIZE{kGlyph, kGlyph};
      break;
    case ThemeClass::ScrollBar:
      if (part == SBP_ARROWBTN || part == SBP_SIZEBOX) return SIZE{bar, bar};
      if (part == SBP_GRIPPERHORZ || part == SBP_GRIPPERVERT) return SIZE{8, 8};
      break;
    case ThemeClass::Window:
      if (part >= WP_SYSBUTTON && part <= WP_MDIHELPBUTTON)
        return SIZE{GetSystemMetrics(SM_CXSIZE) - 2, GetSystemMetrics(SM_CYCAPTION) - 5};
      break;
    case ThemeClass::Status:
      if (part == SP_GRIPPER) return SIZE{13, 13};
      break;
    case ThemeClass::Toolbar:
      if (part == TP_SEPARATOR || part == TP_SEPARATORVERT) return SIZE{6, 6};
      break;
    case ThemeClass::Tooltip:
      if (part == TTP_CLOSE) return SIZE{14, 14};
      break;
    default: break;
  }
  return std::nullopt;
}

// The smallest rectangle a stretching part's drawing needs: its margins plus one pixel.
SIZE MinimumSize(ThemeClass themeClass, int part) {
  const RECT m = ContentMargins(themeClass, part);
  return {m.left + m.right + 1, m.top + m.bottom + 1};
}

COLORREF FillColor(ThemeClass themeClass, int part, int state) {
  const bool disabled = LookOf(state) == PartLook::Disabled;
  switch (themeClass) {
    case ThemeClass::Button:
      if (part == BP_PUSHBUTTON && state == PBS_DEFAULTED) return tk::kAccent;
      if (part == BP_PUSHBUTTON && state == PBS_DEFAULTED_ANIMATING) return tk::kAccentHot;
      return disabled ? tk::kSurfaceAlt : tk::kControl;
    case ThemeClass::Edit: return disabled ? tk::kSurfaceAlt : tk::kSurface;
    case ThemeClass::ScrollBar:
      return part == SBP_THUMBBTNHORZ || part == SBP_THUMBBTNVERT ? tk::kScrollThumb : tk::kSurfaceAlt;
    case ThemeClass::Window:
      return part <= WP_SMALLFRAMEBOTTOM && state == 2 ? tk::kCaptionInactive : tk::kCaptionActive;
    case ThemeClass::Tooltip: return tk::kTooltipFace;
    case ThemeClass::Progress: return part == PP_BAR || part == PP_BARVERT ? tk::kControlPressed : tk::kAccent;
    default: return tk::kSurfaceAlt;
  }
}
}  // namespace

std::optional<SIZE> PartSize(ThemeClass themeClass, int part, int /*state*/, int sizeKind, const RECT* rect) {
  if (auto fixed = FixedSize(themeClass, part)) return fixed;
  if (sizeKind == TS_DRAW && rect) return SIZE{rect->right - rect->left, rect->bottom - rect->top};
  return MinimumSize(themeClass, part);
}

RECT ContentMargins(ThemeClass themeClass, int part) {
  switch (themeClass) {
    case ThemeClass::Button:
      if (part == BP_PUSHBUTTON || part == BP_USERBUTTON || part == BP_COMMANDLINK) return {3, 3, 3, 3};
      if (part == BP_GROUPBOX) return {4, 4, 4, 4};
      return {};
    case ThemeClass::Edit:
      // The bordered field keeps the classic client edge's width, so layouts do not move.
      return part == EP_BACKGROUND || part == EP_CARET || part == EP_PASSWORD ? RECT{} : RECT{2, 2, 2, 2};
    case ThemeClass::ScrollBar:
      // The thumb's face lies 3 px inside the track across the bar and 1 px along it.
      if (part == SBP_THUMBBTNHORZ) return {1, 3, 1, 3};
      if (part == SBP_THUMBBTNVERT) return {3, 1, 3, 1};
      return {};
    case ThemeClass::Window:
      if (part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION) return {4, 0, 4, 0};
      return {};
    case ThemeClass::Toolbar: return part == TP_SEPARATOR || part == TP_SEPARATORVERT ? RECT{} : RECT{3, 3, 3, 3};
    case ThemeClass::Tooltip: return part == TTP_CLOSE ? RECT{} : RECT{4, 2, 4, 2};
    case ThemeClass::Status:
    case ThemeClass::Progress: return {};
    default: return {1, 1, 1, 1};
  }
}

std::optional<COLORREF> PartColor(ThemeClass themeClass, int part, int state, int propId) {
  switch (propId) {
    case TMT_FILLCOLOR:
    case TMT_EDGEFILLCOLOR: return FillColor(themeClass, part, state);
    case TMT_BORDERCOLOR: return themeClass == ThemeClass::Window ? tk::kFrame : tk::kStroke;
    case TMT_TEXTCOLOR:
    case TMT_GLYPHTEXTCOLOR: return PartTextColor(themeClass, part, state);
    case TMT_EDGELIGHTCOLOR: return tk::kSurfaceAlt;
    case TMT_EDGEHIGHLIGHTCOLOR: return tk::kSurface;
    case TMT_EDGESHADOWCOLOR: return tk::kStroke;
    case TMT_EDGEDKSHADOWCOLOR: return tk::kStrokeStrong;
    case TMT_ACCENTCOLORHINT: return tk::kAccent;
    default: return std::nullopt;
  }
}

COLORREF PartTextColor(ThemeClass themeClass, int part, int state) {
  switch (themeClass) {
    case ThemeClass::Button:
      if (part == BP_PUSHBUTTON && (state == PBS_DEFAULTED || state == PBS_DEFAULTED_ANIMATING)) return tk::kOnAccent;
      return LookOf(part == BP_PUSHBUTTON || part == BP_GROUPBOX ? state : (state - 1) % 4 + 1) == PartLook::Disabled
                 ? tk::kTextDisabled
                 : tk::kText;
    case ThemeClass::Edit:
      if (state == ETS_CUEBANNER || state == ETS_DISABLED) return tk::kTextDisabled;
      return tk::kText;
    case ThemeClass::Window:
      if (part >= WP_CAPTION && part <= WP_SMALLMAXCAPTION && state != CS_ACTIVE && state != 0)
        return tk::kCaptionTextInactive;
      return tk::kCaptionTextActive;
    default: return LookOf(state) == PartLook::Disabled ? tk::kTextDisabled : tk::kText;
  }
}

bool PartiallyTransparent(ThemeClass themeClass, int part, int /*state*/) {
  switch (themeClass) {
    case ThemeClass::Button: return true;  // rounded faces and glyph-sized boxes
    case ThemeClass::Edit: return part != EP_BACKGROUND && part != EP_CARET;
    case ThemeClass::Window: return part >= WP_SYSBUTTON && part <= WP_MDIHELPBUTTON;
    case ThemeClass::Toolbar:
    case ThemeClass::Status:
    case ThemeClass::Progress: return true;
    case ThemeClass::Tooltip: return part != TTP_STANDARD && part != TTP_STANDARDTITLE;
    case ThemeClass::ScrollBar: return part == SBP_GRIPPERHORZ || part == SBP_GRIPPERVERT;
    default: return true;  // the plain face is rounded
  }
}

}  // namespace kestrel::platform
