#pragma once
// TCustomKsPanel / TKsPanel: a container window that paints its own background (a colour, a
// bitmap, a gradient, or the piece of an image form's background under it), a flat border,
// outer and inner bevels, grab handles along its sides, a size grip and a caption. It can be
// see-through (classic Transparent, or themed TransparentXPThemes) and can be moved and resized
// with the mouse. Every paint goes through an off-screen bitmap.

#include <array>
#include <memory>

#include "controls/BorderPainter.h"
#include "controls/DrawingTypes.h"
#include "controls/ImgFormChangeLink.h"
#include "controls/KsPanelGrabHandle.h"
#include "controls/KsThemeStyleWiring.h"
#include "controls/ThemedElements.h"
#include "foundation/VnThemeMode.h"
#include "framework/Bitmap.h"
#include "framework/ButtonControl.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/Label.h"

namespace kestrel {

class TCustomKsImageForm;
class TKsStyleManager;

// The transparency notice a see-through panel posts to its children (lParam = the panel).
constexpr platform::UINT KSM_PANEL_TRANSPARENCY = platform::WM_USER + 7;

class TCustomKsPanel : public TCustomControl {
  KESTREL_CLASS(TCustomKsPanel)
  explicit TCustomKsPanel(TComponent* owner);
  ~TCustomKsPanel() override;

  // The effective theme mode (own ThemeMode and ThemeGlobalMode) is not ttmNone.
  bool IsThemed() const;
  // The theme class the panel's bevels are drawn with.
  virtual TThemedElement ThemedElement() const { return teWindow; }

  // ---- theme ----
  TVnThemeMode ThemeMode() const { return FThemeStyle.ThemeMode(); }
  virtual void SetThemeMode(TVnThemeMode value);
  bool ThemeGlobalMode() const { return FThemeStyle.ThemeGlobalMode(); }
  virtual void SetThemeGlobalMode(bool value);
  bool UseXPThemes() const { return FThemeStyle.UseXPThemes(); }
  virtual void SetUseXPThemes(bool value);
  bool TransparentXPThemes() const { return FTransparentXPThemes; }
  virtual void SetTransparentXPThemes(bool value);

  // ---- border and bevels ----
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TKsFlatBorderType BorderType() const { return FBorderType; }
  virtual void SetBorderType(TKsFlatBorderType value);
  TVnBorderSides BorderSides() const { return FBorderSides; }
  void SetBorderSides(TVnBorderSides value);
  const TKsBorderColors& BorderColors() const { return borderColors_; }
  TColor BorderColorFace() const { return borderColors_.Face; }
  TColor BorderColorDkShadow() const { return borderColors_.DkShadow; }
  TColor BorderColorShadow() const { return borderColors_.Shadow; }
  TColor BorderColorHighlight() const { return borderColors_.Highlight; }
  TColor BorderColorWindow() const { return borderColors_.Window; }
  void SetBorderColorFace(TColor value) { SetBorderColor(borderColors_.Face, value); }
  void SetBorderColorDkShadow(TColor value) { SetBorderColor(borderColors_.DkShadow, value); }
  void SetBorderColorShadow(TColor value) { SetBorderColor(borderColors_.Shadow, value); }
  void SetBorderColorHighlight(TColor value) { SetBorderColor(borderColors_.Highlight, value); }
  void SetBorderColorWindow(TColor value) { SetBorderColor(borderColors_.Window, value); }
  TVnBevelStyle BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TVnBevelStyle value);
  TVnBevelStyle BevelInner() const { return FBevelInner; }
  void SetBevelInner(TVnBevelStyle value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  TColor BevelSpaceColor() const { return FBevelSpaceColor; }
  void SetBevelSpaceColor(TColor value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);

  // ---- background ----
  TVnBackgroundType BackgroundType() const { return FBackgroundType; }
  virtual void SetBackgroundType(TVnBackgroundType value);
  TBitmap* Background() const { return FBackground.get(); }
  void SetBackground(const TBitmap* value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor value);
  int GradientSteps() const { return FGradientSteps; }
  void SetGradientSteps(int value);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  std::uint8_t AlphaLevel() const { return FAlphaLevel; }
  void SetAlphaLevel(std::uint8_t value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  bool AlwaysPaintBackground() const { return FAlwaysPaintBackground; }
  void SetAlwaysPaintBackground(bool value);
  TCustomKsImageForm* ImageForm() const { return FImgForm; }
  virtual void SetImageForm(TCustomKsImageForm* value);

  // ---- caption ----
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool value);

  // ---- moving and sizing ----
  bool Resizable() const { return FResizable; }
  virtual void SetResizable(bool value);
  bool Movable() const { return FMovable; }
  virtual void SetMovable(bool value) { FMovable = value; }
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool value);
  TRect SizeGripRect() const { return sizeGripRect_; }
  TKsPanelGrabHandle* LeftGrabHandle() const { return FGrabHandles[0].get(); }
  TKsPanelGrabHandle* TopGrabHandle() const { return FGrabHandles[1].get(); }
  TKsPanelGrabHandle* RightGrabHandle() const { return FGrabHandles[2].get(); }
  TKsPanelGrabHandle* BottomGrabHandle() const { return FGrabHandles[3].get(); }
  void SetLeftGrabHandle(const TKsPanelGrabHandle* value) { FGrabHandles[0]->Assign(value); }
  void SetTopGrabHandle(const TKsPanelGrabHandle* value) { FGrabHandles[1]->Assign(value); }
  void SetRightGrabHandle(const TKsPanelGrabHandle* value) { FGrabHandles[2]->Assign(value); }
  void SetBottomGrabHandle(const TKsPanelGrabHandle* value) { FGrabHandles[3]->Assign(value); }
  // Run after bevel and grab-handle changes; empty here.
  virtual void GrabHandlesChanged() {}

  // ---- styles ----
  TKsStyleManager* StyleManager() const { return FThemeStyle.StyleManager(); }
  void SetStyleManager(TKsStyleManager* value);
  const String& StyleName() const { return FThemeStyle.StyleName(); }
  void SetStyleName(const String& value);
  // Applies the style named StyleName from the manager and repaints the panel and its children.
  virtual void UpdateStyle();

  void SetText(const String& value) override;
  // A grouping of the controls on it.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;
  void AdjustClientRect(TRect& rect) const override;
  // Tells children that see through to this panel to repaint (force: whatever this panel is).
  virtual void UpdateChildren(bool force);

  TNotifyEvent OnPaint;
  TNotifyEvent OnMove;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void PaintWindow(platform::HDC dc) override;
  void Paint() override;
  void Loaded() override;
  void DefineProperties(TFiler& filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

  virtual void ThemeChanged();
  virtual void DrawPanel(const TRect& r);
  virtual void PaintThemedBackground(const TRect& r);
  virtual TRect BackgroundRect() const { return ClientRect(); }
  virtual void DoMove();
  virtual void DoPaint();
  virtual void MouseEnterPanel();
  virtual void MouseLeavePanel();

 private:
  static void PublishLook(TClassBuilder<TCustomKsPanel>& b);
  static void PublishParts(TClassBuilder<TCustomKsPanel>& b);
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool LoadingOrReading() const;
  bool SeeThrough() const;
  bool ParentIsThemedOrPanel() const;
  // The panel and its children repaint after a style was applied.
  void StyleApplied();
  void SetBorderColor(TColor& field, TColor value);
  // The size message: the strips of the right, bottom and top grab handles are painted again.
  void InvalidateMovedGrabHandles(int w, int h);
  void SetFrameworkBevel(TVnBevelStyle& field, TVnBevelStyle value);
  void UpdateCache();
  void BackgroundChanged();
  void WMEraseBkgnd(TMessage& m);
  void WMSize(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMExitSizeMove();
  void ImageFormNotice(TMessage& m);
  bool DialogChar(char16_t key);
  void PaintParentInto(platform::HDC dc, const TRect& r, bool alsoPaint = true);
  void PaintClassicBackground(platform::HDC dc, const TRect& r);
  void PaintOwnBackground(platform::HDC dc, const TRect& r);
  void PaintImageFormBackground(platform::HDC dc, const TRect& r);
  TRect PaintBevelStep(platform::HDC dc, TRect c, TVnBevelStyle style, bool themed);
  void PaintGrabHandles(platform::HDC dc, TRect& c, bool themed);
  void PaintCaption(platform::HDC dc, const TRect& c);
  void PaintSizeGrip(platform::HDC dc, const TRect& c, bool themed);
  void NotifyChildren(int oldWidth, int oldHeight, int width, int height, bool all);
  void StartSystemMove(platform::HWND target, int x, int y);
  TKsPanelGrabHandle* GrabHandleAt(TRect q, TPoint p) const;
  int BevelInset() const;

  platform::SIZE FSize{};
  // The theme mode, the style manager and its change link.
  TKsThemeStyleWiring FThemeStyle;
  bool FWordWrap = false;
  bool FIsUpdated = false;
  TKsBorderColors borderColors_;
  TKsFlatBorderType FBorderType = fbtSunken;
  TVnBorderSides FBorderSides = AllBorderSides;
  TFormBorderStyle FBorderStyle = bsNone;
  TVnBevelStyle FBevelInner = bvNone;
  TVnBevelStyle FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  bool FOwnerDraw = false;
  bool FAlwaysPaintBackground = false;
  TTextLayout FLayout = tlCenter;
  int FGradientSteps = 16;
  TColor FGradientStartColor = clBlack;
  TColor FGradientEndColor = clBlack;
  std::unique_ptr<TBitmap> FTmpBmp;
  bool FTransparent = false;
  std::unique_ptr<TBitmap> FBackground;
  TVnBackgroundType FBackgroundType = bgtColorFill;
  std::unique_ptr<TImgFormChangeLink> FImgFormChLink;
  TCustomKsImageForm* FImgForm = nullptr;
  platform::HWND FSaveCapture = nullptr;
  bool FResizable = false;
  bool FMovable = false;
  TRect FSizeMoveRect{};
  std::array<std::unique_ptr<TKsPanelGrabHandle>, 4> FGrabHandles;  // left, top, right, bottom
  bool FPressed = false;
  std::uint8_t FAlphaLevel = 0;
  bool FTransparentXPThemes = true;
  bool FSizeGrip = false;
  TRect sizeGripRect_{};
  TColor FBevelSpaceColor = clBtnFace;
  bool FShowFocus = false;
  // The framework panel's part: caption alignment, border width and the bevel records, which
  // follow BevelOuter/BevelInner only for bvNone, bvLowered, bvRaised and bvSpace.
  TAlignment alignment_ = taCenter;
  int borderWidth_ = 0;
  TVnBevelStyle frameworkBevelOuter_ = bvRaised;
  TVnBevelStyle frameworkBevelInner_ = bvNone;
  // The space key posted after a move command, until the move loop takes it.
  bool moveKeyPending_ = false;
};

class TKsPanel : public TCustomKsPanel {
  KESTREL_CLASS(TKsPanel)
  explicit TKsPanel(TComponent* owner) : TCustomKsPanel(owner) {}
};

}  // namespace kestrel
