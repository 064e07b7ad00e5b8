#pragma once
// TKsSBHandlerCustom: one owner-drawn scroll bar. It is not a window: it mirrors the platform
// scroll information of one side of the attached window, knows its geometry, answers hit
// tests, paints itself into a canvas whose origin is its top-left corner, reacts to mouse
// presses, moves and releases in its own coordinates, repeats while a button is held and
// reports each step to its controller (TKsSBControllerLink).

#include <memory>

#include "controls/KsSBControllerLink.h"
#include "controls/KsSBGeometry.h"
#include "controls/KsSBTypes.h"
#include "foundation/VnThemeMode.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/ControlMessages.h"
#include "framework/Persistent.h"
#include "framework/Timer.h"
#include "platform/window/ScrollBars.h"

namespace kestrel {

class TKsImageForm;
class TKsSBTrackHint;

class TKsSBHandlerCustom : public TPersistent {
  KESTREL_CLASS(TKsSBHandlerCustom)
  explicit TKsSBHandlerCustom(TKsSBControllerLink* controller = nullptr);
  ~TKsSBHandlerCustom() override;

  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  // ---- identity and placement (the controller sets these) ----
  TKsSBControllerLink* SBController() const { return fSBController; }
  void SetSBController(TKsSBControllerLink* controller) { fSBController = controller; }
  TScrollBarKind Kind() const { return fKind; }
  void SetKind(TScrollBarKind kind);
  int BarFlag() const { return fBarFlag; }
  // fWidth x fHeight; the length is fWidth (horizontal) or fHeight (vertical).
  int fWidth = 121;
  int fHeight = 0;
  // Window coordinates, right and bottom inclusive.
  TRect fScrollBarRect{-1, -1, -1, -1};
  const TRect& ScrollBarRect() const { return fScrollBarRect; }
  int Length() const { return fKind == sbHorizontal ? fWidth : fHeight; }

  // ---- geometry ----
  int EffectiveButtonSize() const;
  int ThumbStart() const { return fThumbPos; }
  int ThumbLength() const;
  // Recomputes the thumb start from the position.
  void UpdateThumbPos();
  virtual int CalcThumbPos();
  virtual int CalcPosFromThumb();
  TKsScrollBarPart GetHitTest(int x, int y);

  // ---- painting ----
  void Paint(TCanvas& canvas);
  bool IsThemed() const;

  // ---- mouse, bar-relative coordinates ----
  // A press in the track with Shift held moves the thumb's middle to the click at once.
  void MouseButton(bool down, TMouseButton button, int x, int y, bool shiftHeld = ShiftKeyDown());
  static bool ShiftKeyDown();
  void MouseMove(int x, int y);
  void MouseEnter();
  void MouseLeave(bool forceRepaint);
  bool MouseInControl() const { return fMouseInControl; }
  bool Pressed() const { return fPressed; }
  bool Tracking() const { return fTracking; }
  TKsScrollBarPart PressedIn() const { return fPressedIn; }
  TKsScrollBarPart MouseOver() const { return fMouseOver; }
  // Ends a press without reporting anything (the bar's control goes away): the timer stops, the
  // track hint goes and the bar is idle again.
  void AbandonPress();
  bool ScrollTracking() const { return fScrollTracking; }
  void SetScrollTracking(bool value) { fScrollTracking = value; }

  // ---- auto-repeat timer (created and freed by the controller) ----
  virtual void CreateScrollTimer();
  virtual void FreeScrollTimer();
  TTimer* ScrollTimer() const { return fScrollTimer.get(); }
  void OnScrollTimer(TObject* sender);

  // ---- mirrored platform scroll information ----
  int SetScrollInfo(const platform::SCROLLINFO& info, bool redraw);
  void SyncScrollInfo(const platform::SCROLLINFO& si, bool redraw);
  void SyncScrollInfoFromSystem(bool redraw);
  // Re-applies the platform metrics (button size and depth) when UseSystemMetrics is on.
  void ApplySystemMetrics();

  // ---- public properties ----
  bool Visible();
  void SetVisible(bool value);
  int Position() const { return fPosition; }
  void SetPosition(int value);
  int Min() const { return fMin; }
  void SetMin(int value);
  int Max() const { return fMax; }
  void SetMax(int value);
  int Page() const { return fPage; }
  void SetPage(int value);
  int TrackPos() const { return fTrackPos; }
  bool Enabled() const { return fEnabled; }
  void SetEnabled(bool value);
  int Depth() const { return fKind == sbHorizontal ? fHeight : fWidth; }
  void SetDepth(int value);
  String Hint() const { return fHint; }
  void SetHint(const String& value);
  bool UseXPThemes() const { return FThemeMode == ttmPlatform; }
  void SetUseXPThemes(bool value) { SetThemeMode(value ? ttmPlatform : ttmNone); }

  // ---- published properties (TKsCtrlScrollBarStyles) ----
  bool ActiveFlat() const { return fActiveFlat; }
  void SetActiveFlat(bool value);
  bool AltDisablingArrows() const { return fAltDisablingArrows; }
  void SetAltDisablingArrows(bool) {}
  TColor ArrowColor() const { return fArrowColor; }
  void SetArrowColor(TColor value) { SetLook(fArrowColor, value); }
  TColor ArrowHotTrackColor() const { return fArrowHotTrackColor; }
  void SetArrowHotTrackColor(TColor value) { SetLook(fArrowHotTrackColor, value); }
  TColor BarColor() const { return fBarColor; }
  void SetBarColor(TColor value) { SetLook(fBarColor, value); }
  unsigned BarOffset() const { return fBarOffset; }
  void SetBarOffset(unsigned value) { SetLook(fBarOffset, value); }
  bool BlendBackground() const { return fBlendBackground; }
  void SetBlendBackground(bool value) { SetLook(fBlendBackground, value); }
  int ButtonSize() const { return EffectiveButtonSize(); }
  void SetButtonSize(int value);
  bool ChangeColorsOnScroll() const { return fChangeColorsOnScroll; }
  void SetChangeColorsOnScroll(bool value) { SetLook(fChangeColorsOnScroll, value); }
  TColor Color() const { return fColor; }
  void SetColor(TColor value) { SetLook(fColor, value); }
  bool DrawArrowFrames() const { return fDrawArrowFrames; }
  void SetDrawArrowFrames(bool value) { SetLook(fDrawArrowFrames, value); }
  bool DrawBars() const { return fDrawBars; }
  void SetDrawBars(bool value) { SetLook(fDrawBars, value); }
  bool ShowBorder() const { return fShowBorder; }
  void SetShowBorder(bool value);
  bool Flat() const { return fFlat; }
  void SetFlat(bool value) { SetLook(fFlat, value); }
  TColor HintColor() const { return fHintColor; }
  void SetHintColor(TColor value) { fHintColor = value; }
  TColor HintTextColor() const { return fHintTextColor; }
  void SetHintTextColor(TColor value) { fHintTextColor = value; }
  bool IsHTML() const { return fIsHTML; }
  void SetIsHTML(bool value) { fIsHTML = value; }
  int MinThumbSize() const { return fMinThumbSize; }
  void SetMinThumbSize(int value);
  bool NoDisableButtons() const { return fNoDisableButtons; }
  void SetNoDisableButtons(bool value) { SetLook(fNoDisableButtons, value); }
  bool NoSunkenThumb() const { return fNoSunkenThumb; }
  void SetNoSunkenThumb(bool value) { SetLook(fNoSunkenThumb, value); }
  bool OwnerDraw() const { return fOwnerDraw; }
  void SetOwnerDraw(bool value) { SetLook(fOwnerDraw, value); }
  bool SecondaryButtons() const { return fSecondaryButtons; }
  void SetSecondaryButtons(bool value) { SetGeometry(fSecondaryButtons, value); }
  TKsSecButtonsKind SecondBtnKind() const { return fSecondBtnKind; }
  void SetSecondBtnKind(TKsSecButtonsKind value) { SetLook(fSecondBtnKind, value); }
  bool ShowLeftArrows() const { return fShowLeftArrows; }
  void SetShowLeftArrows(bool value) { SetGeometry(fShowLeftArrows, value); }
  bool ShowRightArrows() const { return fShowRightArrows; }
  void SetShowRightArrows(bool value) { SetGeometry(fShowRightArrows, value); }
  bool ShowTrackHint() const { return fShowTrackHint; }
  void SetShowTrackHint(bool value) { fShowTrackHint = value; }
  int Step() const { return fStep; }
  void SetStep(int value) { fStep = value; }
  bool SystemBkColor() const { return fSysBkColor; }
  void SetSystemBkColor(bool value) { SetLook(fSysBkColor, value); }
  bool ThinFrame() const { return fThinFrame; }
  void SetThinFrame(bool value) { SetLook(fThinFrame, value); }
  TKsScrollThumbMode ThumbMode() const { return fThumbMode; }
  void SetThumbMode(TKsScrollThumbMode value);
  int ThumbSize() const;
  void SetThumbSize(int value);
  bool UseSystemMetrics() const { return fUseSystemMetrics; }
  void SetUseSystemMetrics(bool value);
  bool UseSystemStep() const { return fUseSystemStep; }
  void SetUseSystemStep(bool value) { fUseSystemStep = value; }
  TVnThemeMode ThemeMode() const { return FThemeMode; }
  virtual void SetThemeMode(TVnThemeMode value);
  bool ThemeGlobalMode() const { return FThemeGlobalMode; }
  virtual void SetThemeGlobalMode(bool value);
  virtual void ThemeChanged();
  TKsImageForm* ImageForm() const { return nullptr; }
  void SetImageForm(TKsImageForm*) {}

  TNotifyEvent OnChange;
  TKsSBScrollEvent OnScroll;
  TKsScrollDrawPartEvent OnDrawPart;
  TKsScrollHintNeededEvent OnScrollHintNeeded;
  TKsScrollHitTestEvent OnHitTest;
  // Raised whenever the bar is found shown or hidden (by its own Visible, or by the window's
  // scroll style changing under it).
  TNotifyEvent OnVisibleChange;

  // The shared 8x8 track pattern's two colours (built once, from the first bar's Color).
  static TColor PatternEvenColor();
  static TColor PatternOddColor();

 protected:
  virtual void DoChange();
  virtual void DoScroll(TKsScrollCode code, int& position, bool& doChange);
  virtual void DoScrollHintNeeded(int trackPosition, String& hint);
  virtual void DoHitTest(int x, int y, TKsScrollBarPart& part, bool& defaultTest);
  // Asks the controller to paint this bar now.
  void Repaint();

 private:
  friend class TKsSBPainter;

  template <class T>
  void SetLook(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  template <class T>
  void SetGeometry(T& field, T value) {
    if (field == value) return;
    field = value;
    GeometryChanged();
  }
  void GeometryChanged();
  void RangeChanged();
  TKsSBGeometry Geometry() const;
  bool HasWindow() const;
  bool IsLoading() const;
  bool WindowEnabled() const;
  const TKsSBHandlerCustom* OtherBar() const;
  void ShowHintAt(int position);
  TPoint CursorInBar() const;
  void PressPart(TKsScrollBarPart part, int x, int y, bool shiftHeld);
  void JumpThumbTo(int c);
  bool TargetFor(TKsScrollBarPart part, int pageStep, TKsScrollCode& code, int& target) const;
  void MoveThumb(int c);
  TPoint lastMouse_{0, 0};
  bool BackwardPossible() const;
  bool ForwardPossible() const;
  void ReportStep(TKsScrollCode code, int position);
  void NoteVisible(bool value);

  int fMin = 0;
  int fMax = -1;
  int fPage = 14;
  int fPosition = -1;
  int fTrackPos = -1;
  TScrollBarKind fKind = sbHorizontal;
  int fBarFlag = platform::SB_HORZ;
  TKsSBControllerLink* fSBController = nullptr;
  bool fEnabled = true;
  bool fUseSystemMetrics = true;
  int fThumbPos = 0;
  int fThumbSize = 0;
  int fMinThumbSize = 12;
  TKsScrollThumbMode fThumbMode = etmAuto;
  bool fNoSunkenThumb = false;
  int fButtonSize = 17;
  bool fFlat = true;
  bool fActiveFlat = false;
  bool fMouseInControl = false;
  bool fThinFrame = false;
  bool fShowBorder = true;
  bool fDrawArrowFrames = true;
  bool fDrawBars = true;
  unsigned fBarOffset = 2;
  TColor fColor = clBtnFace;
  TColor fBarColor = clBtnShadow;
  TColor fArrowColor = clBtnText;
  TColor fArrowHotTrackColor = clHighlight;
  bool fShowLeftArrows = true;
  bool fShowRightArrows = true;
  bool fChangeColorsOnScroll = true;
  bool fBitmapOwner = false;
  bool fBlendBackground = true;
  bool fShowTrackHint = false;
  bool fNoDisableButtons = false;
  bool fOwnerDraw = false;
  bool fSecondaryButtons = false;
  TKsSecButtonsKind fSecondBtnKind = sbkOpposite;
  bool fIsHTML = false;

  std::unique_ptr<TTimer> fScrollTimer;
  int fThumbOffset = 0;
  int fOrigPos = 0;
  int fOrigCoord = 0;
  TKsScrollBarPart fPressedIn = sbpNowhere;
  TKsScrollBarPart fOrigPressedIn = sbpNowhere;
  TKsScrollBarPart fMouseOver = sbpNowhere;
  std::unique_ptr<TKsSBTrackHint> fHintWnd;
  TPoint fPressedPos{0, 0};
  bool fPressed = false;
  bool fTracking = false;
  bool fScrollTracking = false;
  bool fNoScrollMessages = true;
  bool fAltDisablingArrows = true;

  bool fVisible = true;
  bool FThemeGlobalMode = false;
  TVnThemeMode FThemeMode = ttmPlatform;
  TColor fHintColor = clInfoBk;
  TColor fHintTextColor = clInfoText;
  String fHint;
  bool fSysBkColor = true;
  int fStep = 1;
  bool fUseSystemStep = true;
};

}  // namespace kestrel
