#pragma once
// TCustomKsImageForm / TKsImageForm: a non-visual component that gives one windowed control (its
// Control, or else the form owning it — the real control) a background of any
// TVnBackgroundType, shares the matching piece of that background with child controls that
// borrow it (PaintBkgnd), shapes the window after a picture (FormImage, ChangeFormRegion) and
// lets the user drag the window by its free client area or a caption control (MoveForm).
// It sees the real control's messages through a TKsHook.

#include <memory>
#include <vector>

#include "controls/DrawingTypes.h"
#include "controls/ImgFormChangeLink.h"
#include "controls/KsComponent.h"
#include "controls/KsHook.h"
#include "framework/Bitmap.h"
#include "framework/Image.h"
#include "framework/WinControl.h"

namespace kestrel {

// Broadcast to the real control's children after it was resized or scrolled.
constexpr platform::UINT KSM_IMAGEFORM_CHANGED = 7413;
// Asked of the real control before erasing it: non-zero means it paints its own background.
constexpr platform::UINT KSM_IMAGEFORM_OWNERASE = 7415;
// Sent to the real control with lParam = the reference rectangle, which it may change.
constexpr platform::UINT KSM_IMAGEFORM_REFERENCE = 2350;

class TCustomKsImageForm : public TKsComponent {
  KESTREL_CLASS(TCustomKsImageForm)
  explicit TCustomKsImageForm(TComponent* owner);
  ~TCustomKsImageForm() override;

  // Paints the background for `r` (real-control client coordinates) into `dc`; the background
  // point (x, y) lands at (x - origin.x, y - origin.y). `direct` only for the image form's own
  // erasing. Without a real control nothing is painted.
  void PaintBkgnd(platform::HDC dc, const TRect& r, TPoint origin, bool direct);
  TWinControl* GetRealControl() const;
  void RegisterChanges(TImgFormChangeLink* link);
  void UnregisterChanges(TImgFormChangeLink* link);

  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  bool StretchFormRegion() const { return FStretchRegion; }
  void SetStretchFormRegion(bool value);
  TControl* CaptionControl() const { return FCaptionControl; }
  void SetCaptionControl(TControl* value);
  bool ChangeFormRegion() const { return FChangeRegion; }
  void SetChangeFormRegion(bool value);
  TImage* FormImage() const { return FImage; }
  void SetFormImage(TImage* value);
  bool MoveForm() const { return FMoveForm; }
  void SetMoveForm(bool value) { FMoveForm = value; }
  TBitmap* Background() const { return FBkImage.get(); }
  void SetBackground(const TBitmap* value);
  TVnBackgroundType BackgroundType() const { return FBackgroundType; }
  void SetBackgroundType(TVnBackgroundType value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor value);
  int GradientSteps() const { return FGradientSteps; }
  void SetGradientSteps(int value);

  // The region applied to the real control's window now (null when it is rectangular).
  platform::HRGN Region() const { return FRegion; }
  // The stretched background kept for bgtStretchBitmap (null otherwise).
  TBitmap* CacheBackground() const { return cacheBackground_.get(); }

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Tells every registered link, in registration order.
  void Changed() override;

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool LoadingOrReading() const;
  bool IsGradient() const;
  TControl* HookedControl() const;
  void InvalidateHooked();
  TColor DefaultTransparentColor() const;
  bool FormImageEmpty() const;
  void CreateMoveHook();
  void FreeMoveHook();
  void CreateFormRegion();
  void RemoveFormRegion();
  void UpdateBackgroundCache();
  void BackgroundChanged(TObject* sender);
  void ImageChanged(TObject* sender);
  bool EraseBackground(TMessage& msg);
  void BroadcastChanged(TWinControl* control);
  void ConvertHitTest(TWinControl* control, TMessage& msg);
  void ForwardNonClientButton(TWinControl* control, const TMessage& msg);
  void HookBeforeProcess(TObject* sender, TMessage& msg, bool& handled);
  void HookAfterProcess(TObject* sender, TMessage& msg, bool& handled);

  TControl* FCaptionControl = nullptr;
  bool FChangeRegion = false;
  std::unique_ptr<TBitmap> FBkImage;
  TImage* FImage = nullptr;
  bool FMoveForm = false;
  TKsHook* FMoveHook = nullptr;  // owned as a component of this one
  TNotifyEvent FOldImageEvent;
  platform::HRGN FRegion = nullptr;
  TVnBackgroundType FBackgroundType = bgtColorFill;
  int FGradientSteps = 16;
  TColor FGradientStartColor = clBlack;
  TColor FGradientEndColor = clBlack;
  bool FNoBk = false;
  TChangeLinkList FCLients{this};
  std::unique_ptr<TBitmap> cacheBackground_;
  bool FStretchRegion = false;
  TWinControl* FControl = nullptr;
  TColor FTransparentColor = clBlack;
};

class TKsImageForm : public TCustomKsImageForm {
  KESTREL_CLASS(TKsImageForm)
  explicit TKsImageForm(TComponent* owner) : TCustomKsImageForm(owner) {}
};

}  // namespace kestrel
