#pragma once
// TSmoothWin8Marquee: an indeterminate busy indicator — a row of bullets that sweeps across the
// control from left to right, bunched in the middle and spreading apart near the edges, over a
// background painted with a fill. A 10 ms timer advances the sweep while the control is showing;
// a marquee that is hidden (itself or an ancestor) has its timer stopped, so it costs no
// wake-ups, and picks up where it was as soon as it shows again.

#include <functional>
#include <memory>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/Timer.h"
#include "smooth/GDIPFill.h"
#include "smooth/MarqueeBackdrop.h"
#include "smooth/SmoothStyle.h"
#include "smooth/SmoothWin8MarqueeBullets.h"

namespace kestrel {

using TSmoothWin8MarqueeCustomBulletShape =
    std::function<void(TObject* Sender, platform::TGPGraphics* AGraphics, int ABulletIndex, platform::TGPRectF& ARect)>;

class TSmoothWin8Marquee : public TCustomControl, public ISmoothStyle, public ISmoothTones {
  KESTREL_CLASS(TSmoothWin8Marquee)
  explicit TSmoothWin8Marquee(TComponent* owner);
  ~TSmoothWin8Marquee() override;

  // Copies another marquee's bullets and fill (not its animation values), then repaints.
  using TCustomControl::Assign;
  void Assign(const TPersistent* source) override;

  TGDIPFill* Fill() const { return FFill.get(); }
  void SetFill(TGDIPFill* value);
  TSmoothWin8MarqueeBullets* Bullets() const { return FBullets.get(); }
  void SetBullets(TSmoothWin8MarqueeBullets* value);

  // A progress bar of unknown extent, busy while it animates on screen.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

  bool Animate() const { return FAnimate; }
  void SetAnimate(bool value);
  // The divisor of each tick's step. 0 (and values that are not finite) would make every step
  // undefined; they are refused and the old value kept.
  float AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(float value);
  float AnimationStep() const { return FAnimationStep; }
  // A step that is not a finite number is ignored: it would freeze the animation.
  void SetAnimationStep(float value);
  float AnimationStretchFactor() const { return FAnimationStretchFactor; }
  void SetAnimationStretchFactor(float value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

  // The sweep position in pixels. Past Width/2 + row/2 it wraps to -(Width/2 + row/2).
  float Position() const { return FPosition; }
  void SetPosition(float value);
  void Step(float AValue) { SetPosition(FPosition + AValue); }

  // Where each bullet is drawn now (empty when there is nothing to draw).
  std::vector<platform::TGPRectF> BulletRects() const;

  // Whether the animation timer is running (it runs only while Animate is on and the control
  // is showing).
  bool TimerRunning() const { return FAnimationTimer->Enabled(); }

  void SetComponentStyle(TSmoothStyle AStyle) override;
  TSmoothStyle GetComponentStyle() const override { return FSmoothStyle; }
  void SetColorTones(const TColorTones& ATones) override;
  void SetParent(TWinControl* value) override;

  TSmoothWin8MarqueeCustomBulletShape OnCustomBulletShape;

  // "SmoothStyle": the style index, always written; reading it restores only the index.
  void DefineProperties(TFiler& filer) override;

 protected:
  void Paint() override;
  void PaintWindow(platform::HDC dc) override;
  void EraseBackground(platform::HDC dc) override;
  void WndProc(TMessage& message) override;
  // One step of the sweep (the timer's tick).
  void AnimationTimer(TObject* Sender);

 private:
  bool Designing() const;
  void UpdateTimer();
  void PaintParentBackground(platform::HDC dc);
  // Paints a tick's repaint straight on the window; false when the paint needs the buffer.
  bool PaintBulletsInPlace();
  bool OnlyBulletsIn(const TRect& area) const;
  // Paints the parent's image and the fill as the backdrop anew; false if no picture could be made.
  bool PaintBackdrop(platform::HDC reference);
  void PaintFill(platform::TGPGraphics& graphics);
  void InvalidateBullets(const TRect& before);
  // Moves the bullets as `ticks` timer ticks would have (after a time hidden).
  void CatchUp(platform::DWORD ticks);
  // The on-screen box around the bullets (with their anti-aliased edges), empty when none shows.
  TRect VisibleBulletArea() const;
  void ForEachBullet(const std::function<void(const platform::TGPRectF&)>& visit) const;
  void DrawBullets(platform::TGPGraphics& graphics);

  std::unique_ptr<TGDIPFill> FFill;
  std::unique_ptr<TSmoothWin8MarqueeBullets> FBullets;
  std::unique_ptr<TTimer> FAnimationTimer;
  float FPosition = 0;
  float FAnimationFactor = 3;
  float FAnimationStep = 10;
  float FAnimationStretchFactor = 1.7f;
  bool FAnimate = true;
  bool FTransparent = false;
  TSmoothStyle FSmoothStyle = tsOffice2003Blue;
  MarqueeBackdrop backdrop_;
  TRect bulletArea_{};   // invalidated for moving bullets since the last paint
  bool hidden_ = false;  // the animation stopped because the control is not showing
  platform::DWORD hiddenSince_ = 0;
  bool backdropCopied_ = false;  // while painting: the fill is already there
};

}  // namespace kestrel
