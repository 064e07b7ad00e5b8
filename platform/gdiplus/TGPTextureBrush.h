#pragma once
// An image repeated from the world origin (texel (0, 0) on pixel (0, 0)), by wrap mode; clamp
// paints the image once and nothing around it. The brush keeps its own copy of the pixels.

#include "platform/gdiplus/TGPBrush.h"
#include "platform/gdiplus/TGPImage.h"

namespace kestrel::platform {

class TGPTextureBrush : public TGPBrush {
 public:
  explicit TGPTextureBrush(const TGPImage* image, WrapMode wrapMode = WrapModeTile);
  // Uses only the part (x, y, width, height) of the image.
  TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, REAL x, REAL y, REAL width, REAL height);
  TGPTextureBrush(const TGPTextureBrush& other);
  TGPTextureBrush& operator=(const TGPTextureBrush&) = delete;
  ~TGPTextureBrush() override;

  BrushType GetType() const override { return BrushTypeTextureFill; }
  std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPTextureBrush>(*this); }
  cairo_pattern_t* CreatePattern(const PatternContext& context) const override;

  TStatus SetWrapMode(WrapMode mode);
  WrapMode GetWrapMode() const { return wrap_; }
  UINT ImageWidth() const;
  UINT ImageHeight() const;

 private:
  CairoSurface tile_;
  WrapMode wrap_;
};

}  // namespace kestrel::platform
