#include "controls/KsSBPainter.h"

#include <algorithm>

#include "controls/KsSBHandlerCustom.h"
#include "controls/ThemedDetails.h"
#include "controls/VnThemeModeRule.h"
#include "controls/VnThemeServices.h"
#include "framework/Brush.h"
#include "framework/WinControl.h"
#include "platform/gdi/Regions.h"

namespace kestrel {

namespace {

// First ordinals of the theme's scroll-bar parts (each followed by hot, pressed, disabled).
constexpr int kThumbHorz = 18;
constexpr int kThumbVert = 22;
constexpr int kLowerTrackHorz = 26;
constexpr int kUpperTrackHorz = 30;
constexpr int kLowerTrackVert = 34;
constexpr int kUpperTrackVert = 38;
constexpr int kGripperHorz = 42;
constexpr int kGripperVert = 43;  // grippers have one look each: no state offset
constexpr int kMinGripThumb = 14;

}  // namespace

TKsSBPainter::TKsSBPainter(const TKsSBHandlerCustom& bar, TCanvas& canvas)
    : bar_(bar),
      canvas_(canvas),
      geometry_(bar.Geometry()),
      horizontal_(bar.Kind() == sbHorizontal),
      themed_(bar.IsThemed()),
      otherPressed_(false),
      windowEnabled_(bar.WindowEnabled()),
      colors_(FrameColors(bar.Color())) {
  const TKsSBHandlerCustom* other = bar.OtherBar();
  otherPressed_ = other && const_cast<TKsSBHandlerCustom*>(other)->Visible() && other->Pressed();
}

TRect TKsSBPainter::Along(int from, int to) const {
  return horizontal_ ? Rect(from, 0, to, bar_.fHeight) : Rect(0, from, bar_.fWidth, to);
}

TKsSBPainter::Direction TKsSBPainter::StartDirection() const { return horizontal_ ? dirLeft : dirUp; }
TKsSBPainter::Direction TKsSBPainter::EndDirection() const { return horizontal_ ? dirRight : dirDown; }

bool TKsSBPainter::PressedAndOver(TKsScrollBarPart part) const {
  return !otherPressed_ && bar_.fMouseInControl && bar_.fPressedIn == part && bar_.fMouseOver == part;
}

bool TKsSBPainter::Hot(TKsScrollBarPart part) const {
  return !bar_.fPressed && bar_.fMouseInControl && bar_.fMouseOver == part;
}

bool TKsSBPainter::RaisedWhenFlat(TKsScrollBarPart part, bool usable) const {
  if (otherPressed_) return false;
  if (!bar_.fFlat) return true;
  return !bar_.fPressed && bar_.fMouseInControl && !bar_.fActiveFlat && bar_.fMouseOver == part && usable;
}

TKsSBPainter::ThemeState TKsSBPainter::StateOf(TKsScrollBarPart part, bool enabled) const {
  if (!enabled || !bar_.fEnabled || !windowEnabled_) return tsDisabled;
  if (otherPressed_) return tsNormal;
  if (PressedAndOver(part)) return tsPressed;
  if (Hot(part)) return tsHot;
  return tsNormal;
}

bool TKsSBPainter::OwnerDrawn(const TRect& r, TKsScrollBarPart part, bool enabled, bool focused, bool pressed) {
  if (!bar_.fOwnerDraw || !bar_.OnDrawPart) return false;
  bool defaultDraw = true;
  bar_.OnDrawPart(const_cast<TKsSBHandlerCustom*>(&bar_), &canvas_, r, part, enabled, focused, pressed, defaultDraw);
  return !defaultDraw;
}

void TKsSBPainter::PaintAll() {
  const int s = geometry_.ButtonSize();
  const int length = bar_.Length();
  if (bar_.fShowLeftArrows) PaintArrow(sbpLeftArrow, Along(0, s), true);
  if (bar_.fShowRightArrows) PaintArrow(sbpRightArrow, Along(length - s, length), false);
  if (bar_.fSecondaryButtons) {
    if (bar_.fShowLeftArrows) PaintSecondary(sbpLeftSndArrow, Along(s, 2 * s), true);
    if (bar_.fShowRightArrows) PaintSecondary(sbpRightSndArrow, Along(length - 2 * s, length - s), false);
  }
  const int thumb = geometry_.ThumbLength();
  const int start = bar_.fThumbPos;
  if (thumb > 0 && bar_.fEnabled && (themed_ || windowEnabled_)) {
    PaintTrack(sbpLeftTop, Along(geometry_.TrackStart(), start), true);
    PaintThumb(Along(start, start + thumb));
    PaintTrack(sbpRightBottom, Along(start + thumb, geometry_.TrackEnd()), false);
  } else {
    PaintEmptyTrack(Along(geometry_.TrackStart(), geometry_.TrackEnd()));
  }
}

// ---- parts ------------------------------------------------------------------------------------

void TKsSBPainter::PaintArrow(TKsScrollBarPart part, const TRect& r, bool atStart) {
  const bool possible = atStart ? bar_.BackwardPossible() : bar_.ForwardPossible();
  const bool usable = possible || bar_.fNoDisableButtons;
  const Direction dir = atStart ? StartDirection() : EndDirection();
  if (themed_) {
    Themed(ArrowOrdinal(dir), StateOf(part, usable), r);
    return;
  }
  if (bar_.fDrawArrowFrames) Fill(r, bar_.fColor);
  else FillTrackBackground(r);
  const bool raised = RaisedWhenFlat(part, usable);
  if (OwnerDrawn(r, part, possible, raised, PressedAndOver(part))) return;
  if (bar_.fDrawArrowFrames) Frame(r, PressedAndOver(part) ? frameSunken : raised ? frameRaised : frameFlat);
  const bool hotColour = bar_.fMouseOver == part && !otherPressed_;
  Glyph(r, dir, hotColour ? bar_.fArrowHotTrackColor : bar_.fArrowColor, bar_.fEnabled && windowEnabled_ && usable);
}

void TKsSBPainter::PaintSecondary(TKsScrollBarPart part, const TRect& r, bool atStart) {
  const TKsSecButtonsKind kind = bar_.fSecondBtnKind;
  // The start button pages backward or steps forward; the end button the other way round.
  const bool pages = kind == sbkPage;
  const bool possible = kind == sbkCustom || (pages == atStart ? bar_.BackwardPossible() : bar_.ForwardPossible());
  const bool enabled = bar_.fEnabled && windowEnabled_ && (possible || bar_.fNoDisableButtons);
  const Direction away = atStart ? EndDirection() : StartDirection();
  if (kind == sbkOpposite && themed_) {
    Themed(ArrowOrdinal(away), StateOf(part, enabled), r);
    return;
  }
  const bool raised = !otherPressed_ && (!bar_.fFlat || (!bar_.fPressed && bar_.fMouseInControl && !bar_.fActiveFlat &&
                                                         bar_.fMouseOver == part && enabled));
  if (themed_) Themed(horizontal_ ? kThumbHorz : kThumbVert, tsNormal, r);
  else if (bar_.fDrawArrowFrames) Fill(r, bar_.fColor);
  else FillTrackBackground(r);
  if (OwnerDrawn(r, part, enabled, raised, PressedAndOver(part))) return;
  if (themed_) Themed(kThumbHorz, StateOf(part, enabled), r);
  else if (bar_.fDrawArrowFrames) Frame(r, PressedAndOver(part) ? frameSunken : raised ? frameRaised : frameFlat);
  const TColor colour = bar_.fMouseOver == part && !otherPressed_ ? bar_.fArrowHotTrackColor : bar_.fArrowColor;
  if (pages) {
    const Direction dir = atStart ? StartDirection() : EndDirection();
    Glyph(r, dir, colour, enabled, atStart ? 1 : 2);
    Glyph(r, dir, colour, enabled, atStart ? -2 : -1);
  } else {
    Glyph(r, away, colour, enabled);
  }
}

void TKsSBPainter::PaintTrack(TKsScrollBarPart part, const TRect& r, bool beforeThumb) {
  TWinControl* control = bar_.fSBController ? bar_.fSBController->AttachedControl() : nullptr;
  const bool enabled = bar_.fEnabled && windowEnabled_;
  const bool pressed = PressedAndOver(part);
  if (OwnerDrawn(r, part, enabled, control && control->Focused(), pressed)) return;
  if (themed_) {
    const int upper = horizontal_ ? kUpperTrackHorz : kUpperTrackVert;
    const int lower = horizontal_ ? kLowerTrackHorz : kLowerTrackVert;
    Themed(beforeThumb ? upper : lower, StateOf(part, true), r);
  } else if (pressed && bar_.fChangeColorsOnScroll) {
    Fill(r, PressedTrackColor(bar_.fColor));
  } else {
    FillTrackBackground(r);
  }
}

void TKsSBPainter::PaintEmptyTrack(const TRect& r) {
  TWinControl* control = bar_.fSBController ? bar_.fSBController->AttachedControl() : nullptr;
  if (OwnerDrawn(r, sbpNowhere, bar_.fEnabled && windowEnabled_, control && control->Focused(), false)) return;
  if (themed_) Themed(horizontal_ ? kLowerTrackHorz : kLowerTrackVert, tsDisabled, r);
  else FillTrackBackground(r);
}

void TKsSBPainter::PaintThumb(const TRect& r) {
  const long long spread = static_cast<long long>(bar_.fMax) - bar_.fMin;
  const bool raised =
      !otherPressed_ && (!bar_.fFlat || (bar_.fMouseInControl && !bar_.fActiveFlat && bar_.fMouseOver == sbpThumb &&
                                         spread >= 1 && bar_.fPage < spread));
  const bool pressed = !otherPressed_ && bar_.fMouseInControl && bar_.fPressedIn == sbpThumb;
  if (OwnerDrawn(r, sbpThumb, bar_.fEnabled && windowEnabled_, raised, pressed)) return;
  if (themed_) {
    ThemeState state = StateOf(sbpThumb, true);
    if (state != tsDisabled && !otherPressed_ && bar_.fPressedIn == sbpThumb) state = tsPressed;
    Themed(horizontal_ ? kThumbHorz : kThumbVert, state, r);
    if (!bar_.fDrawBars) return;
    TVnThemeServices* services = GlobalThemeServices();
    const TVnThemeMode mode = EffectiveThemeMode(bar_.FThemeMode, bar_.FThemeGlobalMode);
    const int first = horizontal_ ? kThumbHorz : kThumbVert;
    const TRect content = services->ContentRect(mode, canvas_.Handle(),
                                                GetThemedDetails(teScrollBar, first + static_cast<int>(state)), r);
    Themed(horizontal_ ? kGripperHorz : kGripperVert, tsNormal, content);
    return;
  }
  Fill(r, bar_.fColor);
  if (bar_.fShowBorder) Frame(r, pressed && !bar_.fNoSunkenThumb ? frameSunken : raised ? frameRaised : frameFlat);
  PaintGripLines(r, raised);
}

void TKsSBPainter::PaintGripLines(const TRect& r, bool raised) {
  const int from = horizontal_ ? r.left : r.top;
  const int to = horizontal_ ? r.right : r.bottom;
  if (!bar_.fDrawBars || to - from <= kMinGripThumb) return;
  const int offset = static_cast<int>(bar_.fBarOffset) + (bar_.fShowBorder ? 1 : 0);
  const int k = raised && bar_.fPressedIn == sbpThumb && !bar_.fNoSunkenThumb ? 1 : 0;
  const int cross = bar_.Depth();
  if (cross < 2 * offset + 3) return;
  const int mid = (from + to) / 2 + k;
  for (int along : {mid - 3, mid - 1, mid + 1, mid + 3}) {
    const int a = offset + k;
    const int b = cross + k - offset;
    Fill(horizontal_ ? Rect(along, a, along + 1, b) : Rect(a, along, b, along + 1), bar_.fBarColor);
  }
}

// ---- primitives -------------------------------------------------------------------------------

void TKsSBPainter::Fill(const TRect& r, TColor color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  canvas_.Brush()->SetStyle(bsSolid);
  canvas_.Brush()->SetColor(color);
  canvas_.FillRect(r);
}

void TKsSBPainter::FillTrackBackground(const TRect& r) {
  const bool systemMatchesFace = ColorToRGB(clScrollBar) == ColorToRGB(clBtnFace);
  const bool pattern = (bar_.fBlendBackground && !bar_.fSysBkColor) || (bar_.fSysBkColor && systemMatchesFace);
  if (!pattern) {
    Fill(r, bar_.fSysBkColor ? clScrollBar : bar_.fColor);
    return;
  }
  // The shared 8x8 pattern is a checkerboard of two colours anchored at the bar's origin.
  Fill(r, TKsSBHandlerCustom::PatternOddColor());
  const TColor even = TKsSBHandlerCustom::PatternEvenColor();
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left + ((r.left + y) & 1); x < r.right; x += 2) canvas_.SetPixels(x, y, even);
}

void TKsSBPainter::Ring(const TRect& r, TColor topLeft, TColor bottomRight) {
  Fill(Rect(r.left, r.top, r.right - 1, r.top + 1), topLeft);
  Fill(Rect(r.left, r.top, r.left + 1, r.bottom - 1), topLeft);
  Fill(Rect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
  Fill(Rect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
}

void TKsSBPainter::Frame(const TRect& r, FrameLook look) {
  const TKsSBFrameColors& c = colors_;
  const TRect inner = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  switch (look) {
    case frameSunken:
      Ring(r, c.shadow, c.highlight);
      if (!bar_.fThinFrame) Ring(inner, c.dark, c.face);
      break;
    case frameRaised:
      Ring(r, c.highlight, c.dark);
      if (!bar_.fThinFrame) Ring(inner, c.face, c.shadow);
      break;
    case frameFlat:
      Ring(r, c.highlight, c.shadow);
      if (!bar_.fThinFrame) Ring(inner, c.face, c.face);
      break;
  }
}

void TKsSBPainter::Glyph(const TRect& button, Direction dir, TColor color, bool enabled, int shift) {
  const int w = button.right - button.left;
  const int h = button.bottom - button.top;
  const bool sideways = dir == dirLeft || dir == dirRight;
  if (sideways ? (w < 3 || h < 6) : (w < 6 || h < 3)) return;
  int x = button.left + std::max(0, w / 2 - (sideways ? 2 : 3));
  int y = button.top + std::max(0, h / 2 - (sideways ? 3 : 2));
  if (horizontal_) x += shift;
  else y += shift;
  if (!enabled) {
    GlyphAt(x + 1, y + 1, dir, clBtnHighlight);
    color = clBtnShadow;
  }
  GlyphAt(x, y, dir, color);
}

void TKsSBPainter::GlyphAt(int x, int y, Direction dir, TColor color) {
  // Four lines of 7, 5, 3 and 1 pixels from the triangle's base to its tip.
  for (int i = 0; i < 4; ++i) {
    const int count = 7 - 2 * i;
    switch (dir) {
      case dirUp: Fill(Rect(x + i, y + 3 - i, x + i + count, y + 4 - i), color); break;
      case dirDown: Fill(Rect(x + i, y + i, x + i + count, y + i + 1), color); break;
      case dirLeft: Fill(Rect(x + 3 - i, y + i, x + 4 - i, y + i + count), color); break;
      case dirRight: Fill(Rect(x + i, y + i, x + i + 1, y + i + count), color); break;
    }
  }
}

int TKsSBPainter::ArrowOrdinal(Direction dir) {
  switch (dir) {
    case dirUp: return 2;
    case dirDown: return 6;
    case dirLeft: return 10;
    default: return 14;
  }
}

void TKsSBPainter::Themed(int firstOrdinal, ThemeState state, const TRect& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const TVnThemeMode mode = EffectiveThemeMode(bar_.FThemeMode, bar_.FThemeGlobalMode);
  const TThemedElementDetails details = GetThemedDetails(teScrollBar, firstOrdinal + static_cast<int>(state));
  TRect clip{};
  platform::GetClipBox(canvas_.Handle(), &clip);
  GlobalThemeServices()->DrawElement(mode, canvas_.Handle(), details, r, &clip);
}

}  // namespace kestrel
