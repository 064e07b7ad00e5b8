#include "controls/KsImageForm.h"

#include <algorithm>

#include "controls/BackgroundPainter.h"
#include "controls/DrawingTypeInfo.h"
#include "controls/GradientPainter.h"
#include "controls/internal/BitmapRegion.h"
#include "controls/internal/BitmapStretch.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

using namespace platform;

namespace {

constexpr UINT kPaletteChanged = 0x0311;

bool IsSizingBorder(LRESULT hit) {
  return hit == HTLEFT || hit == HTRIGHT || hit == HTTOPLEFT || hit == HTTOPRIGHT || hit == HTBOTTOM ||
         hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
}

POINT MessagePoint(LPARAM lParam) {
  return {static_cast<short>(LOWORD(static_cast<DWORD>(lParam))),
          static_cast<short>(HIWORD(static_cast<DWORD>(lParam)))};
}

// The picture's pixels as a bitmap, without turning the picture itself into one.
std::unique_ptr<TBitmap> PictureBitmap(TPicture* picture) {
  auto bitmap = std::make_unique<TBitmap>();
  TGraphic* graphic = picture ? picture->Graphic() : nullptr;
  if (!graphic || graphic->Empty()) return bitmap;
  if (auto* source = dynamic_cast<TBitmap*>(graphic)) {
    bitmap->Assign(source);
  } else {
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(graphic->Width(), graphic->Height());
    bitmap->Canvas()->Draw(0, 0, graphic);
  }
  return bitmap;
}

}  // namespace

KESTREL_IMPLEMENT_CLASS(TCustomKsImageForm, TKsComponent)
KESTREL_IMPLEMENT_PUBLISHED_CLASS(TKsImageForm, TCustomKsImageForm)

void TKsImageForm::PublishProperties(TClassBuilder<TKsImageForm>& b) {
  using F = TKsImageForm;
  b.Object(u"Control", &F::Control, &F::SetControl);
  b.Property(u"TransparentColor", &F::TransparentColor, &F::SetTransparentColor);
  b.Property(u"StretchFormRegion", &F::StretchFormRegion, &F::SetStretchFormRegion).Default(false);
  b.Object(u"CaptionControl", &F::CaptionControl, &F::SetCaptionControl);
  b.Property(u"ChangeFormRegion", &F::ChangeFormRegion, &F::SetChangeFormRegion).Default(false);
  b.Object(u"FormImage", &F::FormImage, &F::SetFormImage);
  b.Property(u"MoveForm", &F::MoveForm, &F::SetMoveForm).Default(false);
  b.Enum(u"BackgroundType", &F::BackgroundType, &F::SetBackgroundType, BackgroundTypeInfo()).Default(bgtColorFill);
  b.Property(u"GradientStartColor", &F::GradientStartColor, &F::SetGradientStartColor).Default(0);
  b.Property(u"GradientEndColor", &F::GradientEndColor, &F::SetGradientEndColor).Default(0);
  b.Property(u"GradientSteps", &F::GradientSteps, &F::SetGradientSteps).Default(16);
  b.Object(u"Background", &F::Background, &F::SetBackground);
}

TCustomKsImageForm::TCustomKsImageForm(TComponent* owner) : TKsComponent(owner), FBkImage(new TBitmap) {
  FBkImage->OnChange = [this](TObject* sender) { BackgroundChanged(sender); };
  CreateMoveHook();
}

TCustomKsImageForm::~TCustomKsImageForm() {
  // The picture must not call into a freed image form.
  SetFormImage(nullptr);
  FreeMoveHook();
  RemoveFormRegion();
}

// ---- the real control and its hook ----------------------------------------------------------

TWinControl* TCustomKsImageForm::GetRealControl() const {
  if (FControl) return FControl;
  TComponent* owner = Owner();
  if (!owner || owner->ComponentState().Contains(csDestroying)) return nullptr;
  return dynamic_cast<TWinControl*>(owner);
}

bool TCustomKsImageForm::LoadingOrReading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

bool TCustomKsImageForm::IsGradient() const { return FBackgroundType >= bgtHorzGradient; }

TControl* TCustomKsImageForm::HookedControl() const { return FMoveHook ? FMoveHook->Control() : nullptr; }

void TCustomKsImageForm::InvalidateHooked() {
  if (TControl* control = HookedControl()) control->Invalidate();
}

void TCustomKsImageForm::CreateMoveHook() {
  TWinControl* control = GetRealControl();
  if (!control || Designing() || control->ComponentState().Contains(csDesigning)) return;
  FreeMoveHook();
  FMoveHook = new TKsHook(this);
  FMoveHook->SetControl(control);
  FMoveHook->OnBeforeProcess = [this](TObject* s, TMessage& m, bool& h) { HookBeforeProcess(s, m, h); };
  FMoveHook->OnAfterProcess = [this](TObject* s, TMessage& m, bool& h) { HookAfterProcess(s, m, h); };
  FMoveHook->SetActive(true);
}

void TCustomKsImageForm::FreeMoveHook() {
  TKsHook* hook = FMoveHook;
  FMoveHook = nullptr;
  delete hook;
}

// ---- properties -------------------------------------------------------------------------------

void TCustomKsImageForm::SetControl(TWinControl* value) {
  if (value == FControl) return;
  FreeMoveHook();
  RemoveFormRegion();
  if (FControl && !FControl->ComponentState().Contains(csDestroying)) RemoveFreeNotification(FControl);
  FControl = value;
  if (FControl) FreeNotification(FControl);
  if (ComponentState().Contains(csDestroying)) return;
  CreateFormRegion();
  CreateMoveHook();
  UpdateBackgroundCache();
}

void TCustomKsImageForm::SetTransparentColor(TColor value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  if (LoadingOrReading()) return;
  RemoveFormRegion();
  if (FChangeRegion) CreateFormRegion();
  Changed();
}

void TCustomKsImageForm::SetStretchFormRegion(bool value) {
  if (value == FStretchRegion) return;
  FStretchRegion = value;
  RemoveFormRegion();
  if (FChangeRegion && !FormImageEmpty()) CreateFormRegion();
}

void TCustomKsImageForm::SetCaptionControl(TControl* value) {
  if (value == FCaptionControl) return;
  if (FCaptionControl && !FCaptionControl->ComponentState().Contains(csDestroying))
    RemoveFreeNotification(FCaptionControl);
  FCaptionControl = value;
  if (FCaptionControl) FreeNotification(FCaptionControl);
}

void TCustomKsImageForm::SetChangeFormRegion(bool value) {
  if (value == FChangeRegion) return;
  if (FChangeRegion) RemoveFormRegion();
  FChangeRegion = value;
  if (FChangeRegion) CreateFormRegion();
}

void TCustomKsImageForm::SetFormImage(TImage* value) {
  if (value == FImage) return;
  if (FImage && !FImage->ComponentState().Contains(csDestroying)) {
    RemoveFreeNotification(FImage);
    if (!Designing()) FImage->Picture()->OnChange = FOldImageEvent;
  }
  FOldImageEvent = nullptr;
  if (FChangeRegion) RemoveFormRegion();
  FImage = value;
  if (FImage) {
    FreeNotification(FImage);
    if (!Designing()) {
      FOldImageEvent = FImage->Picture()->OnChange;
      FImage->Picture()->OnChange = [this](TObject* sender) { ImageChanged(sender); };
    }
  }
  if (FChangeRegion) CreateFormRegion();
}

void TCustomKsImageForm::SetBackground(const TBitmap* value) {
  if (value) {
    FBkImage->Assign(value);
  } else {
    const TBitmap empty;
    FBkImage->Assign(&empty);
  }
  InvalidateHooked();
}

void TCustomKsImageForm::SetBackgroundType(TVnBackgroundType value) {
  if (value == FBackgroundType) return;
  if (FBackgroundType == bgtStretchBitmap) cacheBackground_.reset();
  if (value == bgtStretchBitmap) {
    FBackgroundType = value;
    UpdateBackgroundCache();
  }
  FBackgroundType = value;
  InvalidateHooked();
  Changed();
}

void TCustomKsImageForm::SetGradientStartColor(TColor value) {
  if (value == FGradientStartColor) return;
  FGradientStartColor = value;
  if (IsGradient()) InvalidateHooked();
}

void TCustomKsImageForm::SetGradientEndColor(TColor value) {
  if (value == FGradientEndColor) return;
  FGradientEndColor = value;
  if (IsGradient()) InvalidateHooked();
}

void TCustomKsImageForm::SetGradientSteps(int value) {
  if (value == FGradientSteps) return;
  FGradientSteps = value;
  if (IsGradient()) InvalidateHooked();
}

// ---- change links -------------------------------------------------------------------------------

void TCustomKsImageForm::RegisterChanges(TImgFormChangeLink* link) { FCLients.Register(link); }

void TCustomKsImageForm::UnregisterChanges(TImgFormChangeLink* link) { FCLients.Unregister(link); }

void TCustomKsImageForm::Changed() { FCLients.Notify(); }

void TCustomKsImageForm::BackgroundChanged(TObject*) {
  if (FBackgroundType == bgtStretchBitmap) {
    if (FBkImage->Empty()) cacheBackground_.reset();
    else UpdateBackgroundCache();
  }
  InvalidateHooked();
  Changed();
}

void TCustomKsImageForm::ImageChanged(TObject* sender) {
  // The chained handler hears of the change from the image form that took its place.
  (void)sender;
  if (FOldImageEvent) FOldImageEvent(this);
  if (LoadingOrReading()) return;
  RemoveFormRegion();
  FTransparentColor = DefaultTransparentColor();
  if (FChangeRegion && !FormImageEmpty()) CreateFormRegion();
  Changed();
}

void TCustomKsImageForm::Loaded() {
  TKsComponent::Loaded();
  if (FImage) ImageChanged(FImage->Picture());
  CreateMoveHook();
}

void TCustomKsImageForm::Notification(TComponent* component, TOperation operation) {
  TKsComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FMoveHook) FMoveHook = nullptr;
  if (component == FCaptionControl) SetCaptionControl(nullptr);
  if (component == FControl) SetControl(nullptr);
  if (component == FImage) SetFormImage(nullptr);
}

// ---- window region ------------------------------------------------------------------------------

bool TCustomKsImageForm::FormImageEmpty() const {
  if (!FImage) return true;
  const TGraphic* graphic = FImage->Picture()->Graphic();
  return !graphic || graphic->Empty();
}

TColor TCustomKsImageForm::DefaultTransparentColor() const {
  if (FormImageEmpty()) return clNone;
  auto bitmap = PictureBitmap(FImage->Picture());
  const std::uint8_t* p = bitmap->ScanLine(bitmap->Height() - 1);
  return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

void TCustomKsImageForm::RemoveFormRegion() {
  if (!FRegion) return;
  TWinControl* control = GetRealControl();
  if (control && control->HandleAllocated()) SetWindowRgn(control->Handle(), nullptr, TRUE);
  FRegion = nullptr;
}

void TCustomKsImageForm::CreateFormRegion() {
  RemoveFormRegion();
  TWinControl* control = GetRealControl();
  if (!FChangeRegion || !FImage || !control || Designing() || control->ComponentState().Contains(csDesigning)) return;
  auto source = PictureBitmap(FImage->Picture());
  if (source->Empty()) return;
  if (FStretchRegion) {
    auto stretched = std::make_unique<TBitmap>(control->Width(), control->Height());
    StretchBitmap(*stretched, *source);
    source = std::move(stretched);
  }
  OwnedRegion region(BitmapToRegion(*source, FTransparentColor));
  if (!region) return;
  // The window owns the region from here on.
  if (SetWindowRgn(control->Handle(), region.get(), TRUE)) FRegion = region.release();
}

// ---- background ---------------------------------------------------------------------------------

void TCustomKsImageForm::UpdateBackgroundCache() {
  if (FBackgroundType != bgtStretchBitmap || FBkImage->Empty()) return;
  if (!cacheBackground_) cacheBackground_ = std::make_unique<TBitmap>();
  TWinControl* control = GetRealControl();
  if (!control) return;
  cacheBackground_->SetSize(control->Width(), control->Height());
  StretchBitmap(*cacheBackground_, *FBkImage);
}

void TCustomKsImageForm::PaintBkgnd(HDC dc, const TRect& r, TPoint origin, bool direct) {
  TWinControl* control = GetRealControl();
  if (!control || !dc) return;
  TColor color = control->Color();
  TRect reference = Rect(0, 0, control->ClientWidth(), control->ClientHeight());
  if (control->HandleAllocated()) {
    HWND hwnd = control->Handle();
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    for (int bar : {SB_HORZ, SB_VERT}) {
      if (!(style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) continue;
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_POS;
      GetScrollInfo(hwnd, bar, &si);
      const int range = si.nMax - si.nMin;
      if (bar == SB_HORZ) {
        if (range != 0) reference.right = range;
        origin.x += si.nPos;
      } else {
        if (range != 0) reference.bottom = range;
        origin.y += si.nPos;
      }
    }
  }
  control->Perform(KSM_IMAGEFORM_REFERENCE, 0, reinterpret_cast<LPARAM>(&reference));

  const POINT at = direct ? POINT{0, 0} : POINT{origin.x, origin.y};
  const TRect area = direct ? reference : r;
  switch (FBackgroundType) {
    case bgtColorFill: {
      FillRect(dc, &r, OwnedBrush(CreateSolidBrush(ColorToRGB(color))).get());
      return;
    }
    case bgtStretchBitmap:
      PaintBitmapBackground(dc, area, reference, bgtTileBitmap, cacheBackground_ ? cacheBackground_->Handle() : nullptr,
                            color, at);
      return;
    case bgtTileBitmap:
    case bgtCenterBitmap:
    case bgtTopLeftBitmap: {
      if (FBkImage->Empty()) {
        PaintBitmapBackground(dc, r, reference, bgtColorFill, nullptr, color, at);
        return;
      }
      if (FBackgroundType == bgtTopLeftBitmap) {
        // The colour around a top-left picture continues its bottom-right corner.
        const std::uint8_t* p = FBkImage->ScanLine(FBkImage->Height() - 1) + 4 * (FBkImage->Width() - 1);
        color = static_cast<TColor>(RGB(p[2], p[1], p[0]));
      }
      PaintBitmapBackground(dc, area, reference, FBackgroundType, FBkImage->Handle(), color, at);
      return;
    }
    default: {
      TRect g = reference;
      if (!direct) OffsetRect(&g, -origin.x, -origin.y);
      // Steps beyond what the gradient can hold are its most, not the low bits of the number.
      const int steps = std::clamp(FGradientSteps, 0, 0xFFFF);
      PaintGradient(dc, g, FGradientStartColor, FGradientEndColor, steps, FBackgroundType - bgtHorzGradient, 0);
      return;
    }
  }
}

bool TCustomKsImageForm::EraseBackground(TMessage& msg) {
  TWinControl* control = GetRealControl();
  if (Designing() || !control) return false;
  if (control->Perform(KSM_IMAGEFORM_OWNERASE) != 0) return false;
  if (!FControl && FBackgroundType == bgtColorFill) return false;
  // A gradient of no steps paints nothing: the control erases itself.
  if (FBackgroundType >= bgtHorzGradient && FGradientSteps <= 0) return false;
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  RECT r{};
  if (GetClipBox(dc, &r) == NULLREGION || IsRectEmpty(&r)) {
    r = control->ClientRect();
    control->Perform(KSM_IMAGEFORM_REFERENCE, 0, reinterpret_cast<LPARAM>(&r));
  }
  PaintBkgnd(dc, r, Point(0, 0), true);
  if (FNoBk) return false;
  msg.Result = 1;
  return true;
}

// ---- hook handlers ------------------------------------------------------------------------------

void TCustomKsImageForm::BroadcastChanged(TWinControl* control) {
  // Every child hears it, whatever an earlier one answered.
  std::vector<TControl*> children;
  for (int i = 0; i < control->ControlCount(); ++i) children.push_back(control->Controls(i));
  for (TControl* child : children)
    if (control->ContainsControl(child)) child->Perform(KSM_IMAGEFORM_CHANGED, 0, 0);
}

void TCustomKsImageForm::ConvertHitTest(TWinControl* control, TMessage& msg) {
  // Only the free client area moves the window: the scroll bars, borders and caption keep their
  // own answers.
  if (msg.Result != HTCLIENT) return;
  const POINT screen = MessagePoint(msg.LParam);
  if (FCaptionControl) {
    const TPoint p = FCaptionControl->ScreenToClient(Point(screen.x, screen.y));
    const TRect client = FCaptionControl->ClientRect();
    if (PtInRect(&client, p)) msg.Result = HTCAPTION;
    return;
  }
  const TPoint p = control->ScreenToClient(Point(screen.x, screen.y));
  if (p.x >= 0 && p.y >= 0 && !control->ControlAtPos(p, true, true)) msg.Result = HTCAPTION;
}

void TCustomKsImageForm::ForwardNonClientButton(TWinControl* control, const TMessage& msg) {
  const POINT screen = MessagePoint(msg.LParam);
  const TPoint p = control->ScreenToClient(Point(screen.x, screen.y));
  WPARAM keys = 0;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  const UINT forwarded = WM_RBUTTONDOWN + (msg.Msg - WM_NCRBUTTONDOWN);
  SendMessageW(control->Handle(), forwarded, keys, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

void TCustomKsImageForm::HookBeforeProcess(TObject*, TMessage& msg, bool& handled) {
  if (Designing()) return;
  if (msg.Msg == WM_SIZE) FNoBk = true;
  else if (msg.Msg == WM_ERASEBKGND && GetRealControl()) handled = EraseBackground(msg);
}

void TCustomKsImageForm::HookAfterProcess(TObject*, TMessage& msg, bool&) {
  TWinControl* control = GetRealControl();
  if (Designing() || !control) return;
  const bool hasWindow = control->HandleAllocated();
  switch (msg.Msg) {
    case WM_NCHITTEST:
      if (FMoveForm && !IsSizingBorder(msg.Result)) ConvertHitTest(control, msg);
      return;
    case WM_SIZE:
      FNoBk = false;
      if (hasWindow) InvalidateRect(control->Handle(), nullptr, TRUE);
      UpdateBackgroundCache();
      BroadcastChanged(control);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (hasWindow) InvalidateRect(control->Handle(), nullptr, FALSE);
      BroadcastChanged(control);
      return;
    case kPaletteChanged:
      if (hasWindow) InvalidateRect(control->Handle(), nullptr, TRUE);
      return;
    default:
      if (msg.Msg >= WM_NCRBUTTONDOWN && msg.Msg <= WM_NCRBUTTONDOWN + 5 && FMoveForm && !FCaptionControl)
        ForwardNonClientButton(control, msg);
  }
}

}  // namespace kestrel
