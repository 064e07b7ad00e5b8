#pragma once
// TBrush: colour and style of fills.

#include "framework/GraphicsObject.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  KESTREL_CLASS(TBrush)
  TBrush() = default;
  ~TBrush() override = default;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  TColor Color() const { return color_; }
  // clNone makes the brush clear.
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

  platform::HBRUSH Handle() const { return static_cast<platform::HBRUSH>(CachedHandle()); }

 protected:
  void* MakeHandle() const override;
  bool HandleIsStale() const override { return IsSystemColor(color_) && ColorToRGB(color_) != madeRgb_; }

 private:
  mutable platform::COLORREF madeRgb_ = 0;
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

}  // namespace kestrel
