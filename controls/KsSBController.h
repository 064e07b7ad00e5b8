#pragma once
// TKsSBController: dresses any windowed control in two owner-drawn scroll bars. The window keeps
// its scroll styles and platform scroll information; the controller reserves the bars' room in
// the non-client area, paints them and the corner between them, answers hit tests, routes the
// mouse to them and turns their steps back into the window's own WM_HSCROLL/WM_VSCROLL. It
// learns of every change to the scroll information through the scroll-bar message that the
// interception of the scroll setters sends (platform/window/ScrollInfoInterception.h).

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/KsComponent.h"
#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBControllerLink.h"
#include "controls/KsSBFrameLayout.h"
#include "controls/KsSBRedrawSwitch.h"
#include "framework/Canvas.h"
#include "framework/ControlMessages.h"

namespace kestrel {

class TKsHook;
class TWinControl;

enum TScrollBarTracking : std::uint8_t { sbtrNone, sbtrHorizontal, sbtrVertical, sbtrBoth };

// Sender is the attached control.
using TKsPaintCrossScrollBarsAreaEvent =
    std::function<void(TObject* Sender, TCanvas& Canvas, const TRect& R, bool& DefaultDraw)>;

class TKsSBController : public TKsComponent, public TKsSBControllerLink {
  KESTREL_CLASS(TKsSBController)
  explicit TKsSBController(TComponent* owner);
  ~TKsSBController() override;

  // The class both bars were made from (TKsCtrlScrollBarStyles unless a derived controller
  // chose another through the protected constructor).
  virtual const TMetaClass& GetScrollBarClass() const { return fHKsSB->ClassType(); }

  TWinControl* Control() const { return FScrollControl; }
  void SetControl(TWinControl* control);
  // Attached, with the interception of the scroll setters in place.
  bool Active() const;

  TKsCtrlScrollBarStyles* HorzScrollBarStyles() const { return fHKsSB.get(); }
  void SetHorzScrollBarStyles(const TKsCtrlScrollBarStyles* value) { fHKsSB->Assign(value); }
  TKsCtrlScrollBarStyles* VertScrollBarStyles() const { return fVKsSB.get(); }
  void SetVertScrollBarStyles(const TKsCtrlScrollBarStyles* value) { fVKsSB->Assign(value); }
  TScrollBarTracking ScrollBarsTracking() const;
  void SetScrollBarsTracking(TScrollBarTracking value);
  TVnThemeMode ThemeMode() const { return FThemeMode; }
  virtual void SetThemeMode(TVnThemeMode value);
  bool ThemeGlobalMode() const { return FThemeGlobalMode; }
  virtual void SetThemeGlobalMode(bool value);
  bool UseXPThemes() const { return FThemeMode != ttmNone; }
  void SetUseXPThemes(bool value) { SetThemeMode(value ? ttmPlatform : ttmNone); }
  virtual void ThemeChanged();

  void BeginUpdate() { ++fUpdateCount; }
  void EndUpdate();

  TRect GetCrossScrollBarsRect() const;
  // Screen point to a non-client hit-test code.
  platform::LRESULT InternalHitTest(int X, int Y);
  // 0 horizontal, 1 vertical, 3 both.
  void PaintScrollBar(int bar);

  void HandleCtrlMsgBefore(TObject* Sender, TMessage& Msg, bool& Handled);
  void HandleCtrlMsgAfter(TObject* Sender, TMessage& Msg, bool& Handled);

  // The bars' side of the controller.
  TWinControl* AttachedControl() const override { return FScrollControl; }
  bool ControlHandleAllocated() const override;
  platform::HWND ControlHandle() const override;
  int UpdateCount() const override { return fUpdateCount; }
  TKsSBEdges Edges() const override;
  bool VerticalBarOnLeft() const override { return layout_.LeftScrollBar(); }
  bool PreventStyleChange() const override { return fPreventStyleChange; }
  const TKsSBHandlerCustom* OtherBar(const TKsSBHandlerCustom& bar) const override;
  // The controller's effective theme mode (its own, the application's and the look's) is not
  // ttmNone.
  bool IsThemed() const override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void KsSBScrollEvent(int bar, TKsScrollCode code, bool& doChange, int& position) override;
  void RepaintBar(int bar) override { PaintScrollBar(bar); }
  void RecomputeFrame() override;
  int DoShowScrollBar(int wBar, bool bShow) override;

  TKsPaintCrossScrollBarsAreaEvent OnPaintCrossScrollBarsArea;

 protected:
  // Bars made from `barClass`, a class derived from TKsCtrlScrollBarStyles (any other class
  // gives plain TKsCtrlScrollBarStyles bars).
  TKsSBController(TComponent* owner, const TMetaClass& barClass);
  void DefineProperties(TFiler& filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void CreateHook();
  virtual void DestroyHook();

 private:
  void Detach();
  void Attach(TWinControl* control);
  // Both bars take the platform's metrics again; the frame and the window are redrawn.
  void ApplySystemMetrics();
  platform::DWORD Style() const;
  bool HasStyle(int bar) const;
  TKsCtrlScrollBarStyles& Bar(int bar) const { return bar == 0 ? *fHKsSB : *fVKsSB; }
  int ControlHeight() const;
  bool SizeableForm() const;
  // Handlers of the message groups; each answers whether it handled the message.
  bool HandleScrollBarMessage(TMessage& msg);
  bool HandleNcCalcSize(TMessage& msg);
  bool HandleNcPaint(TMessage& msg);
  bool HandleNcHitTest(TMessage& msg);
  bool HandleMouse(TMessage& msg);
  bool HandleScrollRequest(TMessage& msg);
  // Each bar re-reads its visibility from the window's style (raising its OnVisibleChange).
  void NoteBarVisibility();
  void CancelMode();
  void RouteToBar(int bar, const TMessage& msg, platform::POINT frame, bool over);
  void PaintCorner(platform::HDC dc);
  void PaintDefaultCorner(TCanvas& canvas, TRect r);
  // Runs the control's own handling with both scroll styles removed.
  platform::LRESULT PerformWithoutScrollStyles(TMessage& msg);

  std::unique_ptr<TKsHook> fKsHook;
  platform::HWND fSaveCapture = nullptr;
  std::unique_ptr<TKsCtrlScrollBarStyles> fHKsSB;
  std::unique_ptr<TKsCtrlScrollBarStyles> fVKsSB;
  bool fPreventStyleChange = false;
  bool FThemeGlobalMode = false;
  TVnThemeMode FThemeMode = ttmPlatform;
  TKsSBRedrawSwitch redraw_;
  int fVSavePos = 0;
  int fHSavePos = 0;
  int fUpdateCount = 0;
  TWinControl* FScrollControl = nullptr;
  TKsSBFrameLayout layout_;
};

}  // namespace kestrel
