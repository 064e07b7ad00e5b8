#include "controls/KsSBHandlerCustom.h"

#include <algorithm>

#include "controls/KsSBColors.h"
#include "controls/KsSBGeometry.h"
#include "controls/KsSBPainter.h"
#include "controls/KsSBTrackHint.h"
#include "controls/VnThemeModeRule.h"
#include "framework/Exceptions.h"
#include "framework/Reader.h"
#include "framework/WinControl.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsSBHandlerCustom, TPersistent)

namespace {

// The platform's keyboard repeat settings (SPI_GETKEYBOARDDELAY 1, SPI_GETKEYBOARDSPEED 31).
constexpr unsigned kKeyboardDelay = 1;
constexpr unsigned kKeyboardSpeed = 31;
constexpr unsigned kRepeatDelayMs = kKeyboardDelay * 250 + 250;
constexpr unsigned kRepeatRateMs = 1000 / (kKeyboardSpeed + 1);

struct SharedPattern {
  bool built = false;
  TColor even = clBtnHighlight;
  TColor odd = clBtnFace;
};

SharedPattern& Pattern() {
  static SharedPattern pattern;
  return pattern;
}

bool IsButtonPart(TKsScrollBarPart part) { return part >= sbpLeftArrow && part <= sbpLeftSndArrow; }

}  // namespace

TKsSBHandlerCustom::TKsSBHandlerCustom(TKsSBControllerLink* controller) : fSBController(controller) {
  fHeight = platform::GetSystemMetrics(platform::SM_CYHSCROLL);
  SharedPattern& pattern = Pattern();
  if (!pattern.built) {
    pattern.built = true;
    pattern.odd = fColor;
    pattern.even = LightenedColor(fColor);
    fBitmapOwner = true;
  }
}

TKsSBHandlerCustom::~TKsSBHandlerCustom() = default;

TColor TKsSBHandlerCustom::PatternEvenColor() { return Pattern().even; }
TColor TKsSBHandlerCustom::PatternOddColor() { return Pattern().odd; }

void TKsSBHandlerCustom::SetKind(TScrollBarKind kind) {
  fKind = kind;
  fBarFlag = kind == sbHorizontal ? platform::SB_HORZ : platform::SB_VERT;
}

// ---- geometry ---------------------------------------------------------------------------------

TKsSBGeometry TKsSBHandlerCustom::Geometry() const {
  bool horizontal = fKind == sbHorizontal;
  TKsSBGeometryInput in;
  in.length = Length();
  in.depth = Depth();
  in.baseButton = fUseSystemMetrics
                      ? platform::GetSystemMetrics(horizontal ? platform::SM_CXHSCROLL : platform::SM_CYVSCROLL)
                      : fButtonSize;
  in.showStart = fShowLeftArrows;
  in.showEnd = fShowRightArrows;
  in.secondary = fSecondaryButtons;
  in.thumbMode = fThumbMode;
  in.fixedThumb = ThumbSize();
  in.minThumb = fMinThumbSize;
  in.pageZeroThumb = platform::GetSystemMetrics(horizontal ? platform::SM_CXHTHUMB : platform::SM_CYVTHUMB);
  in.min = fMin;
  in.max = fMax;
  in.page = fPage;
  in.pos = fPosition;
  return TKsSBGeometry(in);
}

int TKsSBHandlerCustom::EffectiveButtonSize() const { return Geometry().ButtonSize(); }
int TKsSBHandlerCustom::ThumbLength() const { return Geometry().ThumbLength(); }
int TKsSBHandlerCustom::CalcThumbPos() { return Geometry().ThumbPosFor(); }
int TKsSBHandlerCustom::CalcPosFromThumb() { return Geometry().PosFromThumb(fThumbPos); }
void TKsSBHandlerCustom::UpdateThumbPos() { fThumbPos = CalcThumbPos(); }

int TKsSBHandlerCustom::ThumbSize() const {
  if (fUseSystemMetrics && fThumbMode == etmFixed)
    return platform::GetSystemMetrics(fKind == sbHorizontal ? platform::SM_CXHTHUMB : platform::SM_CYVTHUMB);
  return fThumbSize;
}

bool TKsSBHandlerCustom::BackwardPossible() const {
  return fPosition > fMin && static_cast<long long>(fMax) - fMin >= fPage;
}

bool TKsSBHandlerCustom::ForwardPossible() const {
  return fPosition < static_cast<long long>(fMax) - fPage + 1 && static_cast<long long>(fMax) - fMin >= fPage;
}

// ---- hit test ---------------------------------------------------------------------------------

TKsScrollBarPart TKsSBHandlerCustom::GetHitTest(int x, int y) {
  TKsScrollBarPart part = sbpNowhere;
  bool defaultTest = true;
  DoHitTest(x, y, part, defaultTest);
  if (!defaultTest) return part;
  int c = fKind == sbHorizontal ? x : y;
  int d = fKind == sbHorizontal ? y : x;
  if (d < 0 || d >= Depth()) return sbpNowhere;
  TKsSBGeometry g = Geometry();
  int s = g.ButtonSize();
  int length = Length();
  // Each button covers exactly its s pixels at either end.
  if (fShowLeftArrows && c >= 0 && c < s) return sbpLeftArrow;
  if (fShowRightArrows && c >= length - s && c < length) return sbpRightArrow;
  if (fSecondaryButtons) {
    if (fShowLeftArrows && c >= s && c < 2 * s) return sbpLeftSndArrow;
    if (fShowRightArrows && c >= length - 2 * s && c < length - s) return sbpRightSndArrow;
  }
  if (c < fThumbPos) return sbpLeftTop;
  if (c < fThumbPos + g.ThumbLength()) return sbpThumb;
  return sbpRightBottom;
}

void TKsSBHandlerCustom::DoHitTest(int x, int y, TKsScrollBarPart& part, bool& defaultTest) {
  defaultTest = true;
  if (OnHitTest) OnHitTest(this, x, y, part, defaultTest);
}

// ---- theme ------------------------------------------------------------------------------------

bool TKsSBHandlerCustom::IsThemed() const {
  if (EffectiveThemeMode(FThemeMode, FThemeGlobalMode) == ttmNone) return false;
  return fSBController && fSBController->IsThemed();
}

void TKsSBHandlerCustom::SetThemeMode(TVnThemeMode value) {
  if (FThemeMode == value) return;
  FThemeMode = value;
  ThemeChanged();
}

void TKsSBHandlerCustom::SetThemeGlobalMode(bool value) {
  if (FThemeGlobalMode == value) return;
  FThemeGlobalMode = value;
  ThemeChanged();
}

void TKsSBHandlerCustom::ThemeChanged() { Repaint(); }

// ---- painting ---------------------------------------------------------------------------------

void TKsSBHandlerCustom::Paint(TCanvas& canvas) {
  try {
    TKsSBPainter(*this, canvas).PaintAll();
  } catch (const Exception&) {
    // A failed paint is skipped; the next repaint tries again.
  }
}

void TKsSBHandlerCustom::Repaint() {
  if (!fSBController || fSBController->UpdateCount() > 0) return;
  fSBController->RepaintBar(fBarFlag);
}

// ---- controller link helpers ------------------------------------------------------------------

bool TKsSBHandlerCustom::HasWindow() const { return fSBController && fSBController->ControlHandleAllocated(); }

bool TKsSBHandlerCustom::IsLoading() const {
  TWinControl* control = fSBController ? fSBController->AttachedControl() : nullptr;
  return control && control->ComponentState().Contains(csLoading);
}

bool TKsSBHandlerCustom::WindowEnabled() const {
  return !HasWindow() || platform::IsWindowEnabled(fSBController->ControlHandle());
}

const TKsSBHandlerCustom* TKsSBHandlerCustom::OtherBar() const {
  return fSBController ? fSBController->OtherBar(*this) : nullptr;
}

void TKsSBHandlerCustom::GeometryChanged() {
  if (IsLoading()) return;
  UpdateThumbPos();
  Repaint();
}

void TKsSBHandlerCustom::DoChange() {
  if (OnChange) OnChange(this);
}

// ---- property setters -------------------------------------------------------------------------

void TKsSBHandlerCustom::SetActiveFlat(bool value) {
  if (fActiveFlat == value) return;
  fActiveFlat = value;
  TWinControl* control = fSBController ? fSBController->AttachedControl() : nullptr;
  if (fMouseInControl || (control && control->Focused())) Repaint();
}

void TKsSBHandlerCustom::SetButtonSize(int value) {
  if (value <= 0 || value == fButtonSize) return;
  if (HasWindow() && Length() < 2 * value) return;
  fButtonSize = value;
  GeometryChanged();
}

void TKsSBHandlerCustom::SetShowBorder(bool value) {
  if (fShowBorder == value) return;
  fShowBorder = value;
  if (!value) fDrawArrowFrames = false;
  Repaint();
}

void TKsSBHandlerCustom::SetMinThumbSize(int value) {
  if (value <= 0 || value == fMinThumbSize) return;
  fMinThumbSize = value;
  if (fThumbMode == etmAuto) GeometryChanged();
}

void TKsSBHandlerCustom::SetThumbMode(TKsScrollThumbMode value) {
  if (fThumbMode == value) return;
  fThumbMode = value;
  if (value == etmFixed && fUseSystemMetrics) fThumbSize = ThumbSize();
  GeometryChanged();
}

void TKsSBHandlerCustom::SetThumbSize(int value) {
  if (value <= 0 || value == fThumbSize) return;
  fThumbSize = value;
  GeometryChanged();
}

void TKsSBHandlerCustom::SetUseSystemMetrics(bool value) {
  if (fUseSystemMetrics == value) return;
  fUseSystemMetrics = value;
  if (value && HasWindow() && !IsLoading()) ApplySystemMetrics();
}

void TKsSBHandlerCustom::ApplySystemMetrics() {
  if (!fUseSystemMetrics) return;
  using namespace platform;
  if (fKind == sbVertical) {
    fButtonSize = GetSystemMetrics(SM_CYVSCROLL);
    fWidth = GetSystemMetrics(SM_CYHSCROLL);
  } else {
    fButtonSize = GetSystemMetrics(SM_CXHSCROLL);
    fHeight = GetSystemMetrics(SM_CXVSCROLL);
  }
  UpdateThumbPos();
  if (fSBController) fSBController->RecomputeFrame();
}

void TKsSBHandlerCustom::SetEnabled(bool value) { SetLook(fEnabled, value); }

void TKsSBHandlerCustom::SetDepth(int value) {
  if (fSBController && fSBController->AttachedControl() && fUseSystemMetrics) return;
  int& depth = fKind == sbHorizontal ? fHeight : fWidth;
  if (depth == value) return;
  depth = value;
  if (fSBController) fSBController->RecomputeFrame();
}

void TKsSBHandlerCustom::SetHint(const String& value) {
  fHint = value;
  TWinControl* control = fSBController ? fSBController->AttachedControl() : nullptr;
  if (control) control->SetHint(value);
}

bool TKsSBHandlerCustom::Visible() {
  if (HasWindow() && !fSBController->PreventStyleChange()) {
    platform::DWORD bit = fBarFlag == platform::SB_HORZ ? platform::WS_HSCROLL : platform::WS_VSCROLL;
    NoteVisible((platform::GetWindowLongW(fSBController->ControlHandle(), platform::GWL_STYLE) & bit) != 0);
  }
  return fVisible;
}

void TKsSBHandlerCustom::SetVisible(bool value) {
  if (fVisible == value) return;
  const bool dropsRange = !value && HasWindow() && fMin < fMax;
  if (dropsRange) platform::RealSetScrollRange(fSBController->ControlHandle(), fBarFlag, 0, 0, false);
  NoteVisible(value);
  if (dropsRange) Repaint();
}

void TKsSBHandlerCustom::NoteVisible(bool value) {
  if (fVisible == value) return;
  fVisible = value;
  if (OnVisibleChange) OnVisibleChange(this);
}

void TKsSBHandlerCustom::SetPosition(int value) {
  if (value == fPosition) return;
  if (IsLoading()) {
    fPosition = value;
    return;
  }
  fPosition = std::clamp(value, fMin, std::max(fMin, fMax));
  UpdateThumbPos();
  if (HasWindow()) Repaint();
  bool doChange = true;
  DoScroll(escPosition, value, doChange);
}

void TKsSBHandlerCustom::RangeChanged() {
  if (fMin >= fMax) fMax = fMin;
  fPage = static_cast<int>(std::min<long long>(fPage, static_cast<long long>(fMax) - fMin + 1));
  UpdateThumbPos();
  if (HasWindow()) Repaint();
}

void TKsSBHandlerCustom::SetMax(int value) {
  if (value == fMax) return;
  fMax = value;
  if (IsLoading()) return;
  RangeChanged();
  if (fPosition > fMax) SetPosition(fMax);
}

void TKsSBHandlerCustom::SetMin(int value) {
  if (value == fMin) return;
  fMin = value;
  if (IsLoading()) return;
  RangeChanged();
  if (fPosition < fMin) SetPosition(fMin);
}

void TKsSBHandlerCustom::SetPage(int value) {
  if (value < 0 || value == fPage) return;
  fPage = value;
  if (!IsLoading() && HasWindow()) Repaint();
}

// ---- Assign and stored forms ------------------------------------------------------------------

void TKsSBHandlerCustom::Assign(const TPersistent* source) {
  const auto* bar = dynamic_cast<const TKsSBHandlerCustom*>(source);
  if (!bar) {
    TPersistent::Assign(source);
    return;
  }
  SetActiveFlat(bar->fActiveFlat);
  SetArrowColor(bar->fArrowColor);
  SetArrowHotTrackColor(bar->fArrowHotTrackColor);
  SetBarColor(bar->fBarColor);
  SetBarOffset(bar->fBarOffset);
  SetBlendBackground(bar->fBlendBackground);
  SetButtonSize(bar->fButtonSize);
  SetChangeColorsOnScroll(bar->fChangeColorsOnScroll);
  SetColor(bar->fColor);
  SetDrawArrowFrames(bar->fDrawArrowFrames);
  SetDrawBars(bar->fDrawBars);
  SetShowBorder(bar->fShowBorder);
  SetDrawArrowFrames(bar->fDrawArrowFrames);
  SetFlat(bar->fFlat);
  SetHintColor(bar->fHintColor);
  SetHintTextColor(bar->fHintTextColor);
  SetIsHTML(bar->fIsHTML);
  SetMinThumbSize(bar->fMinThumbSize);
  SetNoDisableButtons(bar->fNoDisableButtons);
  SetNoSunkenThumb(bar->fNoSunkenThumb);
  SetOwnerDraw(bar->fOwnerDraw);
  SetSecondaryButtons(bar->fSecondaryButtons);
  SetSecondBtnKind(bar->fSecondBtnKind);
  SetShowLeftArrows(bar->fShowLeftArrows);
  SetShowRightArrows(bar->fShowRightArrows);
  SetShowTrackHint(bar->fShowTrackHint);
  SetStep(bar->fStep);
  SetSystemBkColor(bar->fSysBkColor);
  SetThinFrame(bar->fThinFrame);
  SetThumbMode(bar->fThumbMode);
  SetThumbSize(bar->fThumbSize);
  SetUseSystemMetrics(bar->fUseSystemMetrics);
  if (!bar->fUseSystemMetrics) SetDepth(bar->Depth());
  SetUseSystemStep(bar->fUseSystemStep);
  SetThemeMode(bar->FThemeMode);
  SetThemeGlobalMode(bar->FThemeGlobalMode);
  OnChange = bar->OnChange;
  fScrollTracking = bar->fScrollTracking;
}

void TKsSBHandlerCustom::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  // Names older forms stored; they are read with their meaning and never written again.
  filer.DefineProperty(
      u"Enabled", [](TReader& reader) { reader.ReadBoolean(); }, nullptr, false);
  filer.DefineProperty(
      u"ThinFrames", [this](TReader& reader) { SetThinFrame(reader.ReadBoolean()); }, nullptr, false);
  filer.DefineProperty(
      u"DrawFrames", [this](TReader& reader) { SetShowBorder(reader.ReadBoolean()); }, nullptr, false);
  filer.DefineProperty(
      u"UseXPThemes", [this](TReader& reader) { SetUseXPThemes(reader.ReadBoolean()); }, nullptr, false);
}

}  // namespace kestrel

namespace kestrel {

// ---- steps ------------------------------------------------------------------------------------

void TKsSBHandlerCustom::DoScroll(TKsScrollCode code, int& position, bool& doChange) {
  doChange = true;
  if (fSBController) fSBController->KsSBScrollEvent(fBarFlag, code, doChange, position);
  if (doChange && OnScroll) {
    position = fPosition;
    OnScroll(this, code, position, doChange);
  }
}

void TKsSBHandlerCustom::ReportStep(TKsScrollCode code, int position) {
  bool doChange = true;
  DoScroll(code, position, doChange);
  if (doChange && position != fPosition) {
    SetPosition(position);
    DoChange();
  }
}

void TKsSBHandlerCustom::DoScrollHintNeeded(int trackPosition, String& hint) {
  if (OnScrollHintNeeded) OnScrollHintNeeded(this, trackPosition, hint);
}

// The scroll code and target position of a press (or a repeat) on `part`, paging by `pageStep`.
// False for parts that do not step.
bool TKsSBHandlerCustom::TargetFor(TKsScrollBarPart part, int pageStep, TKsScrollCode& code, int& target) const {
  const int back = std::max(fMin, fPosition - fStep);
  const int forth = std::min(fMax, fPosition + fStep);
  const int pageBack = std::max(fMin, fPosition - pageStep);
  const int pageForth = std::min(fMax, fPosition + pageStep);
  switch (part) {
    case sbpLeftArrow: code = escLineUp, target = back; return true;
    case sbpRightArrow: code = escLineDown, target = forth; return true;
    case sbpLeftTop: code = escPageUp, target = pageBack; return true;
    case sbpRightBottom: code = escPageDown, target = pageForth; return true;
    case sbpRightSndArrow:
      if (fSecondBtnKind == sbkOpposite) code = escLineUp, target = back;
      else if (fSecondBtnKind == sbkPage) code = escPageDown, target = pageForth;
      else code = escSndLineUp, target = fPosition;
      return true;
    case sbpLeftSndArrow:
      if (fSecondBtnKind == sbkOpposite) code = escLineDown, target = forth;
      else if (fSecondBtnKind == sbkPage) code = escPageUp, target = pageBack;
      else code = escSndLineDown, target = fPosition;
      return true;
    default: return false;
  }
}

// ---- mouse ------------------------------------------------------------------------------------

bool TKsSBHandlerCustom::ShiftKeyDown() { return platform::GetKeyState(platform::VK_SHIFT) < 0; }

void TKsSBHandlerCustom::MouseButton(bool down, TMouseButton button, int x, int y, bool shiftHeld) {
  if (button != mbLeft) return;
  lastMouse_ = TPoint{x, y};
  if (down) {
    TKsScrollBarPart part = GetHitTest(x, y);
    fPressedIn = part;
    if (fPressed) return;
    fOrigPressedIn = part;
    PressPart(part, x, y, shiftHeld);
    return;
  }
  if (!fPressed) {
    if (fSBController) fSBController->ReleaseMouse();
    return;
  }
  if (fScrollTimer) fScrollTimer->SetEnabled(false);
  if (fSBController) fSBController->ReleaseMouse();
  fPressed = false;
  bool dragged = fTracking;
  if (fTracking) {
    fTracking = false;
    fTrackPos = -1;
  }
  if (fOrigPressedIn == sbpThumb) {
    fHintWnd.reset();
    // A click on the thumb without a drag keeps the position: the pixel round trip would not.
    ReportStep(escPosition, dragged ? CalcPosFromThumb() : fOrigPos);
  } else {
    ReportStep(escEndScroll, fPosition);
  }
  UpdateThumbPos();
  fPressedIn = sbpNowhere;
  Repaint();
}

void TKsSBHandlerCustom::AbandonPress() {
  if (fScrollTimer) fScrollTimer->SetEnabled(false);
  fHintWnd.reset();
  fPressed = fTracking = fMouseInControl = false;
  fTrackPos = -1;
  fPressedIn = fOrigPressedIn = fMouseOver = sbpNowhere;
}

void TKsSBHandlerCustom::PressPart(TKsScrollBarPart part, int x, int y, bool shiftHeld) {
  if (part == sbpNowhere) {
    fPressed = false;
    return;
  }
  if (shiftHeld && (part == sbpLeftTop || part == sbpRightBottom)) {
    JumpThumbTo(fKind == sbHorizontal ? x : y);
    part = sbpThumb;
    fPressedIn = fOrigPressedIn = sbpThumb;
  }
  const long long range = static_cast<long long>(fMax) - fMin + 1;
  TKsScrollCode code = escEndScroll;
  int target = fPosition;
  if (part == sbpThumb) {
    fPressed = fPage < range && fMax != fMin;
    int c = fKind == sbHorizontal ? x : y;
    fOrigCoord = c;
    fOrigPos = fPosition;
    fThumbOffset = c - fThumbPos;
    if (fShowTrackHint) ShowHintAt(fPosition);
  } else {
    TargetFor(part, fPage, code, target);
    if (code == escSndLineUp || code == escSndLineDown) fPressed = true;
    else if (code == escLineUp || code == escPageUp) fPressed = BackwardPossible();
    else fPressed = ForwardPossible();
  }
  if (fPressed || (fNoDisableButtons && part != sbpThumb)) {
    fPressed = true;
    if (fSBController) fSBController->CaptureMouse();
    if (part != sbpThumb) {
      fPressedPos = TPoint{x, y};
      if (fScrollTimer) {
        fScrollTimer->SetInterval(kRepeatDelayMs);
        fScrollTimer->SetEnabled(true);
      }
      ReportStep(code, target);
    }
  } else {
    fPressedIn = sbpNowhere;
  }
  Repaint();
}

void TKsSBHandlerCustom::MouseMove(int x, int y) {
  lastMouse_ = TPoint{x, y};
  TKsScrollBarPart oldOver = fMouseOver;
  if (fPressed) {
    if (!fTracking) {
      fTracking = true;
      fTrackPos = fThumbOffset;
    }
    if (fOrigPressedIn == sbpThumb) {
      MoveThumb(fKind == sbHorizontal ? x : y);
      return;
    }
    fMouseOver = GetHitTest(x, y);
    bool onPressed = fMouseOver == fOrigPressedIn;
    if (fScrollTimer && fScrollTimer->Enabled() != onPressed) fScrollTimer->SetEnabled(onPressed);
  } else {
    fMouseOver = GetHitTest(x, y);
  }
  if (fMouseOver != oldOver) Repaint();
}

// The thumb's middle goes to `c` and the control scrolls there; the press then goes on as a
// press on the thumb, so a drag can follow.
void TKsSBHandlerCustom::JumpThumbTo(int c) {
  TKsSBGeometry g = Geometry();
  fThumbPos =
      std::clamp(c - g.ThumbLength() / 2, g.TrackStart(), std::max(g.TrackStart(), g.TrackEnd() - g.ThumbLength()));
  ReportStep(escPosition, CalcPosFromThumb());
  fThumbPos = CalcThumbPos();
}

void TKsSBHandlerCustom::MoveThumb(int c) {
  const int length = Length();
  const int oldThumb = fThumbPos;
  if ((c < 0 && -c > length / 2) || (c > length && c - length > length / 2)) {
    fThumbPos = fOrigCoord - fThumbOffset;
    if (fThumbPos != oldThumb) Repaint();
    return;
  }
  TKsSBGeometry g = Geometry();
  fThumbPos = std::clamp(c - fThumbOffset, g.TrackStart(), std::max(g.TrackStart(), g.TrackEnd() - g.ThumbLength()));
  int target = CalcPosFromThumb();
  bool doChange = true;
  DoScroll(escTrack, target, doChange);
  if (fThumbPos == oldThumb) return;
  Repaint();
  if (fShowTrackHint) ShowHintAt(target);
}

void TKsSBHandlerCustom::MouseEnter() {
  fMouseInControl = true;
  if (IsThemed()) Repaint();
}

void TKsSBHandlerCustom::MouseLeave(bool forceRepaint) {
  fMouseInControl = false;
  if ((forceRepaint && fFlat && !fActiveFlat) || IsThemed() || IsButtonPart(fMouseOver)) Repaint();
  fMouseOver = sbpNowhere;
}

// ---- auto-repeat ------------------------------------------------------------------------------

void TKsSBHandlerCustom::CreateScrollTimer() {
  if (fScrollTimer) return;
  fScrollTimer = std::make_unique<TTimer>(nullptr);
  fScrollTimer->SetEnabled(false);
  fScrollTimer->OnTimer = [this](TObject* sender) { OnScrollTimer(sender); };
}

void TKsSBHandlerCustom::FreeScrollTimer() { fScrollTimer.reset(); }

TPoint TKsSBHandlerCustom::CursorInBar() const {
  if (!HasWindow()) return lastMouse_;
  TPoint p{0, 0};
  platform::GetCursorPos(&p);
  platform::ScreenToClient(fSBController->ControlHandle(), &p);
  TKsSBEdges edges = fSBController->Edges();
  p.x += edges.left;
  p.y += edges.top;
  const TKsSBHandlerCustom* other = OtherBar();
  if (fSBController->VerticalBarOnLeft() && other) p.x += fKind == sbVertical ? Depth() : other->Depth();
  return TPoint{p.x - fScrollBarRect.left, p.y - fScrollBarRect.top};
}

void TKsSBHandlerCustom::OnScrollTimer(TObject*) {
  try {
    if (fScrollTimer) fScrollTimer->SetInterval(kRepeatRateMs);
    if (!fPressed || fOrigPressedIn == sbpThumb) return;
    TPoint cursor = CursorInBar();
    TKsScrollCode code = escEndScroll;
    int target = fPosition;
    if (!TargetFor(fPressedIn, fPage == 0 ? 1 : fPage, code, target)) return;
    bool pagesTrack = fPressedIn == sbpLeftTop || fPressedIn == sbpRightBottom;
    if (pagesTrack && GetHitTest(cursor.x, cursor.y) != fPressedIn) target = fPosition;
    if (target != fPosition) ReportStep(code, target);
  } catch (const Exception&) {
    // A failed tick is skipped.
  }
}

// ---- mirrored scroll information --------------------------------------------------------------

int TKsSBHandlerCustom::SetScrollInfo(const platform::SCROLLINFO& info, bool redraw) {
  using namespace platform;
  if (info.cbSize < sizeof(SCROLLINFO)) return fPosition;
  bool hasPage = (info.fMask & SIF_PAGE) != 0;
  if (info.fMask & SIF_RANGE) {
    if (info.nMax >= info.nMin) {
      bool hasPos = (info.fMask & SIF_POS) != 0;
      if (hasPos || (fPosition >= info.nMin && fPosition <= info.nMax)) {
        if (hasPos) fPosition = std::clamp(info.nPos, info.nMin, info.nMax);
        fMin = info.nMin;
        fMax = info.nMax;
        if (hasPage) fPage = static_cast<int>(info.nPage);
      }
    }
  } else if (info.fMask & SIF_POS) {
    if (info.nPos >= fMin && info.nPos <= fMax) {
      fPosition = info.nPos;
      if (hasPage) fPage = static_cast<int>(info.nPage);
    }
  } else if (hasPage) {
    fPage = static_cast<int>(info.nPage);
  }
  UpdateThumbPos();
  bool visible = Visible();
  if (visible && fSBController) fSBController->DoShowScrollBar(fBarFlag, true);
  if (redraw && HasWindow()) {
    if (visible) fSBController->RecomputeFrame();
    else platform::SendMessageW(fSBController->ControlHandle(), platform::WM_NCPAINT, 1, 0);
  }
  return fPosition;
}

void TKsSBHandlerCustom::SyncScrollInfoFromSystem(bool redraw) {
  if (!fSBController || !fSBController->AttachedControl()) return;
  if (!fSBController->ControlHandleAllocated()) {
    fPosition = -1;
    fTrackPos = -1;
    fThumbPos = 0;
    return;
  }
  platform::SCROLLINFO si;
  si.fMask = platform::SIF_ALL;
  platform::GetScrollInfo(fSBController->ControlHandle(), fBarFlag, &si);
  SyncScrollInfo(si, redraw);
}

void TKsSBHandlerCustom::SyncScrollInfo(const platform::SCROLLINFO& given, bool redraw) {
  using namespace platform;
  SCROLLINFO si;
  si.fMask = given.fMask;
  if (!HasWindow() || !GetScrollInfo(fSBController->ControlHandle(), fBarFlag, &si)) si = given;
  bool grows = false;
  if (si.fMask & SIF_RANGE) {
    const TKsSBHandlerCustom* other = OtherBar();
    TWinControl* control = fSBController ? fSBController->AttachedControl() : nullptr;
    long long extent = control ? (fKind == sbHorizontal ? control->Width() : control->Height()) : Length();
    if (other) extent -= other->Depth();
    grows = static_cast<long long>(fMax) - fMin < extent && static_cast<long long>(si.nMax) - si.nMin >= extent;
    fMin = si.nMin;
    fMax = si.nMax;
  }
  if (si.fMask & SIF_PAGE) fPage = static_cast<int>(si.nPage);
  if (si.fMask & SIF_POS) fPosition = si.nPos;
  if (si.fMask & SIF_TRACKPOS) fTrackPos = si.nTrackPos;
  UpdateThumbPos();
  fEnabled = !(given.fMask & SIF_DISABLENOSCROLL) && fMin < fMax;
  if (!fSBController || fSBController->UpdateCount() > 0) return;
  if (redraw) fSBController->RepaintBar(grows ? SB_BOTH : fBarFlag);
  else if (grows) fSBController->RepaintBar(fBarFlag == SB_HORZ ? SB_VERT : SB_HORZ);
}

void TKsSBHandlerCustom::ShowHintAt(int position) {
  String text;
  DoScrollHintNeeded(position, text);
  if (!fHintWnd) fHintWnd = std::make_unique<TKsSBTrackHint>();
  fHintWnd->Show(*this, text);
}

}  // namespace kestrel
