#include "controls/KsPanel.h"

#include <algorithm>
#include <cstdint>

#include "controls/BackgroundPainter.h"
#include "controls/BevelPainter.h"
#include "controls/DrawingTypeInfo.h"
#include "controls/GdiScope.h"
#include "controls/GradientPainter.h"
#include "controls/KsImageForm.h"
#include "controls/KsStyleManager.h"
#include "controls/KsXPThemedControl.h"
#include "controls/internal/BitmapStretch.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/Label.h"
#include "framework/PublishColour.h"
#include "framework/Reader.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowThemes.h"

namespace kestrel {

using namespace platform;

namespace {

// A move as if the caption were dragged.
constexpr WPARAM kDragMove = SC_MOVE | static_cast<WPARAM>(HTCAPTION);

// A theme handle of one class for one paint.
class ScopedTheme {
 public:
  ScopedTheme(HWND hwnd, const WCHAR* classList) : theme_(OpenThemeData(hwnd, classList)) {}
  ~ScopedTheme() {
    if (theme_) CloseThemeData(theme_);
  }
  ScopedTheme(const ScopedTheme&) = delete;
  ScopedTheme& operator=(const ScopedTheme&) = delete;
  HTHEME Get() const { return theme_; }

 private:
  HTHEME theme_;
};

void FillColor(HDC dc, const TRect& r, TColor color) {
  FillRect(dc, &r, OwnedBrush(CreateSolidBrush(ColorToRGB(color))).get());
}

// `r` moved in by `by` on every side, never inverted, whatever the size of `by`.
TRect Inset(const TRect& r, std::int64_t by) {
  auto clampInt = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
  TRect out{clampInt(r.left + by), clampInt(r.top + by), clampInt(r.right - by), clampInt(r.bottom - by)};
  if (out.right < out.left) out.right = out.left;
  if (out.bottom < out.top) out.bottom = out.top;
  return out;
}

bool IsBitmapKind(TVnBackgroundType type) {
  return type == bgtTileBitmap || type == bgtStretchBitmap || type == bgtCenterBitmap;
}

bool IsFrameworkBevel(TVnBevelStyle style) {
  return style == bvNone || style == bvLowered || style == bvRaised || style == bvSpace;
}

bool IsKsControlChild(TControl* child) {
  return dynamic_cast<TCustomKsPanel*>(child) != nullptr || dynamic_cast<TKsXPThemedControl*>(child) != nullptr;
}

}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomKsPanel, TCustomControl)

void TCustomKsPanel::PublishProperties(TClassBuilder<TCustomKsPanel>& b) {
  using P = TCustomKsPanel;
  b.Enum(u"Alignment", &P::Alignment, &P::SetAlignment, AlignmentTypeInfo()).Default(taCenter);
  b.Enum(u"BorderType", &P::BorderType, &P::SetBorderType, FlatBorderTypeInfo()).Default(fbtSunken);
  b.Enum(u"BevelOuter", &P::BevelOuter, &P::SetBevelOuter, BevelStyleInfo()).Default(bvRaised);
  b.Enum(u"BevelInner", &P::BevelInner, &P::SetBevelInner, BevelStyleInfo()).Default(bvNone);
  b.Enum(u"BackgroundType", &P::BackgroundType, &P::SetBackgroundType, BackgroundTypeInfo()).Default(bgtColorFill);
  b.Property(u"BevelWidth", &P::BevelWidth, &P::SetBevelWidth).Default(1);
  b.Property(u"BorderWidth", &P::BorderWidth, &P::SetBorderWidth).Default(0);
  b.Property(u"Transparent", &P::Transparent, &P::SetTransparent).Default(false);
  b.Property(u"TransparentXPThemes", &P::TransparentXPThemes, &P::SetTransparentXPThemes).Default(true);
  b.Property(u"GradientSteps", &P::GradientSteps, &P::SetGradientSteps).Default(16);
  b.Property(u"Resizable", &P::Resizable, &P::SetResizable).Default(false);
  b.Property(u"Movable", &P::Movable, &P::SetMovable).Default(false);
  b.Property(u"SizeGrip", &P::SizeGrip, &P::SetSizeGrip).Default(false);
  b.Property(u"WordWrap", &P::WordWrap, &P::SetWordWrap).Default(false);
  b.Property(u"ShowFocus", &P::ShowFocus, &P::SetShowFocus).Default(false);
  b.Property(u"OwnerDraw", &P::OwnerDraw, &P::SetOwnerDraw).Default(false);
  b.Property(u"ThemeGlobalMode", &P::ThemeGlobalMode, &P::SetThemeGlobalMode).Default(false);
  b.Object(u"StyleManager", &P::StyleManager, &P::SetStyleManager);
  b.Property(u"StyleName", &P::StyleName, &P::SetStyleName);
  b.Enum(u"ThemeMode", &P::ThemeMode, &P::SetThemeMode, VnThemeModeInfo()).Default(ttmPlatform);
  PublishLook(b);
  PublishParts(b);
}

void TCustomKsPanel::PublishLook(TClassBuilder<TCustomKsPanel>& b) {
  using P = TCustomKsPanel;
  b.Enum(u"Layout", &P::Layout, &P::SetLayout, TextLayoutTypeInfo()).Default(tlCenter);
  b.Enum(u"BorderStyle", &P::BorderStyle, &P::SetBorderStyle, FormBorderStyleTypeInfo()).Default(bsNone);
  b.Set(u"BorderSides", &P::BorderSides, &P::SetBorderSides, BorderSideInfo(), u"TVnBorderSides")
      .Default(AllBorderSides);
  PublishColour(b, u"BorderColorDkShadow", &P::BorderColorDkShadow, &P::SetBorderColorDkShadow, cl3DDkShadow);
  PublishColour(b, u"BorderColorFace", &P::BorderColorFace, &P::SetBorderColorFace, clBtnFace);
  PublishColour(b, u"BorderColorShadow", &P::BorderColorShadow, &P::SetBorderColorShadow, clBtnShadow);
  PublishColour(b, u"BorderColorHighlight", &P::BorderColorHighlight, &P::SetBorderColorHighlight, clBtnHighlight);
  PublishColour(b, u"BorderColorWindow", &P::BorderColorWindow, &P::SetBorderColorWindow, clWindow);
  PublishColour(b, u"BevelSpaceColor", &P::BevelSpaceColor, &P::SetBevelSpaceColor, clBtnFace);
  PublishColour(b, u"GradientStartColor", &P::GradientStartColor, &P::SetGradientStartColor, 0);
  PublishColour(b, u"GradientEndColor", &P::GradientEndColor, &P::SetGradientEndColor, 0);
  b.Property(u"AlphaLevel", &P::AlphaLevel, &P::SetAlphaLevel).Default(0);
  b.Property(u"AlwaysPaintBackground", &P::AlwaysPaintBackground, &P::SetAlwaysPaintBackground).Default(false);
}

void TCustomKsPanel::PublishParts(TClassBuilder<TCustomKsPanel>& b) {
  using P = TCustomKsPanel;
  b.Object(u"Background", &P::Background, &P::SetBackground);
  b.Object(u"ImageForm", &P::ImageForm, &P::SetImageForm);
  b.Object(u"LeftGrabHandle", &P::LeftGrabHandle, &P::SetLeftGrabHandle);
  b.Object(u"TopGrabHandle", &P::TopGrabHandle, &P::SetTopGrabHandle);
  b.Object(u"RightGrabHandle", &P::RightGrabHandle, &P::SetRightGrabHandle);
  b.Object(u"BottomGrabHandle", &P::BottomGrabHandle, &P::SetBottomGrabHandle);
  b.Event(
      u"OnPaint", [](const P& p) { return static_cast<bool>(p.OnPaint); }, u"TNotifyEvent");
  b.Event(
      u"OnMove", [](const P& p) { return static_cast<bool>(p.OnMove); }, u"TNotifyEvent");
}

void TCustomKsPanel::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  // Older forms stored a Boolean; it is read with the same meaning and never written again.
  filer.DefineProperty(
      u"UseXPThemes", [this](TReader& reader) { SetUseXPThemes(reader.ReadBoolean()); }, nullptr, false);
}

KESTREL_IMPLEMENT_CLASS(TKsPanel, TCustomKsPanel)

TCustomKsPanel::TCustomKsPanel(TComponent* owner)
    : TCustomControl(owner),
      FThemeStyle(
          *this, [this] { StyleApplied(); }, [this] { UpdateChildren(true); }),
      FTmpBmp(new TBitmap),
      FBackground(new TBitmap),
      FImgFormChLink(new TImgFormChangeLink) {
  for (auto& handle : FGrabHandles) handle = std::make_unique<TKsPanelGrabHandle>(this);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque, csParentBackground});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  FImgFormChLink->OnChange = [this](TObject*) { Invalidate(); };
  FBackground->OnChange = [this](TObject*) { BackgroundChanged(); };
  FThemeStyle.AssignDefaultManager();
}

TCustomKsPanel::~TCustomKsPanel() {
  SetImageForm(nullptr);
  FImgFormChLink.reset();
  SetStyleManager(nullptr);
}

// ---- styles -----------------------------------------------------------------------------------

void TCustomKsPanel::SetStyleManager(TKsStyleManager* value) { FThemeStyle.SetStyleManager(value); }

void TCustomKsPanel::SetStyleName(const String& value) { FThemeStyle.SetStyleName(value); }

void TCustomKsPanel::UpdateStyle() { FThemeStyle.UpdateStyle(); }

void TCustomKsPanel::StyleApplied() {
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

// ---- theme ------------------------------------------------------------------------------------

bool TCustomKsPanel::IsThemed() const { return FThemeStyle.UseThemeMode() != ttmNone; }

void TCustomKsPanel::SetThemeMode(TVnThemeMode value) {
  if (FThemeStyle.SetThemeMode(value)) ThemeChanged();
}

void TCustomKsPanel::SetThemeGlobalMode(bool value) {
  if (FThemeStyle.SetThemeGlobalMode(value)) ThemeChanged();
}

void TCustomKsPanel::SetUseXPThemes(bool value) {
  if (value == UseXPThemes()) return;
  SetThemeMode(value ? ttmPlatform : ttmNone);
}

void TCustomKsPanel::SetTransparentXPThemes(bool value) {
  if (value == FTransparentXPThemes) return;
  FTransparentXPThemes = value;
  Invalidate();
}

void TCustomKsPanel::ThemeChanged() {
  if (IsThemed() && HandleAllocated() && !ComponentState().Contains(csDestroying)) {
    if (Showing() && !LoadingOrReading() && !Designing()) {
      RecreateWnd();
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
    return;
  }
  Invalidate();
}

// ---- properties -------------------------------------------------------------------------------

bool TCustomKsPanel::LoadingOrReading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

void TCustomKsPanel::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomKsPanel::SetBorderType(TKsFlatBorderType value) {
  if (value == FBorderType) return;
  FBorderType = value;
  Invalidate();
}

void TCustomKsPanel::SetBorderSides(TVnBorderSides value) {
  if (value == FBorderSides) return;
  FBorderSides = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomKsPanel::SetBorderColor(TColor& field, TColor value) {
  if (value == field) return;
  field = value;
  Invalidate();
}

void TCustomKsPanel::SetFrameworkBevel(TVnBevelStyle& field, TVnBevelStyle value) {
  // The other five styles are the panel's own: they change neither the child area nor the
  // picture until the next paint.
  if (!IsFrameworkBevel(value) || field == value) return;
  field = value;
  Realign();
  Invalidate();
}

void TCustomKsPanel::SetBevelOuter(TVnBevelStyle value) {
  FBevelOuter = value;
  SetFrameworkBevel(frameworkBevelOuter_, value);
  GrabHandlesChanged();
}

void TCustomKsPanel::SetBevelInner(TVnBevelStyle value) {
  FBevelInner = value;
  SetFrameworkBevel(frameworkBevelInner_, value);
  GrabHandlesChanged();
}

void TCustomKsPanel::SetBevelWidth(int value) {
  value = std::max(1, value);
  if (value == FBevelWidth) return;
  FBevelWidth = value;
  Realign();
  Invalidate();
  GrabHandlesChanged();
}

void TCustomKsPanel::SetBevelSpaceColor(TColor value) {
  if (value == FBevelSpaceColor) return;
  FBevelSpaceColor = value;
  if (FBevelOuter == bvSpace || FBevelInner == bvSpace) Invalidate();
}

void TCustomKsPanel::SetBorderWidth(int value) {
  value = std::max(0, value);
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Realign();
  Invalidate();
}

void TCustomKsPanel::SetBackgroundType(TVnBackgroundType value) {
  if (value == FBackgroundType) return;
  FBackgroundType = value;
  if (FBackground->Empty() && IsBitmapKind(FBackgroundType)) FBackgroundType = bgtColorFill;
  UpdateCache();
  Invalidate();
}

void TCustomKsPanel::SetBackground(const TBitmap* value) {
  if (value) {
    FBackground->Assign(value);
  } else {
    const TBitmap empty;
    FBackground->Assign(&empty);
  }
  if (FBackground->Empty() && IsBitmapKind(FBackgroundType)) FBackgroundType = bgtColorFill;
}

void TCustomKsPanel::BackgroundChanged() {
  if (FBackground->Empty()) {
    SetBackgroundType(bgtColorFill);
    return;
  }
  if (FBackgroundType != bgtColorFill && FBackgroundType != bgtCenterBitmap) UpdateCache();
  Invalidate();
}

void TCustomKsPanel::SetGradientStartColor(TColor value) {
  if (value == FGradientStartColor) return;
  FGradientStartColor = value;
  if (FBackgroundType == bgtHorzGradient || FBackgroundType == bgtVertGradient) Invalidate();
}

void TCustomKsPanel::SetGradientEndColor(TColor value) {
  if (value == FGradientEndColor) return;
  FGradientEndColor = value;
  if (FBackgroundType == bgtHorzGradient || FBackgroundType == bgtVertGradient) Invalidate();
}

void TCustomKsPanel::SetGradientSteps(int value) {
  if (value <= 0 || value == FGradientSteps) return;
  FGradientSteps = value;
  if (FBackgroundType == bgtHorzGradient || FBackgroundType == bgtVertGradient) Invalidate();
}

void TCustomKsPanel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  if (HandleAllocated()) RecreateWnd();
}

void TCustomKsPanel::SetAlphaLevel(std::uint8_t value) {
  if (value == FAlphaLevel) return;
  FAlphaLevel = value;
  if (FTransparent) Invalidate();
}

void TCustomKsPanel::SetOwnerDraw(bool value) {
  if (value == FOwnerDraw) return;
  FOwnerDraw = value;
  if (!Designing() && !ComponentState().Contains(csLoading)) Invalidate();
}

void TCustomKsPanel::SetAlwaysPaintBackground(bool value) {
  if (value == FAlwaysPaintBackground) return;
  FAlwaysPaintBackground = value;
  if (FOwnerDraw) Invalidate();
}

void TCustomKsPanel::SetImageForm(TCustomKsImageForm* value) {
  if (value == FImgForm) return;
  if (FImgForm) {
    if (!FImgForm->ComponentState().Contains(csDestroying)) RemoveFreeNotification(FImgForm);
    FImgForm->UnregisterChanges(FImgFormChLink.get());
  }
  FImgForm = value;
  if (FImgForm) {
    FreeNotification(FImgForm);
    FImgForm->RegisterChanges(FImgFormChLink.get());
  }
  if (!ComponentState().Contains(csDestroying)) Invalidate();
}

void TCustomKsPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomKsPanel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  if (!Caption().empty()) Invalidate();
}

void TCustomKsPanel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  Invalidate();
}

void TCustomKsPanel::SetShowFocus(bool value) {
  if (value == FShowFocus) return;
  FShowFocus = value;
  if (HandleAllocated() && !LoadingOrReading() && !ComponentState().Contains(csDestroying) && Focused()) Invalidate();
}

void TCustomKsPanel::SetResizable(bool value) {
  if (value == FResizable) return;
  FResizable = value;
  if (FSizeGrip) Invalidate();
}

void TCustomKsPanel::SetSizeGrip(bool value) {
  if (value == FSizeGrip) return;
  FSizeGrip = value;
  Invalidate();
}

void TCustomKsPanel::GetAccessibleInfo(TAccessibleInfo& info) const {
  TCustomControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::Panel;
  info.Focusable = false;
}

void TCustomKsPanel::SetText(const String& value) {
  if (value == Caption()) return;
  TCustomControl::SetText(value);
  Invalidate();
}

// ---- child area and window ----------------------------------------------------------------------

int TCustomKsPanel::BevelInset() const {
  return (FBevelInner != bvNone ? FBevelWidth : 0) + (FBevelOuter != bvNone ? FBevelWidth : 0);
}

void TCustomKsPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  std::int64_t inset = borderWidth_;
  if (frameworkBevelOuter_ != bvNone) inset += FBevelWidth;
  if (frameworkBevelInner_ != bvNone) inset += FBevelWidth;
  rect = Inset(rect, inset);
  const TVnBorderSide sides[4] = {ebsLeft, ebsTop, ebsRight, ebsBottom};
  for (int i = 0; i < 4; ++i) {
    const TKsPanelGrabHandle& h = *FGrabHandles[i];
    if (!h.Shown()) continue;
    const TRect strip =
        GrabHandleStrip(rect, sides[i], std::min(h.Size(), std::max(rect.right - rect.left, rect.bottom - rect.top)));
    switch (sides[i]) {
      case ebsLeft: rect.left = std::min(strip.right, rect.right); break;
      case ebsRight: rect.right = std::max(strip.left, rect.left); break;
      case ebsTop: rect.top = std::min(strip.bottom, rect.bottom); break;
      default: rect.bottom = std::max(strip.top, rect.top); break;
    }
  }
}

void TCustomKsPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FTransparent && !IsThemed()) params.ExStyle |= WS_EX_TRANSPARENT;
  else params.ExStyle &= ~WS_EX_TRANSPARENT;
}

void TCustomKsPanel::Loaded() {
  TCustomControl::Loaded();
  UpdateStyle();
  if (FOwnerDraw) Invalidate();
  if (FTransparent) UpdateChildren(false);
}

void TCustomKsPanel::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImgForm) {
    FImgForm = nullptr;
    if (HandleAllocated()) Invalidate();
  }
  FThemeStyle.Notification(component, operation);
}

// ---- background cache ------------------------------------------------------------------------------

void TCustomKsPanel::UpdateCache() {
  const TRect client = ClientRect();
  if (FBackgroundType == bgtColorFill || FBackgroundType == bgtCenterBitmap || FBackgroundType == bgtHorzGradient ||
      FBackgroundType == bgtVertGradient) {
    FTmpBmp->SetSize(0, 0);
    return;
  }
  if (client.right <= 0 || client.bottom <= 0) return;
  FTmpBmp->SetSize(client.right, client.bottom);
  if (FBackgroundType != bgtTileBitmap && FBackgroundType != bgtStretchBitmap) return;
  HDC dc = FTmpBmp->Canvas()->Handle();
  if (FBackgroundType == bgtTileBitmap) {
    PaintBitmapBackground(dc, client, client, bgtTileBitmap, FBackground->Handle(), Color());
  } else {
    StretchBitmapInto(dc, client, *FBackground);
  }
}

// ---- painting ---------------------------------------------------------------------------------

void TCustomKsPanel::PaintWindow(HDC dc) {
  const TRect client = ClientRect();
  RECT clip{};
  if (client.right <= 0 || client.bottom <= 0 || GetClipBox(dc, &clip) == NULLREGION) return;
  // Always through an off-screen bitmap, whatever DoubleBuffered says, so nothing flickers. It
  // covers only the part to paint; its corner shows the client point (left, top).
  if (!IntersectRect(&clip, &clip, &client)) return;
  const MemoryCanvas buffer = MemoryCanvas::Dib(dc, clip.right - clip.left, clip.bottom - clip.top);
  if (!buffer.Valid()) return;
  HDC mem = buffer.Dc();
  SetViewportOrgEx(mem, -clip.left, -clip.top, nullptr);
  SetBrushOrgEx(mem, -clip.left, -clip.top, nullptr);
  IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), reinterpret_cast<LPARAM>(mem));
  TCustomControl::PaintWindow(mem);
  SelectClipRgn(mem, nullptr);
  BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top, SRCCOPY);
}

void TCustomKsPanel::Paint() {
  TRect r = Canvas()->ClipRect();
  if (IsRectEmpty(&r)) r = Rect(0, 0, Width(), Height());
  DrawPanel(r);
}

void TCustomKsPanel::PaintParentInto(HDC dc, const TRect& r, bool alsoPaint) {
  TWinControl* parent = Parent();
  if (!parent) return;
  // The parent paints into our DC as if it were its own: moved to its coordinates and clipped
  // to the part under this panel. Both parameters the same DC: a double-buffered parent's pass.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
  if (alsoPaint) parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

void TCustomKsPanel::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
  if (DoubleBuffered() && m.WParam != static_cast<WPARAM>(m.LParam)) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const TRect client = ClientRect();
  if (IsThemed()) {
    if (!FTransparentXPThemes) FillColor(dc, client, Color());
    else if (Parent() && Parent()->DoubleBuffered()) PaintParentInto(dc, client, false);
    else if (Parent()) DrawThemeParentBackground(Handle(), dc, &client);
    return;
  }
  if (FTransparent) {
    if (!FIsUpdated) PaintParentInto(dc, client);
    return;
  }
  if (FBackgroundType == bgtTileBitmap || FBackgroundType == bgtStretchBitmap || FBackgroundType == bgtHorzGradient ||
      FBackgroundType == bgtVertGradient)
    return;
  FillColor(dc, client, Color());
  EraseBackground(dc);
}

void TCustomKsPanel::PaintOwnBackground(HDC dc, const TRect& r) {
  const TRect client = ClientRect();
  switch (FBackgroundType) {
    case bgtTileBitmap:
    case bgtStretchBitmap:
      if (FTmpBmp->Empty()) FillColor(dc, r, Color());
      else
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, FTmpBmp->Canvas()->Handle(), r.left, r.top,
               SRCCOPY);
      return;
    case bgtColorFill: FillColor(dc, r, Color()); return;
    case bgtCenterBitmap: {
      FillColor(dc, r, Color());
      TRect at = CenterRect(FBackground->Width(), client.right, FBackground->Height(), client.bottom);
      OffsetRect(&at, client.left, client.top);
      StretchBitmapInto(dc, at, *FBackground);
      return;
    }
    case bgtTopLeftBitmap: {
      if (FBackground->Empty()) {
        Canvas()->FillRect(r);
        return;
      }
      // The colour around the picture continues its bottom-right corner, and becomes the
      // panel's Color.
      const std::uint8_t* p = FBackground->ScanLine(FBackground->Height() - 1) + 4 * (FBackground->Width() - 1);
      SetColor(static_cast<TColor>(RGB(p[2], p[1], p[0])));
      PaintBitmapBackground(dc, client, client, bgtTopLeftBitmap, FBackground->Handle(), Color());
      return;
    }
    default:
      PaintGradient(dc, client, FGradientStartColor, FGradientEndColor, FGradientSteps,
                    FBackgroundType - bgtHorzGradient, 0);
  }
}

void TCustomKsPanel::PaintImageFormBackground(HDC dc, const TRect& r) {
  TWinControl* real = FImgForm->GetRealControl();
  if (real == this) return;
  const TPoint origin = real->ScreenToClient(ClientOrigin());
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  FImgForm->PaintBkgnd(dc, ClientRect(), origin, false);
  RestoreDC(dc, saved);
  if (FAlphaLevel != 0) AlphaFillRect(dc, r, Color(), FAlphaLevel);
}

void TCustomKsPanel::PaintClassicBackground(HDC dc, const TRect& r) {
  if (FTransparent) {
    const MemoryCanvas copy = MemoryCanvas::Dib(dc, std::max(1, r.right - r.left), std::max(1, r.bottom - r.top));
    if (!copy.Valid()) return;
    SetViewportOrgEx(copy.Dc(), -r.left, -r.top, nullptr);
    PaintParentInto(copy.Dc(), r);
    SetViewportOrgEx(copy.Dc(), 0, 0, nullptr);
    if (FAlphaLevel != 0) AlphaFillRect(copy.Dc(), Rect(0, 0, copy.Width(), copy.Height()), Color(), FAlphaLevel);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, copy.Dc(), 0, 0, SRCCOPY);
    return;
  }
  if (FOwnerDraw && !Designing() && !FAlwaysPaintBackground) return;
  TWinControl* real = FImgForm ? FImgForm->GetRealControl() : nullptr;
  if (!real || real->ComponentState().Contains(csDesigning)) PaintOwnBackground(dc, r);
  else PaintImageFormBackground(dc, r);
}

void TCustomKsPanel::PaintThemedBackground(const TRect& r) {
  HDC dc = Canvas()->Handle();
  if (FTransparentXPThemes) DrawThemeParentBackground(Handle(), dc, &r);
  else FillColor(dc, r, Color());
}

TRect TCustomKsPanel::PaintBevelStep(HDC dc, TRect c, TVnBevelStyle style, bool themed) {
  if (style == bvNone) return c;
  if (!themed) return PaintBevel(dc, c, style, FBevelWidth, FBevelSpaceColor);
  if (style != bvLowered && style != bvRaised) return c;
  ScopedTheme theme(Handle(), ThemedElementClassName(ThemedElement()));
  RECT content = c;
  const UINT edge = style == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDOUTER;
  DrawThemeEdge(theme.Get(), dc, WP_CAPTION, style == bvLowered ? 3 : 2, &c, edge, BF_RECT | BF_ADJUST, &content);
  return content;
}

void TCustomKsPanel::PaintGrabHandles(HDC dc, TRect& c, bool themed) {
  // Painted in the order left, right, top, bottom.
  const int order[4] = {0, 2, 1, 3};
  const TVnBorderSide sides[4] = {ebsLeft, ebsTop, ebsRight, ebsBottom};
  for (int i : order) {
    const TKsPanelGrabHandle& h = *FGrabHandles[i];
    if (!h.Shown() || h.BevelKind() == bvNone) continue;
    if (!themed) {
      PaintGrabHandle(dc, c, sides[i], h.Size(), h.BevelKind(), Color());
      continue;
    }
    const TRect strip = GrabHandleStrip(c, sides[i], h.Size());
    TRect rest = c;
    switch (sides[i]) {
      case ebsLeft: rest.left += h.Size(); break;
      case ebsRight: rest.right -= h.Size(); break;
      case ebsTop: rest.top += h.Size(); break;
      default: rest.bottom -= h.Size(); break;
    }
    c = rest;
    const int part = (sides[i] == ebsLeft || sides[i] == ebsRight) ? TP_SEPARATOR : TP_SEPARATORVERT;
    const int state = h.BevelKind() == bvLowered ? 3 : h.BevelKind() == bvRaised ? 2 : h.BevelKind() == bvSpace ? 1 : 0;
    ScopedTheme theme(Handle(), ThemedElementClassName(teToolBar));
    DrawThemeBackground(theme.Get(), dc, part, state, &strip, &strip);
  }
}

void TCustomKsPanel::PaintCaption(HDC dc, const TRect& c) {
  if (FOwnerDraw && !Designing()) {
    DoPaint();
    return;
  }
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->SetFont(Font());
  const unsigned align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  TRect x = c;
  if (FLayout != tlTop) {
    TRect m = c;
    const TRect inside = ClientRect();
    TRect adjusted = inside;
    AdjustClientRect(adjusted);
    // In 64 bits: a huge bevel width leaves insets near the ends of the int range.
    auto clampInt = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    m.left = clampInt(std::int64_t{m.left} + adjusted.left - inside.left);
    m.top = clampInt(std::int64_t{m.top} + adjusted.top - inside.top);
    m.right = clampInt(std::int64_t{m.right} - inside.right + adjusted.right);
    m.bottom = clampInt(std::int64_t{m.bottom} - inside.bottom + adjusted.bottom);
    Canvas()->DrawText(Caption(), m, align | DT_EXPANDTABS | DT_CALCRECT);
    if (FWordWrap && Width() < m.right - m.left) {
      m.right = m.left + Width();
      Canvas()->DrawText(Caption(), m, align | DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK);
    }
    const std::int64_t spare = (std::int64_t{x.bottom} - x.top) - (std::int64_t{m.bottom} - m.top);
    x.top = clampInt(x.top + (FLayout == tlBottom ? spare : spare / 2));
  }
  // Through the canvas, which selects its font and clear brush into the DC.
  Canvas()->DrawText(Caption(), x, align | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u));
  if (FShowFocus && Focused()) DrawFocusRect(dc, &x);
}

void TCustomKsPanel::PaintSizeGrip(HDC dc, const TRect& c, bool themed) {
  if (!themed) {
    sizeGripRect_ = {c.right - GetSystemMetrics(SM_CXVSCROLL), c.bottom - GetSystemMetrics(SM_CYHSCROLL), c.right,
                     c.bottom};
    const int h = GetSystemMetrics(SM_CYHSCROLL);
    RECT square{c.right - h - 1, c.bottom - h - 1, c.right, c.bottom};
    DrawFrameControl(dc, &square, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  const TRect client = ClientRect();
  TRect g{client.right - GetSystemMetrics(SM_CXVSCROLL) - 1, client.top + 2, client.right - 1, client.bottom - 1};
  if (IsRectEmpty(&g)) return;
  ScopedTheme theme(Handle(), ThemedElementClassName(teStatus));
  DrawThemeBackground(theme.Get(), dc, SP_GRIPPER, 0, &g, nullptr);
  sizeGripRect_ = g;
  sizeGripRect_.top = g.bottom - GetSystemMetrics(SM_CYHSCROLL);
}

void TCustomKsPanel::DrawPanel(const TRect& r) {
  HDC dc = Canvas()->Handle();
  const bool themed = IsThemed();
  if (themed) PaintThemedBackground(r);
  else PaintClassicBackground(dc, r);
  TRect c = ClientRect();
  if (FBorderStyle == bsSingle)
    PaintFlatBorder(dc, c, borderColors_.Face, Color(), Focused(), Enabled(), FBorderSides, FBorderType, borderColors_);
  c = PaintBevelStep(dc, c, FBevelOuter, themed);
  if (themed) c = Inset(c, FBevelWidth);
  c = PaintBevelStep(dc, c, FBevelInner, themed);
  PaintGrabHandles(dc, c, themed);
  PaintCaption(dc, c);
  if (FSizeGrip && FResizable) PaintSizeGrip(dc, c, themed);
}

void TCustomKsPanel::DoPaint() {
  if (OnPaint) OnPaint(this);
}

void TCustomKsPanel::DoMove() {
  if (OnMove) OnMove(this);
}

// ---- children -----------------------------------------------------------------------------------

bool TCustomKsPanel::SeeThrough() const { return IsThemed() ? FTransparentXPThemes : FTransparent; }

bool TCustomKsPanel::ParentIsThemedOrPanel() const { return Parent() && IsKsControlChild(Parent()); }

void TCustomKsPanel::UpdateChildren(bool force) {
  FIsUpdated = true;
  const bool busy = ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying);
  if (!busy && (force || (SeeThrough() && ParentIsThemedOrPanel()))) {
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* child = Controls(i);
      if (child->ComponentState().Contains(csLoading) || child->ComponentState().Contains(csDestroying)) continue;
      if (auto* win = dynamic_cast<TWinControl*>(child); win && IsKsControlChild(child)) {
        if (win->HandleAllocated())
          PostMessageW(win->Handle(), KSM_PANEL_TRANSPARENCY, 0, reinterpret_cast<LPARAM>(this));
      } else if (dynamic_cast<TGraphicControl*>(child)) {
        child->Invalidate();
      }
    }
  }
  FIsUpdated = false;
}

void TCustomKsPanel::NotifyChildren(int oldWidth, int oldHeight, int width, int height, bool all) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (child->ComponentState().Contains(csLoading) || child->ComponentState().Contains(csDestroying)) continue;
    const TRect b = child->BoundsRect();
    if (dynamic_cast<TKsXPThemedControl*>(child)) {
      // Themed controls repaint when an edge that grew reaches them.
      const bool reached = (width > oldWidth && b.right >= oldWidth && width >= b.left - 2) ||
                           (height > oldHeight && b.bottom >= oldHeight && height >= b.top - 2);
      auto* win = static_cast<TWinControl*>(child);
      if ((all || reached) && win->HandleAllocated())
        PostMessageW(win->Handle(), KSM_PANEL_TRANSPARENCY, 0, reinterpret_cast<LPARAM>(this));
      continue;
    }
    const bool near = (width != oldWidth && oldWidth < b.right + 2 && b.left - 2 < width) ||
                      (height != oldHeight && oldHeight < b.bottom + 2 && b.top - 2 < height);
    if (!all && !near) continue;
    if (auto* panel = dynamic_cast<TCustomKsPanel*>(child)) {
      if (panel->HandleAllocated())
        PostMessageW(panel->Handle(), KSM_PANEL_TRANSPARENCY, 1, reinterpret_cast<LPARAM>(this));
    } else if (dynamic_cast<TGraphicControl*>(child)) {
      child->Invalidate();
    }
  }
}

void TCustomKsPanel::WMSize(TMessage& m) {
  const int w = LOWORD(static_cast<DWORD>(m.LParam)), h = HIWORD(static_cast<DWORD>(m.LParam));
  const bool classic = !IsThemed();
  const bool seeThrough = (classic && FTransparent) || (ThemeMode() == ttmPlatform && FTransparentXPThemes);
  if (seeThrough && ParentIsThemedOrPanel()) {
    UpdateCache();
    Invalidate();
  } else if (classic && (IsBitmapKind(FBackgroundType) || FBackgroundType == bgtHorzGradient ||
                         FBackgroundType == bgtVertGradient)) {
    UpdateCache();
    Invalidate();
    NotifyChildren(FSize.cx, FSize.cy, w, h, true);
  } else {
    if (FResizable && FSizeGrip) Invalidate();
    NotifyChildren(FSize.cx, FSize.cy, w, h, false);
  }
  InvalidateMovedGrabHandles(w, h);
  FSize = {w, h};
  TCustomControl::WndProc(m);
}

void TCustomKsPanel::InvalidateMovedGrabHandles(int w, int h) {
  if (!HandleAllocated()) return;
  // The right, bottom and top strips move or stretch with the size: where they were and where
  // they are now are painted again (the left one stays put).
  const TKsPanelGrabHandle* right = RightGrabHandle();
  const TKsPanelGrabHandle* bottom = BottomGrabHandle();
  const TKsPanelGrabHandle* top = TopGrabHandle();
  const auto invalidate = [this](const TKsPanelGrabHandle* handle, const RECT& r) {
    if (handle->Visible()) InvalidateRect(Handle(), &r, FALSE);
  };
  invalidate(right, RECT{std::min(FSize.cx, w) - right->Size(), 0, std::max(FSize.cx, w), std::max(FSize.cy, h)});
  invalidate(bottom, RECT{0, std::min(FSize.cy, h) - bottom->Size(), std::max(FSize.cx, w), std::max(FSize.cy, h)});
  invalidate(top, RECT{0, 0, std::max(FSize.cx, w), top->Size()});
}

TKsPanelGrabHandle* TCustomKsPanel::GrabHandleAt(TRect q, TPoint p) const {
  const int order[4] = {0, 2, 1, 3};
  const TVnBorderSide sides[4] = {ebsLeft, ebsTop, ebsRight, ebsBottom};
  for (int i : order) {
    TKsPanelGrabHandle* h = FGrabHandles[i].get();
    if (!h->Enabled()) continue;
    const TRect strip = GrabHandleStrip(q, sides[i], h->Size());
    if (PtInRect(&strip, p)) return h;
  }
  return nullptr;
}

void TCustomKsPanel::WMNCHitTest(TMessage& m) {
  TCustomControl::WndProc(m);
  const TPoint p = ScreenToClient(Point(static_cast<short>(LOWORD(static_cast<DWORD>(m.LParam))),
                                        static_cast<short>(HIWORD(static_cast<DWORD>(m.LParam)))));
  const TRect q = Rect(0, 0, Width(), Height());
  if (FResizable && !Designing()) {
    const int c = Height() / 8, b = FBevelWidth;
    auto byY = [&](LRESULT top, LRESULT bottom, LRESULT middle) {
      return p.y <= q.top + c ? top : p.y >= q.bottom - c - 1 ? bottom : middle;
    };
    auto byX = [&](LRESULT left, LRESULT right, LRESULT middle) {
      return p.x <= q.left + c ? left : p.x >= q.right - c - 1 ? right : middle;
    };
    LRESULT hit = HTCLIENT;
    if (!PtInRect(&q, p)) hit = HTNOWHERE;
    else if (p.x <= q.left + b - 1) hit = byY(HTTOPLEFT, HTBOTTOMLEFT, HTLEFT);
    else if (p.y <= q.top + b - 1) hit = byX(HTTOPLEFT, HTTOPRIGHT, HTTOP);
    else if (p.y >= q.bottom - b - 1) hit = byX(HTBOTTOMLEFT, HTBOTTOMRIGHT, HTBOTTOM);
    else if (p.x >= q.right - b - 1) hit = byY(HTTOPRIGHT, HTBOTTOMRIGHT, HTRIGHT);
    if (hit == HTCLIENT && FSizeGrip && PtInRect(&sizeGripRect_, p)) hit = HTBOTTOMRIGHT;
    m.Result = hit;
    return;
  }
  const std::int64_t e = static_cast<std::int64_t>(BevelInset()) + borderWidth_;
  const TKsPanelGrabHandle* h = GrabHandleAt(Inset(q, e == 0 ? 1 : e), p);
  if (!h || Designing()) return;
  if (h->Kind() == ghkMove) {
    m.Result = HTCAPTION;
    BringToFront();
  } else if (h->Kind() == ghkResize) {
    if (h == FGrabHandles[0].get()) m.Result = HTLEFT;
    else if (h == FGrabHandles[1].get()) m.Result = HTTOP;
    else if (h == FGrabHandles[2].get()) m.Result = HTRIGHT;
    else m.Result = HTBOTTOM;
  }
}

void TCustomKsPanel::WMExitSizeMove() {
  RECT now{};
  GetWindowRect(Handle(), &now);
  const bool sameSize = now.right - now.left == FSizeMoveRect.right - FSizeMoveRect.left &&
                        now.bottom - now.top == FSizeMoveRect.bottom - FSizeMoveRect.top;
  const bool moved = now.left != FSizeMoveRect.left || now.top != FSizeMoveRect.top;
  if (sameSize || moved) DoMove();
  if (Parent()) Parent()->Realign();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TCustomKsPanel::ImageFormNotice(TMessage& m) {
  TCustomControl::WndProc(m);
  if (FImgForm && !Designing()) Invalidate();
  // Every child hears it, whatever an earlier one answered.
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(KSM_IMAGEFORM_CHANGED, m.WParam, m.LParam);
  m.Result = 0;
}

bool TCustomKsPanel::DialogChar(char16_t key) {
  if (!Enabled() || !CanFocus()) return false;
  const String& text = Caption();
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(text[i + 1]) != lower(key)) return false;
    SetFocus();
    return true;
  }
  return false;
}

void TCustomKsPanel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_THEMECHANGED:
      ThemeChanged();
      m.Result = 1;
      return;
    case WM_ENTERSIZEMOVE:
      // The move loop takes the space key posted after the move command from here on.
      moveKeyPending_ = false;
      GetWindowRect(Handle(), &FSizeMoveRect);
      TCustomControl::WndProc(m);
      return;
    case WM_EXITSIZEMOVE:
      TCustomControl::WndProc(m);
      WMExitSizeMove();
      return;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE && moveKeyPending_) {
        // The move did not start: the key that was meant for its loop is nobody's key press.
        moveKeyPending_ = false;
        return;
      }
      break;
    case KSM_PANEL_TRANSPARENCY:
      if (m.LParam != reinterpret_cast<LPARAM>(this)) {
        Invalidate();
        UpdateChildren(m.WParam == 1);
      }
      return;
    case KSM_IMAGEFORM_CHANGED: ImageFormNotice(m); return;
    case CM_DIALOGCHAR:
      if (DialogChar(static_cast<char16_t>(m.WParam))) {
        m.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(m);
  switch (m.Msg) {
    case WM_MOVE: DoMove(); break;
    case WM_WINDOWPOSCHANGED:
      if (FTransparent || FTransparentXPThemes) {
        Invalidate();
        UpdateChildren(true);
      }
      if (FImgForm) Perform(KSM_IMAGEFORM_CHANGED);
      break;
    case WM_SETFOCUS:
      if (FShowFocus) Invalidate();
      break;
    case WM_KILLFOCUS:
      if (FShowFocus && HandleAllocated()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Enabled());
      break;
    case CM_MOUSEENTER: MouseEnterPanel(); break;
    case CM_MOUSELEAVE: MouseLeavePanel(); break;
    default: break;
  }
}

// ---- mouse --------------------------------------------------------------------------------------

void TCustomKsPanel::MouseEnterPanel() {}
void TCustomKsPanel::MouseLeavePanel() {}

void TCustomKsPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FPressed = true;
  if (FMovable) {
    FSaveCapture = GetCapture();
    SetCapture(Handle());
  }
}

void TCustomKsPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FPressed) {
    FPressed = false;
    if (FSaveCapture && FSaveCapture != Handle() && IsWindow(FSaveCapture)) SetCapture(FSaveCapture);
    else ReleaseCapture();
    FSaveCapture = nullptr;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomKsPanel::StartSystemMove(HWND target, int x, int y) {
  // The loop starts from where the mouse is on the screen.
  const TPoint screen = ClientToScreen(Point(x, y));
  PostMessageW(target, WM_SYSCOMMAND, kDragMove, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  PostMessageW(target, WM_KEYDOWN, VK_SPACE, 0);
}

void TCustomKsPanel::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FPressed) return;
  TRect q = Inset(ClientRect(), borderWidth_);
  q = Inset(q, BevelInset());
  const TKsPanelGrabHandle* h = GrabHandleAt(q, Point(x, y));
  if (h && h->Kind() == ghkMoveParent && !Designing()) {
    FPressed = false;
    ReleaseCapture();
    if (TWinControl* parent = Parent()) {
      parent->BringToFront();
      StartSystemMove(parent->Handle(), x, y);
    }
    return;
  }
  if (FMovable && !Designing()) {
    FPressed = false;
    ReleaseCapture();
    Perform(CM_MOUSELEAVE);
    BringToFront();
    moveKeyPending_ = true;
    StartSystemMove(Handle(), x, y);
  }
}

}  // namespace kestrel
