#pragma once
// TPen: colour, width and style of lines and outlines.

#include "framework/GraphicsObject.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
  KESTREL_CLASS(TPen)
  TPen() = default;
  ~TPen() override = default;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  // Widths below 1 become 1.
  void SetWidth(int value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);

  platform::HPEN Handle() const { return static_cast<platform::HPEN>(CachedHandle()); }

 protected:
  void* MakeHandle() const override;
  bool HandleIsStale() const override { return IsSystemColor(color_) && ColorToRGB(color_) != madeRgb_; }

 private:
  mutable platform::COLORREF madeRgb_ = 0;
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
};

}  // namespace kestrel
